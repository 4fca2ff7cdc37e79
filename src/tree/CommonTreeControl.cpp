#include "CommonTreeControl.h"

#include <algorithm>

#include "qlmib/common/Error.h"
#include "qlmib/mibdata/Database.h"
#include "qlmib/mibdata/Globals.h"
#include "qlmib/mibdata/OID.h"

namespace qlmib {

void CommonTreeControl::SelectOID(const std::string& oid) {
    std::int32_t row = -1;
    Tree.setRedraw(ui::RedrawNone);
    IgnoringErrors([&] {
        ReadBatch batch(SharedDatabase());
        loadPath(oid);
        row = Tree.FindRow("O:" + oid);
        for (auto above = row; above >= 0;) {
            above = Tree.ParentRow(above);
            if (above >= 0 && Tree.getIsCollapsed(above)) Tree.setIsCollapsed(above, false);
        }
    });
    Tree.setRedraw(ui::RedrawBuffered);
    if (row < 0) return;
    IgnoringErrors([&] {
        Tree.ShowCell(row, std::max(Tree.getCol(), 0));
        Tree.setRow(row);
        getSelectedOID()->setOID(oid);
    });
}

std::string CommonTreeControl::GetOIDDetailsRTF(const OID& oid) { return composeDetails(oid, DetailsLayout::Tree, true); }

std::string CommonTreeControl::CommonOIDDetails(const OID& oid) {
    return composeDetails(oid, DetailsLayout::Tree, false);
}

}  // namespace qlmib
