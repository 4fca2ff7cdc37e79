// MIBTree driven as a user and a host drive it: Refresh, opening nodes,
// SelectOID, moving the current row, keys, clicks, dragging, the details
// pane and its menu, the splitter, and the MIBTreeCommon interface.

#include <gtest/gtest.h>

#include <qlmib/tree/MIBTree.h>
#include <qlmib/tree/OIDDetailsForm.h>

#include "TreeControlFixture.h"

namespace qlmib {
namespace {

class MIBTreeTest : public test::TreeControlFixture<MIBTree> {
protected:
    void SetUp() override {
        TreeControlFixture::SetUp();
        tree.Refresh();
    }
};

const std::vector<std::string> kAfterRefresh = {
    "0 O:0 ccitt (0) folder-closed +",
    "1 O:0.0 zeroDotZero (0) folder-closed",
    "0 O:1 iso (1) folder-closed +",
    "1 O:1.0 std (0) folder-closed -",
    "2 X:O:1.0 Loading ... ",
    "1 O:1.2 member-body (2) folder-closed +",
    "2 O:1.2.840 us (840) folder-closed -",
    "3 X:O:1.2.840 Loading ... ",
    "1 O:1.3 org (3) folder-closed +",
    "2 O:1.3.6 dod (6) folder-closed +",
    "3 O:1.3.6.1 internet (1) folder-closed +",
    "4 O:1.3.6.1.1 directory (1) folder-closed -",
    "5 X:O:1.3.6.1.1 Loading ... ",
    "4 O:1.3.6.1.2 mgmt (2) folder-closed -",
    "5 X:O:1.3.6.1.2 Loading ... ",
    "4 O:1.3.6.1.4 private (4) folder-closed -",
    "5 X:O:1.3.6.1.4 Loading ... ",
    "4 O:1.3.6.1.6 snmpV2 (6) folder-closed -",
    "5 X:O:1.3.6.1.6 Loading ... ",
};

// The dump's lines from a node's row on.
std::vector<std::string> dumpFrom(const ui::GridModel& grid, std::int32_t row, size_t count) {
    const auto lines = test::dump(grid);
    return {lines.begin() + row - 1, lines.begin() + row - 1 + static_cast<std::ptrdiff_t>(count)};
}

TEST_F(MIBTreeTest, RefreshLoadsTheRootsOpensThePathToInternetAndOpeningAFolderLoadsItsChildrenOnce) {
    EXPECT_EQ(test::dump(tree.Tree), kAfterRefresh);
    EXPECT_EQ(tree.Tree.getTextMatrix(row("1.3.6.1"), 1), "1.3.6.1");
    const auto mgmt = row("1.3.6.1.2");
    tree.Tree.ToggleNode(mgmt);
    EXPECT_EQ(tree.Tree.getRow(), mgmt) << "the opened node becomes current";
    EXPECT_EQ(selected, std::vector<std::string>{"1.3.6.1.2"});
    EXPECT_EQ(toolkit.PointerChanges().at(0), ui::PointerHourglass);
    tree.Tree.ToggleNode(row("1.3.6.1.2.1"));
    tree.Tree.ToggleNode(row("1.3.6.1.2.1.2"));
    EXPECT_EQ(dumpFrom(tree.Tree, mgmt, 8), (std::vector<std::string>{
                                                "4 O:1.3.6.1.2 mgmt (2) folder-closed +",
                                                "5 O:1.3.6.1.2.1 mib-2 (1) folder-closed +",
                                                "6 O:1.3.6.1.2.1.1 system (1) folder-closed -",
                                                "7 X:O:1.3.6.1.2.1.1 Loading ... ",
                                                "6 O:1.3.6.1.2.1.2 interfaces (2) folder-closed +",
                                                "7 O:1.3.6.1.2.1.2.1 ifNumber (1) leaf",
                                                "7 O:1.3.6.1.2.1.2.2 ifTable (2) table -",
                                                "8 X:O:1.3.6.1.2.1.2.2  ",
                                            }));

    const auto rows = tree.Tree.getRows();
    tree.Tree.ToggleNode(mgmt);
    EXPECT_TRUE(tree.Tree.getIsCollapsed(mgmt));
    tree.Tree.ToggleNode(mgmt);
    tree.ExpandOID("1.3.6.1.2");
    EXPECT_EQ(tree.Tree.getRows(), rows) << "opening again adds nothing";

    tree.SelectOID("1.3.6.1.6.3.1.1.5.1");
    EXPECT_EQ(tree.Tree.getCellPicture(tree.Tree.getRow(), 0), "trap");
    EXPECT_FALSE(tree.Tree.HasChildren(tree.Tree.getRow()));

    tree.Refresh();
    EXPECT_EQ(test::dump(tree.Tree), kAfterRefresh) << "a second Refresh starts again";
    tree.Clear();
    EXPECT_EQ(tree.Tree.getRows(), 0) << "Clear removes the header row too";
}

TEST_F(MIBTreeTest, SelectOidLoadsEveryLevelOnTheWayAndMakesTheOidCurrent) {
    const std::string target = "1.3.6.1.4.1.9999.1.2.3.4";
    ASSERT_LT(row("1.3.6.1.4.1"), 0);
    tree.SelectOID(target);
    EXPECT_EQ(dumpFrom(tree.Tree, row("1.3.6.1.4.1.9999"), 7),
              (std::vector<std::string>{"6 O:1.3.6.1.4.1.9999 acme (9999) 1.3.6.1.4.1.9999 +",
                                        "7 O:1.3.6.1.4.1.9999.1 acmeObjects (1) folder-closed +",
                                        "8 O:1.3.6.1.4.1.9999.1.2 acmeTable (2) table +",
                                        "9 O:1.3.6.1.4.1.9999.1.2.3 acmeEntry (3) key +",
                                        "10 O:1.3.6.1.4.1.9999.1.2.3.4 o'brien\"s (4) leaf",
                                        "7 O:1.3.6.1.4.1.9999.2 acmeBadIcon (2) folder-closed -",
                                        "8 X:O:1.3.6.1.4.1.9999.2 Loading ... "}));
    EXPECT_FALSE(tree.Tree.getIsCollapsed(row("1.3.6.1.4.1")));
    EXPECT_EQ(tree.Images.Item("1.3.6.1.4.1.9999").Bytes, test::pngHeader(16, 16));
    EXPECT_FALSE(tree.Images.Exists("1.3.6.1.4.1.9999.2")) << "bytes that are no picture";
    EXPECT_EQ(tree.Tree.getRow(), row(target));
    EXPECT_EQ(tree.getSelectedOID()->getName(), "o'brien\"s");
    EXPECT_EQ(tree.getMIBName(), test::kQuoteModule);
    EXPECT_EQ(selected, std::vector<std::string>{target});
    EXPECT_EQ(tree.Tree.getRedraw(), ui::RedrawBuffered);
    EXPECT_EQ(tree.Details.getText().substr(0, 26), "O'REILLY\"MIB:o'brien\"s\r\n\r\n");

    tree.SelectOID("1.3.6.1.4.1.12345");
    EXPECT_EQ(tree.Tree.getRow(), row(target)) << "an OID not in the database changes nothing";
    EXPECT_EQ(selected.size(), 1u);

    tree.Tree.ToggleNode(row("1.3.6.1"));
    tree.SelectOID("1.3.6.1.2.1.1.1");
    EXPECT_FALSE(tree.Tree.getIsCollapsed(row("1.3.6.1"))) << "closed ancestors open again";
    EXPECT_EQ(selected.back(), "1.3.6.1.2.1.1.1");
}

TEST_F(MIBTreeTest, TheCurrentRowStaysOnTheSelectedOidWhenANodeAboveItOpens) {
    const std::string target = "1.3.6.1.2.1.2.2.1.7";
    tree.SelectOID(target);
    ASSERT_EQ(tree.Tree.getRow(), row(target));
    tree.ExpandOID("1.3.6.1.2.1.1");
    ASSERT_GT(row("1.3.6.1.2.1.1.1"), 0) << "system's children are loaded above the current row";
    EXPECT_EQ(tree.Tree.getRowKey(tree.Tree.getRow()), "O:" + target);
    EXPECT_EQ(tree.Tree.GetSelection(), (ui::CellRange{row(target), 0, row(target), 0}));
    EXPECT_EQ(tree.getSelectedOID()->getOID(), target);
}

TEST_F(MIBTreeTest, TheCurrentRowMovesTheBoldMarkShowsDetailsAndSkipsPlaceholders) {
    tree.SelectOID("1.3.6.1.2.1.1.1");
    const auto descr = tree.Tree.getRow();
    const auto rtf = tree.getCurrentOIDDetailsRTF();
    tree.Tree.setRow(row("1.3.6.1.4") + 1);  // private's placeholder
    EXPECT_EQ(selected.size(), 1u);
    EXPECT_EQ(tree.getSelectedOID()->getOID(), "1.3.6.1.2.1.1.1");
    EXPECT_EQ(tree.getCurrentOIDDetailsRTF(), rtf);

    // Loading rows above the marked row must not leave its mark behind.
    tree.Tree.ToggleNode(row("1.2.840"));
    tree.Tree.setRow(row("1.3.6.1.2.1.1.2"));
    EXPECT_NE(descr, row("1.3.6.1.2.1.1.1"));
    EXPECT_FALSE(tree.Tree.getCellFontBold(row("1.3.6.1.2.1.1.1"), 0));
    EXPECT_TRUE(tree.Tree.getCellFontBold(row("1.3.6.1.2.1.1.2"), 0));
    EXPECT_EQ(tree.Tree.getHighLight(), ui::HighLightNever);

    tree.Tree.Select(row("1.3.6.1.2.1.1.1"), 0, row("1.3.6.1.2.1.1.2"), 1);
    EXPECT_EQ(tree.Tree.getHighLight(), ui::HighLightAlways) << "a selection of several cells shows";
    EXPECT_EQ(tree.Tree.getFocusRect(), ui::FocusRectNone);
    const auto text = tree.Details.getText();
    EXPECT_EQ(text.substr(0, text.find('\r')), "SNMPv2-MIB:sysDescr");
    EXPECT_EQ(tree.GetOIDDetails(*tree.getSelectedOID()), text);
}

TEST_F(MIBTreeTest, EnterSpaceAndDoubleClickToggleAFolderUnlessTheHostSwallowsTheKey) {
    std::vector<std::int16_t> seen;
    std::vector<std::string> clicked;
    bool swallow = false;
    subscriptions.push_back(tree.KeyPress.subscribe([&](std::int16_t& key) {
        seen.push_back(key);
        if (swallow) key = 0;
    }));
    subscriptions.push_back(tree.OIDDoubleClick.subscribe([&](OID& o) { clicked.push_back(o.getOID()); }));
    const auto mgmt = row("1.3.6.1.2");
    tree.Tree.setRow(mgmt);
    EXPECT_EQ(tree.Tree.UserKeyPress(ui::AsciiReturn), 0);
    EXPECT_FALSE(tree.Tree.getIsCollapsed(mgmt));
    EXPECT_GE(row("1.3.6.1.2.1"), 0) << "opening by key loads the children";
    EXPECT_EQ(tree.Tree.UserKeyPress(ui::AsciiSpace), 0);
    EXPECT_TRUE(tree.Tree.getIsCollapsed(mgmt));
    EXPECT_EQ(tree.Tree.UserKeyPress('a'), 'a');
    swallow = true;
    EXPECT_EQ(tree.Tree.UserKeyPress(ui::AsciiReturn), 0);
    EXPECT_TRUE(tree.Tree.getIsCollapsed(mgmt)) << "the host swallowed the key";
    EXPECT_EQ(seen, (std::vector<std::int16_t>{ui::AsciiReturn, ui::AsciiSpace, 'a', ui::AsciiReturn}));

    tree.Tree.UserDoubleClick();
    EXPECT_FALSE(tree.Tree.getIsCollapsed(mgmt));
    EXPECT_TRUE(clicked.empty());
    const auto directory = row("1.3.6.1.1");
    tree.Tree.setRow(directory);
    tree.Tree.UserDoubleClick();
    EXPECT_FALSE(tree.Tree.HasChildren(directory)) << "opened: it has no children, the placeholder went";
    tree.Tree.UserDoubleClick();
    EXPECT_EQ(clicked, std::vector<std::string>{"1.3.6.1.1"}) << "now a node without children";
}

TEST_F(MIBTreeTest, ARightClickMovesTheCurrentCellAndALeftPressInsideTheSelectionDragsIt) {
    std::vector<std::tuple<std::int16_t, std::int16_t, float, float, std::int32_t>> downs;
    subscriptions.push_back(tree.MouseDown.subscribe([&](std::int16_t& b, std::int16_t& s, float& x, float& y) {
        downs.emplace_back(b, s, x, y, tree.Tree.getRow());
    }));
    const auto internet = row("1.3.6.1"), mgmt = row("1.3.6.1.2"), other = row("1.3.6.1.4");
    tree.Tree.setRow(internet);
    tree.Tree.UserMouseDown(ui::RightButton, ui::ShiftMask, 10, 20, mgmt, 0);
    EXPECT_EQ(selected.back(), "1.3.6.1.2");
    EXPECT_EQ(downs, (std::vector{std::make_tuple(std::int16_t(ui::RightButton), std::int16_t(ui::ShiftMask), 10.f,
                                                  20.f, mgmt)}))
        << "raised after the control moved the cell";

    tree.setDragMethod(MIBSelection_OIDsAndNames);
    tree.Tree.Select(internet, 0, mgmt, 0);
    tree.Tree.UserMouseDown(ui::RightButton, 0, 1, 2, other, 0);
    EXPECT_EQ(tree.Tree.getRow(), internet) << "a selection of several rows stays";
    tree.Tree.UserMouseDown(ui::LeftButton, 0, 0, 0, other, 0);
    EXPECT_TRUE(toolkit.Drags().empty()) << "outside the selection";
    tree.Tree.UserMouseDown(ui::LeftButton, 0, 0, 0, mgmt, 0);
    ASSERT_EQ(toolkit.Drags().size(), 1u);
    EXPECT_EQ(toolkit.Drags()[0].data.Text, "1.3.6.1\tinternet\r\n1.3.6.1.1\tdirectory\r\n1.3.6.1.2\tmgmt\r\n");
    EXPECT_EQ(toolkit.Drags()[0].data.AllowedEffects, ui::DropEffectCopy);
}

TEST_F(MIBTreeTest, TheDetailsPaneTakesNoTypingOffersItsMenuAndKeepsItsHeight) {
    tree.SelectOID("1.3.6.1.2.1.2.2.1.7");
    EXPECT_EQ(tree.Details.UserKeyPress('x'), 0);
    EXPECT_EQ(tree.Details.UserKeyPress(ui::AsciiCtrlC), ui::AsciiCtrlC);
    tree.Details.UserMouseDown(ui::RightButton, 0, 5, 5);
    ASSERT_EQ(toolkit.Popups().size(), 1u);
    EXPECT_EQ(toolkit.Popups()[0].menu, &tree.DetailsPopup);
    tree.DetailsPopup.Choose("CopyDetailsPopup");
    EXPECT_EQ(toolkit.clipboard().GetText(ui::ClipboardRTF), tree.getCurrentOIDDetailsRTF());

    tree.Splitter.UserDragBar(0, 2000);
    const auto dragged = tree.Splitter.getPaneSize("Details");
    tree.Move(0, 0, 6000, 9000);
    EXPECT_EQ(tree.Splitter.getPaneSize("Details"), dragged);
    EXPECT_EQ(tree.Splitter.getPaneSize("Tree"), 9000 - ui::Splitter::kBarSize - dragged);
    tree.setDetailsVisible(false);
    tree.Move(0, 0, 6000, 5000);
    EXPECT_EQ(tree.Splitter.getPaneSize("Details"), kDetailsHiddenHeight);
}

TEST_F(MIBTreeTest, HostsReachTheSameTreeThroughMIBTreeCommon) {
    MIBTreeCommon& common = tree;
    std::vector<std::string> viaCommon;
    subscriptions.push_back(common.SelectionChanged.subscribe([&](OID& o) { viaCommon.push_back(o.getOID()); }));
    common.SelectOID("1.3.6.1.2.1.1.1");
    EXPECT_EQ(viaCommon, selected) << "one set of events";
    tree.Tree.Select(row("1.3.6.1.2.1.1"), 0, row("1.3.6.1.2.1.1.2"), 1);
    EXPECT_EQ(common.getSelection(), "system (1)\t1.3.6.1.2.1.1\r\nsysDescr (1)\t1.3.6.1.2.1.1.1\r\n"
                                     "sysObjectID (2)\t1.3.6.1.2.1.1.2\r\n");

    common.PopupOIDDetails("1.3.6.1.2.1.1.2");
    const auto* details = dynamic_cast<const OIDDetailsForm*>(toolkit.WindowsShown().at(0).window);
    ASSERT_NE(details, nullptr);
    EXPECT_EQ(details->Details.getOID(), "1.3.6.1.2.1.1.2");
}

}  // namespace
}  // namespace qlmib
