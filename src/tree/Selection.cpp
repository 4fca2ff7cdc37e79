#include "Selection.h"

#include <algorithm>
#include <optional>

#include "qlmib/common/Error.h"
#include "qlmib/mibdata/Database.h"
#include "qlmib/mibdata/Globals.h"
#include "qlmib/mibdata/OID.h"
#include "qlmib/ui/GridModel.h"

namespace qlmib {
namespace {

bool readsGridOnly(MIBSelectionType type) {
    return type == MIBSelection_Text || type == MIBSelection_OIDList || type == MIBSelection_MIBTree;
}

bool known(MIBSelectionType type) { return type >= MIBSelection_Text && type <= MIBSelection_VBConstants; }

std::string quoted(const std::string& text) { return '"' + text + '"'; }

// Formats 0, 1 and 4: the grid's texts.
std::string gridLine(const ui::GridModel& tree, std::int32_t row, const ui::CellRange& s, MIBSelectionType type,
                     std::int32_t indent) {
    switch (type) {
        case MIBSelection_Text: {
            std::string text;
            for (auto c = s.col1; c <= s.col2; ++c) {
                if (c > s.col1) text += '\t';
                text += tree.getTextMatrix(row, c);
            }
            return text;
        }
        case MIBSelection_OIDList: return tree.getTextMatrix(row, 1);
        default: return std::string(static_cast<size_t>(indent), '\t') + tree.getTextMatrix(row, 0);
    }
}

// The other formats: names of the object the row stands for.
std::string objectLine(const OID& o, MIBSelectionType type, SelectionDialect dialect) {
    const bool mibx = dialect == SelectionDialect::MIBXTree;
    switch (type) {
        case MIBSelection_NamesAndOIDs: return o.getName() + '\t' + o.getOID();
        case MIBSelection_OIDsAndNames: return o.getOID() + '\t' + o.getName();
        case MIBSelection_FullNames: return o.getFullName();
        case MIBSelection_FullNamesAndOIDs: return o.getFullName() + '\t' + o.getOID();
        case MIBSelection_OIDsAndFullnames: return o.getOID() + '\t' + o.getFullName();
        case MIBSelection_LongNames: return mibx ? std::string() : o.getLongName();
        case MIBSelection_CDefines:
            return "#define\t" + std::string(mibx ? "" : "OID_") + o.getName() + '\t' + quoted(o.getOID());
        case MIBSelection_VBConstants:
            return std::string(mibx ? "Global Const" : "Global Const ") + '\t' + (mibx ? "" : "OID_") + o.getName() +
                   "\t= " + quoted(o.getOID());
        default: return {};
    }
}

}  // namespace

std::string Selection(const ui::GridModel& tree, MIBSelectionType SelectionType, SelectionDialect dialect) {
    std::string text;
    IgnoringErrors([&] {
        const auto s = tree.GetSelection();
        if (s.row1 < 0) return;
        const auto base = tree.getRowOutlineLevel(s.row1);
        auto limit = base;
        std::optional<OID> work;  // one object for the whole call, made when a format first needs it
        std::optional<ReadBatch> batch;
        for (auto row = s.row1; row <= s.row2; ++row) {
            IgnoringErrors([&] {
                const auto level = tree.getRowOutlineLevel(row);
                if (level > limit) return;  // inside a collapsed node
                limit = tree.getIsCollapsed(row) ? level : static_cast<std::int16_t>(level + 1);
                std::string line;
                if (readsGridOnly(SelectionType)) {
                    IgnoringErrors([&] { line = gridLine(tree, row, s, SelectionType, std::max(level - base, 0)); });
                } else if (known(SelectionType)) {
                    IgnoringErrors([&] {
                        if (!work) {
                            work.emplace();
                            batch.emplace(SharedDatabase());
                        }
                        work->setOID(tree.getTextMatrix(row, 1));
                    });
                    if (work) IgnoringErrors([&] { line = objectLine(*work, SelectionType, dialect); });
                }
                text += line + "\r\n";
            });
        }
    });
    return text;
}

}  // namespace qlmib
