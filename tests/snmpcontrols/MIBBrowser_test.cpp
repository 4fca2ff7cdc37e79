// MIBBrowser against the loopback snmpd: walks compared with snmpwalk, the
// ends of a walk, GetNextOID, refreshing rows and writing values.
#include <chrono>
#include <regex>

#include <qlmib/snmp/MIBBrowser.h>
#include <qlmib/tree/OIDDetailsForm.h>

#include "LiveFixture.h"

namespace qlmib::test {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::int32_t kOIDColumn = 0, kRawValueColumn = 1, kValueColumn = 2;  // of setCols("0,9,10")

class MIBBrowserTest : public LiveTest {
protected:
    void SetUp() override {
        LiveTest::SetUp();
        if (IsSkipped()) return;
        browser = std::make_unique<MIBBrowser>(toolkit);
        browser->setCols("0,9,10");
    }

    ui::GridModel& grid() { return browser->getTableObject(); }

    void walk(const std::string& root, int version = 2, const char* community = SnmpAgent::kReadCommunity) {
        aim(*browser, version, community);
        ASSERT_TRUE(runToIdle(*browser, [&] { browser->GetOID(root); }));
    }

    // Data rows as (OID, raw value).
    std::vector<ToolBinding> rows() {
        std::vector<ToolBinding> out;
        for (std::int32_t r = 1; r < grid().getRows(); ++r)
            out.push_back({grid().getTextMatrix(r, kOIDColumn), grid().getTextMatrix(r, kRawValueColumn)});
        return out;
    }

    // Types `text` into the Value cell of `row` as a user does.
    void edit(std::int32_t row, const std::string& text) {
        ASSERT_TRUE(grid().EditCell(row, kValueColumn));
        grid().setEditText(text);
        ASSERT_TRUE(runToIdle(*browser, [&] { grid().CommitEdit(); }));
    }

    std::unique_ptr<MIBBrowser> browser;
};

class MIBBrowserVersionTest : public MIBBrowserTest, public ::testing::WithParamInterface<int> {};

TEST_P(MIBBrowserVersionTest, WalkOfSystemGivesTheRowsOfSnmpwalk) {
    const int version = GetParam();
    walk("1.3.6.1.2.1.1", version);
    const auto expected = NetSnmpWalk(std::string(version == 1 ? "-v1" : "-v2c") + " -c public " + agent().address() +
                                      " .1.3.6.1.2.1.1");
    const auto found = rows();
    ASSERT_EQ(found.size(), expected.size());
    ASSERT_GT(found.size(), 10u);
    for (size_t i = 0; i < found.size(); ++i) {
        EXPECT_EQ(found[i].oid, expected[i].oid);
        if (found[i].oid == "1.3.6.1.2.1.1.3.0") continue;  // sysUpTime moves on between the walks
        EXPECT_EQ(found[i].value, expected[i].value) << found[i].oid;
    }
    const auto name = rowWithData(grid(), kSysName);
    ASSERT_GT(name, 0);
    EXPECT_EQ(grid().getTextMatrix(name, kValueColumn), SnmpAgent::kSysName);
    EXPECT_FALSE(browser->getBusy());
}

TEST_P(MIBBrowserVersionTest, SubtreeWithoutInstancesGivesOneUnsupportedRow) {
    walk("1.3.6.1.2.1.1.99", GetParam());
    ASSERT_EQ(grid().getRows(), 2);
    EXPECT_EQ(grid().getRowData(1).toString(), "1.3.6.1.2.1.1.99");
    for (const auto col : {kRawValueColumn, kValueColumn}) {
        EXPECT_EQ(grid().getTextMatrix(1, col), "** unsupported OID **");
        EXPECT_EQ(grid().getCellForeColor(1, col), kRed);
    }
    // The walk went on from the answer that left the subtree.
    EXPECT_TRUE(browser->getCurrentOID().starts_with("1.3.6.1.2.1.2"));
}

TEST_P(MIBBrowserVersionTest, WalkToTheEndOfTheAgentsMIBAddsNoErrorRow) {
    const std::string root = "1.3.6.1.6.3.16.1.5";  // the last subtree snmpd serves
    walk(root, GetParam());
    const auto expected = NetSnmpWalk("-v2c -c public " + agent().address() + " ." + root);
    const auto found = rows();
    ASSERT_FALSE(expected.empty());
    ASSERT_EQ(found.size(), expected.size());
    EXPECT_EQ(found.back().oid, expected.back().oid);
    for (std::int32_t r = 1; r < grid().getRows(); ++r) EXPECT_NE(grid().getCellForeColor(r, kValueColumn), kRed);
}

TEST_P(MIBBrowserVersionTest, GetNextOIDListsItsAnswerAndOneMoreThenGoesOn) {
    aim(*browser, GetParam());
    browser->setCurrentOID(kSysDescr);
    ASSERT_TRUE(runToIdle(*browser, [&] { browser->GetNextOID(); }));
    ASSERT_EQ(grid().getRows(), 3);
    EXPECT_EQ(grid().getRowData(1).toString(), "1.3.6.1.2.1.1.2.0");
    EXPECT_EQ(grid().getRowData(2).toString(), "1.3.6.1.2.1.1.3.0");
    EXPECT_EQ(browser->getCurrentOID(), "1.3.6.1.2.1.1.3.0");
    ASSERT_TRUE(runToIdle(*browser, [&] { browser->GetNextOID(); }));
    ASSERT_EQ(grid().getRows(), 5);
    EXPECT_EQ(grid().getRowData(3).toString(), kSysContact);
    EXPECT_EQ(grid().getRowData(4).toString(), kSysName);
}

INSTANTIATE_TEST_SUITE_P(Versions, MIBBrowserVersionTest, ::testing::Values(1, 2),
                         [](const auto& info) { return "SNMPv" + std::to_string(info.param); });

// A host cancels through Continue, or the user through Cancel while the walk runs.
class MIBBrowserCancelTest : public MIBBrowserTest, public ::testing::WithParamInterface<bool> {};

TEST_P(MIBBrowserCancelTest, CancellingStopsTheWalkAfterTheCurrentAnswer) {
    const bool throughMethod = GetParam();
    int asked = 0;
    const auto subscription = browser->Continue.subscribe([&](bool& cancel) {
        if (++asked < 3) return;
        if (throughMethod) browser->Cancel();
        else cancel = true;
    });
    walk("1.3.6.1.2.1", 1);  // one binding per answer
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(grid().getRows(), 1 + 3);
    EXPECT_FALSE(browser->getBusy());
}

INSTANTIATE_TEST_SUITE_P(Ways, MIBBrowserCancelTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Cancel" : "ContinueArgument"; });

TEST_F(MIBBrowserTest, AgentThatDoesNotAnswerEndsTheBusyStateAfterItsRetries) {
    browser->setIP("127.0.0.1:" + std::to_string(UnusedUdpPort()));
    browser->setCommunity("public");
    browser->SNMP().setTimeout(200);
    browser->SNMP().setRetries(1);
    const auto start = Clock::now();
    ASSERT_TRUE(runToIdle(*browser, [&] { browser->GetOID("1.3.6.1.2.1.1"); }, 5000));
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    EXPECT_GE(elapsed, 390);
    EXPECT_LT(elapsed, 1500);
    EXPECT_FALSE(browser->getBusy());
    EXPECT_EQ(toolkit.getMousePointer(), ui::PointerDefault);
    ASSERT_EQ(grid().getRows(), 2);
    EXPECT_EQ(grid().getTextMatrix(1, kValueColumn), "** unsupported OID **");
}

TEST_F(MIBBrowserTest, RefreshRowReadsTheValueAgainShowingItGreenMeanwhile) {
    walk("1.3.6.1.2.1.1");
    const auto row = rowWithData(grid(), kSysContact);
    ASSERT_GT(row, 0);
    NetSnmpSet(kSysContact, 's', "refreshed by the browser");
    browser->setRow(row);
    ASSERT_TRUE(runToIdle(*browser, [&] {
        browser->RefreshRow();
        EXPECT_EQ(grid().getCellForeColor(row, kValueColumn), kGreen);
    }));
    EXPECT_EQ(grid().getTextMatrix(row, kValueColumn), "refreshed by the browser");
    EXPECT_EQ(grid().getCellForeColor(row, kValueColumn), kBlue);  // sysContact is read-write
    EXPECT_EQ(grid().getCellBackColor(row, kValueColumn), kLightGrey);
    EXPECT_EQ(browser->getSelectedParsedValue(), "refreshed by the browser");
}

TEST_F(MIBBrowserTest, SetValueIsReadBackInReadWriteColours) {
    walk("1.3.6.1.2.1.1", 2, SnmpAgent::kWriteCommunity);
    const auto row = rowWithData(grid(), kSysContact);
    ASSERT_GT(row, 0);
    edit(row, "set by the browser");
    EXPECT_EQ(grid().getTextMatrix(row, kValueColumn), "set by the browser");
    EXPECT_EQ(grid().getCellForeColor(row, kValueColumn), kBlue);
    EXPECT_TRUE(toolkit.Messages().empty());
    EXPECT_EQ(NetSnmpWalk("-v2c -c public " + agent().address() + " ." + kSysContact).at(0).value,
              "set by the browser");
}

TEST_F(MIBBrowserTest, RefusedSetWarnsOnceAndShowsTheAgentsValue) {
    walk("1.3.6.1.2.1.1", 2, SnmpAgent::kWriteCommunity);
    const auto row = rowWithData(grid(), kSysName);
    ASSERT_GT(row, 0);
    edit(row, "renamed");
    ASSERT_EQ(toolkit.Messages().size(), 1u);
    EXPECT_EQ(toolkit.Messages()[0].Prompt, "Could not change sysName.0 to \"renamed\".");
    EXPECT_EQ(toolkit.Messages()[0].Buttons, ui::MsgBoxExclamation);
    EXPECT_EQ(grid().getTextMatrix(row, kValueColumn), SnmpAgent::kSysName);
}

TEST_F(MIBBrowserTest, EnumeratedValueIsChosenFromItsListAndSentAsItsNumber) {
    walk("1.3.6.1.2.1.11.30", 2, SnmpAgent::kWriteCommunity);
    ASSERT_EQ(grid().getRows(), 2);
    for (const auto& [label, number] : {std::pair{"enabled(1)", "1"}, std::pair{"disabled(2)", "2"}}) {
        ASSERT_TRUE(grid().EditCell(1, kValueColumn));
        EXPECT_EQ(grid().getComboList(), "#1;enabled(1)|#2;disabled(2)");
        const auto& items = grid().ComboItems();
        const auto chosen = std::find_if(items.begin(), items.end(), [&](const auto& i) { return i.text == label; });
        grid().setComboIndex(static_cast<std::int32_t>(chosen - items.begin()));
        ASSERT_TRUE(runToIdle(*browser, [&] { grid().CommitEdit(); }));
        EXPECT_EQ(grid().getTextMatrix(1, kValueColumn), label);
        EXPECT_EQ(grid().getTextMatrix(1, kRawValueColumn), number);
    }
    EXPECT_TRUE(toolkit.Messages().empty());
}

TEST_F(MIBBrowserTest, OnlyValuesOfReadWriteObjectsCanBeEdited) {
    walk("1.3.6.1.2.1.1");
    const auto contact = rowWithData(grid(), kSysContact), descr = rowWithData(grid(), kSysDescr);
    ASSERT_GT(contact, 0);
    ASSERT_GT(descr, 0);
    EXPECT_FALSE(grid().EditCell(descr, kValueColumn));  // read-only
    EXPECT_FALSE(grid().EditCell(0, kValueColumn));       // header
    EXPECT_FALSE(grid().EditCell(contact, kOIDColumn));   // not a value
    ASSERT_TRUE(grid().EditCell(contact, kValueColumn));
    // Free text edits the raw value, not the parsed text.
    EXPECT_EQ(grid().getEditText(), grid().getCellData(contact, kValueColumn).toString());
    grid().CancelEdit();
}

TEST_F(MIBBrowserTest, PopupOIDDetailsShowsTheCurrentRowWithItsValues) {
    walk("1.3.6.1.2.1.1");
    const auto row = rowWithData(grid(), kSysName);
    browser->setRow(row);
    browser->PopupOIDDetails();
    const auto windows = toolkit.OpenWindows();
    ASSERT_EQ(windows.size(), 1u);
    auto* form = dynamic_cast<OIDDetailsForm*>(windows[0]);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Details.getOID(), kSysName);
    EXPECT_NE(form->Details.Details.getText().find(SnmpAgent::kSysName), std::string::npos);
}

TEST_F(MIBBrowserTest, SelectionChangeReportsTheRowOnlyWhenIdle) {
    std::vector<std::string> reported;
    const auto subscription = browser->SelChange.subscribe([&](const std::string& oid) { reported.push_back(oid); });
    walk("1.3.6.1.2.1.1");
    // Rows added during the walk are not reported; the end of the walk reports the current one.
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0], grid().getRowData(grid().getRows() - 1).toString());
    grid().Select(1, kValueColumn);
    EXPECT_EQ(reported.back(), kSysDescr);
    EXPECT_EQ(browser->getSelection(), grid().getTextMatrix(1, kValueColumn));
}

// ---- Without an agent

TEST_F(MIBBrowserTest, PropertiesKeepTheirRanges) {
    for (const auto& [given, kept] : {std::pair{0, 161}, {40000, 161}, {32000, 32000}, {1, 1}, {-5, 161}}) {
        browser->setSNMPPort(given);
        EXPECT_EQ(browser->getSNMPPort(), kept) << given;
    }
    EXPECT_EQ(MIBBrowser::Fields(-1), "");
    EXPECT_EQ(MIBBrowser::Fields(12), "");
    EXPECT_EQ(MIBBrowser::Fields(8), "Raw Type");
    EXPECT_EQ(MIBBrowser::OIDIndex("1.3.6.1.2.1.2.2.1.1.12"), 12);
    EXPECT_EQ(MIBBrowser::OIDIndex("1.3.x"), 0);
}

TEST_F(MIBBrowserTest, ColsBuildsTheHeaderAndOnlyANewListRebuildsTheGrid) {
    browser->setCols("3,1,8,99");
    ASSERT_EQ(grid().getCols(), 4);
    EXPECT_EQ(grid().getTextMatrix(0, 0), "MIB");
    EXPECT_EQ(grid().getTextMatrix(0, 2), "Raw Type");
    EXPECT_EQ(grid().getColAlignment(2), ui::AlignCenterCenter);
    EXPECT_EQ(grid().getColWidth(1), grid().fontMetrics().TextWidth(std::string(19, 'X'), grid().getFont()));
    EXPECT_EQ(grid().getTextMatrix(0, 3), "");  // no such field
    EXPECT_EQ(grid().getColWidth(3), -1);

    browser->AddValue(kSysName, "host", "686F7374", "OK", 4);
    browser->setCols("3,1,8,99");
    EXPECT_EQ(grid().getRows(), 2);
    browser->setCols("1,8");
    EXPECT_EQ(grid().getRows(), 1);
}

TEST_F(MIBBrowserTest, PopulateRowFillsEachFieldAndKeepsTheRawTypeWithoutOne) {
    browser->setCols("0,1,2,3,4,5,7,8,9,10");
    browser->AddValue(kSysName, "host", "686F7374", "OK", 4);
    auto cells = [&] {
        std::vector<std::string> texts;
        for (std::int32_t c = 0; c < grid().getCols(); ++c) texts.push_back(grid().getTextMatrix(1, c));
        return texts;
    };
    EXPECT_EQ(cells(), (std::vector<std::string>{kSysName, "sysName.0", "SNMPv2-MIB:sysName.0", "SNMPv2-MIB", "0",
                                                 "read-write", "DisplayString", "4", "host", "host"}));
    browser->PopulateRow("other", 1, "6F74686572", "Set", -1);
    EXPECT_EQ(grid().getTextMatrix(1, 7), "4");
    EXPECT_EQ(grid().getCellForeColor(1, 9), kGreen);
    browser->PopulateRow("", 1, "", " noSuchInstance ", -1);
    EXPECT_EQ(grid().getTextMatrix(1, 9), "noSuchInstance");
    EXPECT_EQ(grid().getCellForeColor(1, 9), kRed);
}

TEST_F(MIBBrowserTest, MovingAColumnReportsTheNewList) {
    browser->setCols("0,1,9");
    std::string reported;
    const auto subscription = browser->MoveColumn.subscribe([&](const std::string& list) { reported = list; });
    grid().UserMoveColumn(2, 0);
    EXPECT_EQ(reported, "9,0,1");
    EXPECT_EQ(browser->getCols(), "9,0,1");
}

}  // namespace
}  // namespace qlmib::test
