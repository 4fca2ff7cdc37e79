#pragma once
// The text formats of a tree's selection (Selection, DragMethod).

#include <cstdint>

namespace qlmib {

enum MIBSelectionType : std::int32_t {
    MIBSelection_Text = 0,               // the selected cells, TAB between columns
    MIBSelection_OIDList = 1,
    MIBSelection_NamesAndOIDs = 2,
    MIBSelection_OIDsAndNames = 3,
    MIBSelection_MIBTree = 4,            // node texts indented by TABs
    MIBSelection_FullNames = 5,
    MIBSelection_FullNamesAndOIDs = 6,
    MIBSelection_OIDsAndFullnames = 7,
    MIBSelection_LongNames = 8,
    MIBSelection_CDefines = 9,           // #define OID_name "oid"
    MIBSelection_VBConstants = 10,       // Global Const OID_name = "oid"
};

}  // namespace qlmib
