#include <gtest/gtest.h>

#include <qlmib/tree/Selection.h>
#include <qlmib/ui/GridModel.h>

#include "MibFixture.h"

namespace qlmib {
namespace {

// The grid of a tree control: a header row, "name (index)" and the OID.
//   row 1 system (1)          level 0
//   row 2   sysDescr (1)      level 1
//   row 3   sysObjectID (2)   level 1
//   row 4 interfaces (2)      level 0, collapsed
//   row 5   ifTable (2)       level 1
//   row 6     ifEntry (1)     level 2
//   row 7 unknown (9)         level 0, OID not in the database
class SelectionTest : public test::MibFixture {
protected:
    void SetUp() override {
        MibFixture::SetUp();
        grid.setCols(2);
        grid.setFixedRows(1);
        grid.AddItem("Name\tOID");
        const auto add = [&](std::int32_t parent, const char* text, const char* oid) {
            const auto row = grid.AddNode(parent, text, std::string("O:") + oid);
            grid.setTextMatrix(row, 1, oid);
            return row;
        };
        const auto system = add(-1, "system (1)", "1.3.6.1.2.1.1");
        add(system, "sysDescr (1)", "1.3.6.1.2.1.1.1");
        add(system, "sysObjectID (2)", "1.3.6.1.2.1.1.2");
        const auto interfaces = add(-1, "interfaces (2)", "1.3.6.1.2.1.2");
        const auto table = add(interfaces, "ifTable (2)", "1.3.6.1.2.1.2.2");
        add(table, "ifEntry (1)", "1.3.6.1.2.1.2.2.1");
        add(-1, "unknown (9)", "2.9");
        grid.setIsCollapsed(interfaces, true);
    }
    std::string select(std::int32_t row1, std::int32_t row2, MIBSelectionType type, std::int32_t col1 = 0,
                       std::int32_t col2 = 0) {
        grid.Select(row1, col1, row2, col2);
        return Selection(grid, type);
    }
    ui::GridModel grid;
};

TEST_F(SelectionTest, EveryFormatOfOneRowOrOfAnOpenedNodeAndItsChildren) {
    struct Case {
        std::int32_t row1, row2;
        MIBSelectionType type;
        const char* text;
        std::int32_t col1 = 0, col2 = 0;
    };
    const Case cases[] = {
        {2, 2, MIBSelection_CDefines, "#define\tOID_sysDescr\t\"1.3.6.1.2.1.1.1\"\r\n"},
        {2, 3, MIBSelection_Text, "sysDescr (1)\t1.3.6.1.2.1.1.1\r\nsysObjectID (2)\t1.3.6.1.2.1.1.2\r\n", 0, 1},
        {2, 2, MIBSelection_Text, "1.3.6.1.2.1.1.1\r\n", 1, 1},
        {1, 3, MIBSelection_MIBTree, "system (1)\r\n\tsysDescr (1)\r\n\tsysObjectID (2)\r\n"},
        {1, 2, MIBSelection_Text, "system (1)\r\nsysDescr (1)\r\n"},
        {1, 2, MIBSelection_OIDList, "1.3.6.1.2.1.1\r\n1.3.6.1.2.1.1.1\r\n"},
        {1, 2, MIBSelection_NamesAndOIDs, "system\t1.3.6.1.2.1.1\r\nsysDescr\t1.3.6.1.2.1.1.1\r\n"},
        {1, 2, MIBSelection_OIDsAndNames, "1.3.6.1.2.1.1\tsystem\r\n1.3.6.1.2.1.1.1\tsysDescr\r\n"},
        {1, 2, MIBSelection_FullNames, "SNMPv2-MIB:system\r\nSNMPv2-MIB:sysDescr\r\n"},
        {1, 2, MIBSelection_FullNamesAndOIDs,
         "SNMPv2-MIB:system\t1.3.6.1.2.1.1\r\nSNMPv2-MIB:sysDescr\t1.3.6.1.2.1.1.1\r\n"},
        {1, 2, MIBSelection_OIDsAndFullnames,
         "1.3.6.1.2.1.1\tSNMPv2-MIB:system\r\n1.3.6.1.2.1.1.1\tSNMPv2-MIB:sysDescr\r\n"},
        {1, 2, MIBSelection_LongNames,
         "iso.org.dod.internet.mgmt.mib-2.system\r\niso.org.dod.internet.mgmt.mib-2.system.sysDescr\r\n"},
        {1, 2, MIBSelection_VBConstants,
         "Global Const \tOID_system\t= \"1.3.6.1.2.1.1\"\r\nGlobal Const \tOID_sysDescr\t= \"1.3.6.1.2.1.1.1\"\r\n"},
        {1, 2, static_cast<MIBSelectionType>(11), "\r\n\r\n"},
        {1, 2, static_cast<MIBSelectionType>(-1), "\r\n\r\n"},
        // A row whose OID is not in the database is still written; the work
        // object does not keep the previous row's names.
        {7, 7, MIBSelection_NamesAndOIDs, "\t\r\n"},
        {3, 7, MIBSelection_FullNames, "SNMPv2-MIB:sysObjectID\r\nIF-MIB:interfaces\r\n\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(select(c.row1, c.row2, c.type, c.col1, c.col2), c.text) << c.row1 << "-" << c.row2 << ": " << c.type;
    EXPECT_EQ(Selection(ui::GridModel(), MIBSelection_MIBTree), "") << "an empty grid selects nothing";
}

TEST_F(SelectionTest, CollapsedNodesHideTheirChildrenAndIndentationIsRelativeToTheFirstRow) {
    EXPECT_EQ(select(4, 4, MIBSelection_MIBTree), "interfaces (2)\r\n");
    EXPECT_EQ(select(1, 7, MIBSelection_MIBTree),
              "system (1)\r\n\tsysDescr (1)\r\n\tsysObjectID (2)\r\ninterfaces (2)\r\nunknown (9)\r\n");
    grid.setIsCollapsed(4, false);
    EXPECT_EQ(select(5, 6, MIBSelection_MIBTree), "ifTable (2)\r\n\tifEntry (1)\r\n") << "starting inside a subtree";
    // From a deep row up to shallower ones: those lines get no indentation.
    EXPECT_EQ(select(6, 7, MIBSelection_MIBTree), "ifEntry (1)\r\nunknown (9)\r\n");
    EXPECT_EQ(select(3, 5, MIBSelection_MIBTree), "sysObjectID (2)\r\ninterfaces (2)\r\nifTable (2)\r\n")
        << "ifTable is as deep as the first row";
    grid.setIsCollapsed(5, true);
    EXPECT_EQ(select(4, 6, MIBSelection_MIBTree), "interfaces (2)\r\n\tifTable (2)\r\n")
        << "a collapsed node inside an opened one hides its own children";
}

}  // namespace
}  // namespace qlmib
