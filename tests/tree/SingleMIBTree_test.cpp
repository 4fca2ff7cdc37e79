// SingleMIBTree: one module's branches, its pictures and progress, row and
// OID access, deleting objects, its short details and MIBTreeCommon.

#include <gtest/gtest.h>

#include <qlmib/mibdata/Globals.h>
#include <qlmib/tree/SearchMIBTreeForm.h>
#include <qlmib/tree/SingleMIBTree.h>

#include "TreeControlFixture.h"

namespace qlmib {
namespace {

std::vector<std::string> modulesOf(const std::string& oid) {
    auto q = SharedDatabase().prepare("SELECT MIB FROM Tree WHERE OID = ?1 ORDER BY MIB");
    q.bind(1, oid);
    std::vector<std::string> modules;
    while (q.step()) modules.push_back(q.text(0));
    return modules;
}

using SingleMIBTreeTest = test::TreeControlFixture<SingleMIBTree>;

TEST_F(SingleMIBTreeTest, AModuleShowsOnlyTheBranchesToItsObjectsOpenWithForeignFoldersGrey) {
    std::vector<std::string> shown;  // the captions while the panel shows
    subscriptions.push_back(tree.StatusMessage.Changed.subscribe([&] {
        if (tree.StatusMessage.getVisible()) shown.push_back(tree.StatusMessage.getCaption());
    }));
    tree.setMIB(test::kQuoteModule);
    EXPECT_EQ(test::dump(tree.Tree), (std::vector<std::string>{
                                         "0 O:0 ccitt (0) folder-gray",
                                         "0 O:1 iso (1) folder-gray +",
                                         "1 O:1.3 org (3) folder-gray +",
                                         "2 O:1.3.6 dod (6) folder-gray +",
                                         "3 O:1.3.6.1 internet (1) folder-gray +",
                                         "4 O:1.3.6.1.4 private (4) folder-gray +",
                                         "5 O:1.3.6.1.4.1 enterprises (1) folder-gray +",
                                         "6 O:1.3.6.1.4.1.9999 acme (9999) 1.3.6.1.4.1.9999 +",
                                         "7 O:1.3.6.1.4.1.9999.1 acmeObjects (1) folder-closed +",
                                         "8 O:1.3.6.1.4.1.9999.1.2 acmeTable (2) table +",
                                         "9 O:1.3.6.1.4.1.9999.1.2.3 acmeEntry (3) key +",
                                         "10 O:1.3.6.1.4.1.9999.1.2.3.4 o'brien\"s (4) leaf",
                                         "7 O:1.3.6.1.4.1.9999.2 acmeBadIcon (2) folder-closed",
                                     }));
    ASSERT_GE(shown.size(), 2u);
    EXPECT_EQ(shown.front(), "Loading 'O'REILLY\"MIB' ... ");
    EXPECT_EQ(shown.back(), "Loading 'O'REILLY\"MIB' ... 14") << "progress in grid rows";
    EXPECT_FALSE(tree.StatusMessage.getVisible());
    EXPECT_EQ(selected.size(), 1u) << "the current row is handled once, after loading";
    EXPECT_GE(tree.Tree.getColWidth(0), toolkit.fontMetrics().TextWidth("o'brien\"s (4)", tree.Tree.getFont()) +
                                            11 * 240)
        << "columns sized to their contents, outline indent included";

    tree.Tree.setRow(row("1.3.6.1.4.1.9999.1.2.3.4"));
    EXPECT_EQ(tree.Details.getText().substr(0, 26), "O'REILLY\"MIB:o'brien\"s\r\n\r\n");
    EXPECT_EQ(selected.back(), "1.3.6.1.4.1.9999.1.2.3.4");
    tree.SelectOID("1.3.6.1.2.1.1.1");
    EXPECT_EQ(tree.Tree.getRow(), row("1.3.6.1.2.1.1.1")) << "SelectOID loads the branch of an object outside it";
    EXPECT_LT(row("1.3.6.1.2.1.2"), 0) << "only the branch to it";
    EXPECT_EQ(tree.getSelectedOID()->getOID(), "1.3.6.1.2.1.1.1");

    tree.setMIB("NO-SUCH-MIB");
    EXPECT_EQ(test::dump(tree.Tree), (std::vector<std::string>{"0 O:0 ccitt (0) folder-gray",
                                                               "0 O:1 iso (1) folder-gray"}));
}

TEST_F(SingleMIBTreeTest, SiblingsInOrderSelectAllTakesTheHeaderRowAndItsOwnDetailsAreShort) {
    tree.setMIB("IF-MIB");
    tree.SelectAll();
    EXPECT_EQ(tree.getSelection(MIBSelection_MIBTree),
              "Name\r\nccitt (0)\r\niso (1)\r\n\torg (3)\r\n\t\tdod (6)\r\n\t\t\tinternet (1)\r\n\t\t\t\tmgmt (2)\r\n"
              "\t\t\t\t\tmib-2 (1)\r\n\t\t\t\t\t\tinterfaces (2)\r\n\t\t\t\t\t\t\tifNumber (1)\r\n"
              "\t\t\t\t\t\t\tifTable (2)\r\n\t\t\t\t\t\t\t\tifEntry (1)\r\n\t\t\t\t\t\t\t\t\tifIndex (1)\r\n"
              "\t\t\t\t\t\t\t\t\tifDescr (2)\r\n\t\t\t\t\t\t\t\t\tifAdminStatus (7)\r\n");
    EXPECT_TRUE(tree.OIDinMIB("1.3.6.1.2.1.2.2"));
    EXPECT_FALSE(tree.OIDinMIB("1.3.6.1.2.1")) << "mib-2 is SNMPv2-SMI's";
    EXPECT_EQ(tree.LookupOID(row("1.3.6.1.2.1.2.2.1"))->getFullName(), "IF-MIB:ifEntry");

    tree.setRow(-5);
    EXPECT_EQ(tree.getRow(), 0) << "row and column are clamped to the grid";
    tree.setRow(99);
    EXPECT_EQ(tree.getRow(), tree.Tree.getRows() - 1);
    tree.setCol(9);
    EXPECT_EQ(tree.getCol(), 1);

    // Its own details are short, through the interface full.
    tree.Tree.setRow(row("1.3.6.1.2.1.2.2.1.7"));
    const auto& details = tree.Details.getText();
    EXPECT_EQ(details, "IF-MIB:ifAdminStatus\r\n\r\nOID \t1.3.6.1.2.1.2.2.1.7\r\nType \tINTEGER\r\n"
                       "Access \tread-write\r\nStatus \tcurrent\r\n\r\nThe desired state of the interface.\r\n");
    EXPECT_EQ(selected.back(), "1.3.6.1.2.1.2.2.1.7");

    OID status;
    status.setOID("1.3.6.1.2.1.2.2.1.7");
    EXPECT_EQ(tree.GetOIDDetails(status), details);
    MIBTreeCommon& common = tree;
    const auto full = common.GetOIDDetails(status);
    EXPECT_NE(full.find("Units \tstates\r\n"), std::string::npos);
    EXPECT_NE(full.find("Possible Values :\r\n    up(1)\r\n"), std::string::npos);
    EXPECT_NE(tree.GetOIDDetails_RTF(status), common.GetOIDDetailsRTF(status));

    tree.Details.UserMouseDown(ui::RightButton, 0, 0, 0);
    EXPECT_TRUE(toolkit.Popups().empty()) << "no copy or print menu on this pane";
    tree.SearchMIBTree();
    const auto* search = dynamic_cast<const SearchMIBTreeForm*>(toolkit.WindowsShown().at(0).window);
    EXPECT_FALSE(search->Show_Button.getEnabled()) << "its own search window has no tree";
    common.Clear();
    EXPECT_EQ(tree.Tree.getRows(), 0);
    EXPECT_EQ(tree.Details.Length(), 0);
}

TEST_F(SingleMIBTreeTest, DeletingSelectedRowsRemovesOnlyThisModulesRowsAndLeavesTheGrid) {
    tree.setMIB("SNMPv2-MIB");
    const auto descr = row("1.3.6.1.2.1.1.1");
    tree.Tree.Select(descr, 0, descr + 1, 0);
    const auto rows = test::dump(tree.Tree);
    tree.DeleteSelectedMIBs();
    EXPECT_EQ(modulesOf("1.3.6.1.2.1.1.1"), std::vector<std::string>{"RFC1213-MIB"});
    EXPECT_TRUE(modulesOf("1.3.6.1.2.1.1.2").empty());
    EXPECT_EQ(modulesOf("1.3.6.1.2.1.1"), std::vector<std::string>{"SNMPv2-MIB"});
    EXPECT_EQ(test::dump(tree.Tree), rows);
    tree.Refresh();
    EXPECT_LT(row("1.3.6.1.2.1.1.2"), 0);

    tree.setMIB(test::kQuoteModule);
    tree.DeleteOID("1.3.6.1.4.1.9999.1.2.3.4");
    EXPECT_TRUE(modulesOf("1.3.6.1.4.1.9999.1.2.3.4").empty());
}

TEST_F(SingleMIBTreeTest, AnEmptyTreeIgnoresARowAndALoadCannotBeReentered) {
    EXPECT_NO_THROW(tree.setRow(3));
    EXPECT_EQ(tree.Tree.getRows(), 0);

    SingleMIBTree plain(toolkit);
    plain.setMIB(test::kQuoteModule);
    // Window events run inside the load; one of them asks for another module.
    bool asked = false;
    subscriptions.push_back(tree.StatusMessage.Changed.subscribe([&] {
        if (asked || !tree.StatusMessage.getVisible()) return;
        asked = true;
        tree.setMIB("IF-MIB");
        tree.Refresh();
    }));
    tree.setMIB(test::kQuoteModule);
    EXPECT_TRUE(asked);
    EXPECT_EQ(tree.getMIB(), test::kQuoteModule);
    EXPECT_EQ(test::dump(tree.Tree), test::dump(plain.Tree));
}

}  // namespace
}  // namespace qlmib
