#include "CommonTreeControl.h"

#include <algorithm>
#include <vector>

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

void CommonTreeControl::expandNode(const std::string& oid, std::int32_t index, bool wholeLevels) {
    IgnoringErrors([&] {
        ReadBatch batch(SharedDatabase());
        expandLevel(oid, index, wholeLevels);
    });
}

void CommonTreeControl::expandLevel(const std::string& oid, std::int32_t index, bool wholeLevels) {
    auto row = Tree.FindRow("O:" + oid);
    if (row < 0) {
        const auto dot = oid.rfind('.');
        if (dot == std::string::npos) return;
        expandLevel(oid.substr(0, dot), wholeLevels ? 0 : OID::OIDIndex(oid), wholeLevels);
        row = Tree.FindRow("O:" + oid);
        if (row < 0) return;  // not in the database
    }
    Tree.setIsCollapsed(row, false);
    std::vector<TreeNodeRecord> children;
    const bool read = IgnoringErrors([&] {
        auto query = SharedDatabase().query(index > 0 ? Query::TreePrimaryChild : Query::TreePrimaryChildren);
        query.bind(1, oid);
        if (index > 0) query.bind(2, index);
        children = readChildRows(query);
    });
    if (read) addChildren(oid, children);
}

std::string CommonTreeControl::GetOIDDetailsRTF(const OID& oid) { return composeDetails(oid, DetailsLayout::Tree, true); }

std::string CommonTreeControl::CommonOIDDetails(const OID& oid) {
    return composeDetails(oid, DetailsLayout::Tree, false);
}

}  // namespace qlmib
