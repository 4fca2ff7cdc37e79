// MIBTree driven as a user and a host drive it: Refresh, opening nodes,
// SelectOID, moving the current row, keys, clicks, dragging, the details
// pane and its menu, the splitter, and the MIBTreeCommon interface.

#include <gtest/gtest.h>

#include <qlmib/mibdata/OID.h>
#include <qlmib/snmp/Settings.h>
#include <qlmib/tree/MIBTree.h>
#include <qlmib/tree/OIDDetailsForm.h>
#include <qlmib/tree/SearchMIBTreeForm.h>
#include <qlmib/ui/Rtf.h>

#include "TreeControlFixture.h"

namespace qlmib {
namespace {

class MIBTreeTest : public test::TreeControlFixture {
protected:
    void SetUp() override {
        TreeControlFixture::SetUp();
        tree.Refresh();
        subscriptions.push_back(tree.SelectionChanged.subscribe([this](OID& o) { selected.push_back(o.getOID()); }));
    }
    std::int32_t row(const std::string& oid) const { return tree.Tree.FindRow("O:" + oid); }

    MIBTree tree{toolkit};
    std::vector<std::string> selected;  // OIDs that SelectionChanged reported
    std::vector<Subscription> subscriptions;
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

TEST_F(MIBTreeTest, RefreshLoadsTheRootsOpensThePathToInternetAndRebuildsFromScratch) {
    EXPECT_EQ(test::dump(tree.Tree), kAfterRefresh);
    EXPECT_EQ(tree.Tree.getTextMatrix(0, 0), "Name");
    EXPECT_EQ(tree.Tree.getTextMatrix(0, 1), "OID");
    EXPECT_EQ(tree.Tree.getTextMatrix(row("1.3.6.1"), 1), "1.3.6.1");
    EXPECT_EQ(tree.Tree.getFont().Name, "Arial");
    EXPECT_EQ(tree.Tree.getColWidth(0), toolkit.fontMetrics().TextWidth(std::string(34, 'X'), tree.Tree.getFont()));
    EXPECT_EQ(tree.Tree.getColWidth(1), toolkit.fontMetrics().TextWidth(std::string(23, 'X'), tree.Tree.getFont()));
    EXPECT_FALSE(tree.getOIDsVisible());

    tree.Tree.ToggleNode(row("1.3.6.1.2"));
    tree.Refresh();
    EXPECT_EQ(test::dump(tree.Tree), kAfterRefresh) << "a second Refresh starts again";
    tree.Clear();
    EXPECT_EQ(tree.Tree.getRows(), 0) << "Clear removes the header row too";
}

TEST_F(MIBTreeTest, OpeningAFolderLoadsItsChildrenByIndexOnce) {
    const auto mgmt = row("1.3.6.1.2");
    tree.Tree.ToggleNode(mgmt);
    EXPECT_FALSE(tree.Tree.getIsCollapsed(mgmt));
    EXPECT_EQ(tree.Tree.getRowKey(mgmt + 1), "O:1.3.6.1.2.1") << "the placeholder gave way to mib-2";
    EXPECT_EQ(tree.Tree.getRow(), mgmt) << "the opened node becomes current";
    EXPECT_EQ(selected, std::vector<std::string>{"1.3.6.1.2"});
    const auto& pointers = toolkit.PointerChanges();
    ASSERT_GE(pointers.size(), 2u);
    EXPECT_EQ(pointers[pointers.size() - 2], ui::PointerHourglass);

    tree.Tree.ToggleNode(row("1.3.6.1.2.1"));
    const auto mib2 = row("1.3.6.1.2.1");
    EXPECT_EQ(tree.Tree.getRowKey(mib2 + 1), "O:1.3.6.1.2.1.1");
    tree.Tree.ToggleNode(row("1.3.6.1.2.1.2"));
    tree.Tree.ToggleNode(row("1.3.6.1.2.1.2.2"));
    tree.Tree.ToggleNode(row("1.3.6.1.2.1.2.2.1"));
    const auto entry = row("1.3.6.1.2.1.2.2.1");
    EXPECT_EQ(test::dump(tree.Tree)[static_cast<size_t>(entry)], "9 O:1.3.6.1.2.1.2.2.1.1 ifIndex (1) leaf")
        << "the row after ifEntry (dump starts at row 1)";
    EXPECT_EQ(tree.Tree.getRowKey(entry + 2), "O:1.3.6.1.2.1.2.2.1.2") << "children in the order of their index";

    const auto rows = tree.Tree.getRows();
    tree.Tree.ToggleNode(mgmt);
    EXPECT_TRUE(tree.Tree.getIsCollapsed(mgmt));
    tree.Tree.ToggleNode(mgmt);
    tree.ExpandOID("1.3.6.1.2");
    EXPECT_EQ(tree.Tree.getRows(), rows) << "opening again adds nothing";
}

TEST_F(MIBTreeTest, EachKindOfNodeGetsItsPictureAndAPlaceholderWhenItMayHaveChildren) {
    struct Case {
        const char* open;  // selected first, which loads the node
        const char* oid;
        const char* picture;
        const char* placeholder;  // its text, or nullptr for a node without one
    };
    const Case cases[] = {
        {"1.3.6.1.2.1.2", "1.3.6.1.2.1.2.1", "leaf", nullptr},
        {"1.3.6.1.2.1.2", "1.3.6.1.2.1.2.2", "table", ""},
        {"1.3.6.1.2.1.2.2", "1.3.6.1.2.1.2.2.1", "key", ""},
        {"1.3.6.1.6.3.1.1.5", "1.3.6.1.6.3.1.1.5.1", "trap", nullptr},
        {"1.3.6.1.4.1", "1.3.6.1.4.1.9999", "1.3.6.1.4.1.9999", ""},
        {"1.3.6.1.4.1.9999", "1.3.6.1.4.1.9999.2", "folder-closed", "Loading ..."},
        {"1.3.6.1.4.1.9999.1.2", "1.3.6.1.4.1.9999.1.2.3", "key", ""},
    };
    for (const auto& c : cases) {
        tree.SelectOID(c.open);
        const auto node = row(c.oid);
        ASSERT_GE(node, 0) << c.oid;
        EXPECT_EQ(tree.Tree.getCellPicture(node, 0), c.picture) << c.oid;
        const auto placeholder = tree.Tree.FindRow(std::string("X:O:") + c.oid);
        if (!c.placeholder) {
            EXPECT_FALSE(tree.Tree.HasChildren(node)) << c.oid;
            continue;
        }
        ASSERT_EQ(placeholder, node + 1) << c.oid;
        EXPECT_EQ(tree.Tree.getTextMatrix(placeholder, 0), c.placeholder) << c.oid;
        EXPECT_TRUE(tree.Tree.getIsCollapsed(node)) << c.oid;
    }
    EXPECT_EQ(tree.Images.Item("1.3.6.1.4.1.9999").Bytes, test::pngHeader(16, 16));
    EXPECT_FALSE(tree.Images.Exists("1.3.6.1.4.1.9999.2")) << "bytes that are no picture";
    EXPECT_EQ(tree.LookupIcon("1.3.6.1.2.1"), kNoIcon);
    EXPECT_EQ(tree.TreeView().getImages(), &tree.Images);
}

TEST_F(MIBTreeTest, SelectOidLoadsEveryLevelOnTheWayAndMakesTheOidCurrent) {
    const std::string target = "1.3.6.1.4.1.9999.1.2.3.4";
    ASSERT_LT(row("1.3.6.1.4.1"), 0);
    tree.SelectOID(target);
    const auto node = row(target);
    ASSERT_GE(node, 0);
    EXPECT_EQ(tree.Tree.getRow(), node);
    EXPECT_EQ(tree.getSelectedOID()->getOID(), target);
    EXPECT_EQ(tree.getSelectedOID()->getName(), "o'brien\"s");
    EXPECT_EQ(tree.getMIBName(), test::kQuoteModule);
    EXPECT_EQ(selected, std::vector<std::string>{target});
    for (auto above = tree.Tree.ParentRow(node); above >= 0; above = tree.Tree.ParentRow(above))
        EXPECT_FALSE(tree.Tree.getIsCollapsed(above)) << tree.Tree.getRowKey(above);
    EXPECT_EQ(tree.Tree.getRowOutlineLevel(node), 10);
    EXPECT_EQ(tree.Tree.getRedraw(), ui::RedrawBuffered);
    EXPECT_TRUE(tree.Tree.getCellFontBold(node, tree.Tree.getCol()));
    EXPECT_EQ(tree.Details.getText().substr(0, 26), "O'REILLY\"MIB:o'brien\"s\r\n\r\n");
    EXPECT_NE(tree.Details.getText().find("Units \tquotes\r\n"), std::string::npos);

    tree.SelectOID("1.3.6.1.4.1.12345");
    EXPECT_EQ(tree.Tree.getRow(), node) << "an OID not in the database changes nothing";
    EXPECT_EQ(selected.size(), 1u);

    tree.Tree.ToggleNode(row("1.3.6.1"));
    tree.SelectOID("1.3.6.1.2.1.1.1");
    EXPECT_FALSE(tree.Tree.getIsCollapsed(row("1.3.6.1"))) << "closed ancestors open again";
    EXPECT_EQ(selected.back(), "1.3.6.1.2.1.1.1");
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
    EXPECT_FALSE(tree.Tree.getCellFontBold(row("1.3.6.1.2.1.1.1"), 0));
    EXPECT_TRUE(tree.Tree.getCellFontBold(row("1.3.6.1.2.1.1.2"), 0));
    EXPECT_NE(descr, row("1.3.6.1.2.1.1.1"));
    EXPECT_EQ(tree.Tree.getHighLight(), ui::HighLightNever);
    EXPECT_EQ(tree.Tree.getFocusRect(), ui::FocusRectHeavy);

    tree.Tree.Select(row("1.3.6.1.2.1.1.1"), 0, row("1.3.6.1.2.1.1.2"), 1);
    EXPECT_EQ(tree.Tree.getHighLight(), ui::HighLightAlways) << "a selection of several cells shows";
    EXPECT_EQ(tree.Tree.getFocusRect(), ui::FocusRectNone);
    const auto text = tree.Details.getText();
    EXPECT_EQ(text.substr(0, text.find('\r')), "SNMPv2-MIB:sysDescr");
    EXPECT_EQ(tree.GetOIDDetails(*tree.getSelectedOID()), text);
}

TEST_F(MIBTreeTest, EnterAndSpaceToggleTheCurrentNodeAfterTheHostSawTheKey) {
    std::vector<std::int16_t> seen;
    bool swallow = false;
    subscriptions.push_back(tree.KeyPress.subscribe([&](std::int16_t& key) {
        seen.push_back(key);
        if (swallow) key = 0;
    }));
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
}

TEST_F(MIBTreeTest, DoubleClickRaisesOidDoubleClickForALeafAndTogglesAFolder) {
    std::vector<std::string> clicked;
    subscriptions.push_back(tree.OIDDoubleClick.subscribe([&](OID& o) { clicked.push_back(o.getOID()); }));
    tree.SelectOID("1.3.6.1.2.1.1.1");
    tree.Tree.UserDoubleClick();
    EXPECT_EQ(clicked, std::vector<std::string>{"1.3.6.1.2.1.1.1"});
    const auto directory = row("1.3.6.1.1");
    tree.Tree.setRow(directory);
    tree.Tree.UserDoubleClick();
    EXPECT_EQ(clicked.size(), 1u);
    EXPECT_FALSE(tree.Tree.HasChildren(directory)) << "opened: it has no children, the placeholder went";
    tree.Tree.UserDoubleClick();
    EXPECT_EQ(clicked.size(), 2u) << "now a node without children";
}

TEST_F(MIBTreeTest, ARightClickMovesTheCurrentCellUnlessMoreIsSelected) {
    std::vector<std::tuple<std::int16_t, std::int16_t, float, float, std::int32_t>> downs;
    subscriptions.push_back(tree.MouseDown.subscribe([&](std::int16_t& b, std::int16_t& s, float& x, float& y) {
        downs.emplace_back(b, s, x, y, tree.Tree.getRow());
    }));
    const auto internet = row("1.3.6.1"), mgmt = row("1.3.6.1.2");
    tree.Tree.setRow(internet);
    tree.Tree.UserMouseDown(ui::RightButton, ui::ShiftMask, 10, 20, mgmt, 0);
    EXPECT_EQ(tree.Tree.getRow(), mgmt);
    EXPECT_EQ(selected.back(), "1.3.6.1.2");

    tree.Tree.Select(internet, 0, mgmt, 0);
    tree.Tree.UserMouseDown(ui::RightButton, 0, 1, 2, row("1.3.6.1.4"), 0);
    EXPECT_EQ(tree.Tree.getRow(), internet) << "a selection of several rows stays";
    tree.Tree.UserMouseDown(ui::MiddleButton, 0, 3, 4, mgmt, 0);
    ASSERT_EQ(downs.size(), 3u);
    EXPECT_EQ(downs[0], std::make_tuple(std::int16_t(ui::RightButton), std::int16_t(ui::ShiftMask), 10.f, 20.f, mgmt))
        << "raised after the control moved the cell";
    EXPECT_EQ(std::get<0>(downs[2]), ui::MiddleButton);
}

TEST_F(MIBTreeTest, ALeftPressInsideTheSelectionDragsItInTheDragMethod) {
    std::vector<std::int16_t> pointers;
    subscriptions.push_back(tree.TreeView().Changed.subscribe([&] { pointers.push_back(tree.TreeView().getMousePointer()); }));
    const auto internet = row("1.3.6.1"), mgmt = row("1.3.6.1.2");
    tree.setDragMethod(MIBSelection_OIDsAndNames);
    tree.Tree.Select(internet, 0, mgmt, 0);
    tree.Tree.UserMouseDown(ui::LeftButton, 0, 0, 0, row("1.3.6.1.4"), 0);
    EXPECT_TRUE(toolkit.Drags().empty()) << "outside the selection";
    tree.Tree.UserMouseDown(ui::LeftButton, 0, 0, 0, mgmt, 0);
    ASSERT_EQ(toolkit.Drags().size(), 1u);
    const auto& drag = toolkit.Drags()[0];
    EXPECT_EQ(drag.source, &tree.TreeView());
    EXPECT_EQ(drag.data.Text, "1.3.6.1\tinternet\r\n1.3.6.1.1\tdirectory\r\n1.3.6.1.2\tmgmt\r\n");
    EXPECT_EQ(drag.data.AllowedEffects, ui::DropEffectCopy);
    EXPECT_EQ(drag.data.Pointer, ui::PointerCustom);
    EXPECT_EQ(pointers, (std::vector<std::int16_t>{ui::PointerCustom, ui::PointerDefault}));
}

TEST_F(MIBTreeTest, TheDetailsPaneTakesNoTypingAndOffersCopyAndPrint) {
    tree.SelectOID("1.3.6.1.2.1.2.2.1.7");
    EXPECT_EQ(tree.Details.UserKeyPress('x'), 0);
    EXPECT_EQ(tree.Details.UserKeyPress(ui::AsciiCtrlC), ui::AsciiCtrlC);
    tree.Details.UserMouseDown(ui::RightButton, 0, 5, 5);
    ASSERT_EQ(toolkit.Popups().size(), 1u);
    EXPECT_EQ(toolkit.Popups()[0].menu, &tree.DetailsPopup);

    tree.DetailsPopup.Choose("CopyDetailsPopup");
    EXPECT_EQ(toolkit.clipboard().GetText(ui::ClipboardText), tree.Details.getText());
    EXPECT_EQ(toolkit.clipboard().GetText(ui::ClipboardRTF), tree.getCurrentOIDDetailsRTF());
    EXPECT_NE(tree.Details.getText().find("Possible Values :\r\n    up(1)\r\n    down(2)\r\n"), std::string::npos);

    toolkit.setPrinters({"Office"});
    tree.DetailsPopup.Choose("PrintPopup");
    ASSERT_EQ(toolkit.PrintJobs().size(), 1u);
    EXPECT_EQ(toolkit.PrintJobs()[0].Title, "IF-MIB:ifAdminStatus");
    EXPECT_EQ(toolkit.PrintJobs()[0].Content, tree.Details.getText());
}

TEST_F(MIBTreeTest, TheDetailsPaneKeepsItsHeightWhenTheControlIsResized) {
    tree.Move(0, 0, 6000, 8000);
    EXPECT_EQ(tree.Splitter.getHeight(), 8000);
    EXPECT_EQ(tree.Splitter.getPaneSize("Details"), kDetailsShownHeight);
    tree.setDetailsVisible(false);
    tree.Move(0, 0, 6000, 5000);
    EXPECT_EQ(tree.Splitter.getPaneSize("Details"), kDetailsHiddenHeight);
    tree.setDetailsVisible(true);
    tree.Splitter.UserDragBar(0, 2000);
    const auto dragged = tree.Splitter.getPaneSize("Details");
    tree.Move(0, 0, 6000, 9000);
    EXPECT_EQ(tree.Splitter.getPaneSize("Details"), dragged);
    EXPECT_EQ(tree.Splitter.getPaneSize("Tree"), 9000 - ui::Splitter::kBarSize - dragged);
}

TEST_F(MIBTreeTest, HostsReachTheSameTreeThroughMIBTreeCommon) {
    MIBTreeCommon& common = tree;
    std::vector<std::string> viaCommon;
    subscriptions.push_back(common.SelectionChanged.subscribe([&](OID& o) { viaCommon.push_back(o.getOID()); }));
    common.SelectOID("1.3.6.1.2.1.1.1");
    EXPECT_EQ(viaCommon, selected) << "one set of events";
    tree.Tree.Select(row("1.3.6.1.2.1.1"), 0, row("1.3.6.1.2.1.1.2"), 1);
    EXPECT_EQ(common.getSelection(), tree.getSelection(MIBSelection_Text));
    EXPECT_EQ(common.getSelection(), "system (1)\t1.3.6.1.2.1.1\r\nsysDescr (1)\t1.3.6.1.2.1.1.1\r\n"
                                     "sysObjectID (2)\t1.3.6.1.2.1.1.2\r\n");
    EXPECT_EQ(&common.getTable(), &tree.Tree);
    EXPECT_EQ(common.getSelectedOID(), tree.getSelectedOID());
    common.setOIDsVisible(true);
    EXPECT_TRUE(tree.getOIDsVisible());
    EXPECT_FALSE(tree.Tree.getColHidden(1));
    common.setDragMethod(MIBSelection_CDefines);
    EXPECT_EQ(tree.getDragMethod(), MIBSelection_CDefines);
    OID descr;
    descr.setOID("1.3.6.1.2.1.1.1");
    EXPECT_NE(common.GetOIDDetails(descr).find("Units \tcharacters\r\n"), std::string::npos);
    EXPECT_EQ(ui::ReadRtf(common.GetOIDDetailsRTF(descr)).front().text, "SNMPv2-MIB:sysDescr\r\n\r\n");
    EXPECT_EQ(common.getCurrentOIDDetailsRTF(), tree.Details.getTextRTF());
    EXPECT_EQ(tree.getSettings(), Settings::Shared());

    common.PopupOIDDetails("1.3.6.1.2.1.1.2");
    common.SearchMIBTree(false);
    const auto& shown = toolkit.WindowsShown();
    ASSERT_EQ(shown.size(), 2u);
    const auto* details = dynamic_cast<const OIDDetailsForm*>(shown[0].window);
    ASSERT_NE(details, nullptr);
    EXPECT_EQ(details->Details.getOID(), "1.3.6.1.2.1.1.2");
    const auto* search = dynamic_cast<const SearchMIBTreeForm*>(shown[1].window);
    ASSERT_NE(search, nullptr);
    EXPECT_FALSE(shown[1].modal);
    EXPECT_TRUE(search->Show_Button.getEnabled()) << "opened with a tree";
}

}  // namespace
}  // namespace qlmib
