#pragma once
// A tree grid's selected rows as text, in one of the MIBSelectionType
// formats. Column 0 holds the node text, column 1 the OID. Rows inside a
// collapsed node are skipped; each line is indented by its level below the
// first selected row (a row above that level is not indented) and ends
// with CR LF. Names come from one work OID object per call, pointed at each
// row's column 1; a row that fails is still written with what it has.

#include <string>

#include "qlmib/tree/MIBSelectionType.h"

namespace qlmib {

namespace ui {
class GridModel;
}

enum class SelectionDialect {
    Tree,      // MIBTree, SingleMIBTree
    MIBXTree,  // no "OID_" prefixes in formats 9 and 10, empty lines in format 8
};

// A type outside 0 to 10 gives an empty line per visible row.
std::string Selection(const ui::GridModel& tree, MIBSelectionType SelectionType = MIBSelection_Text,
                      SelectionDialect dialect = SelectionDialect::Tree);

}  // namespace qlmib
