// MIBBrowser against the loopback snmpd: walks compared with snmpwalk, the
// ends of a walk, GetNextOID, refreshing rows and writing values.
#include <chrono>
#include <filesystem>

#include <qlmib/mibdata/Database.h>
#include <qlmib/mibdata/Globals.h>
#include <qlmib/mibdata/OID.h>
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

    // Types `text` into the Value cell of `row` as a user does.
    void edit(std::int32_t row, const std::string& text) {
        ASSERT_TRUE(grid().EditCell(row, kValueColumn));
        grid().setEditText(text);
        ASSERT_TRUE(runToIdle(*browser, [&] { grid().CommitEdit(); }));
    }

    std::unique_ptr<MIBBrowser> browser;
};

class MIBBrowserVersionTest : public MIBBrowserTest, public ::testing::WithParamInterface<int> {};

TEST_P(MIBBrowserVersionTest, WalksGiveTheRowsOfSnmpwalkAndTheEndOfTheAgentsMIBInRed) {
    const int version = GetParam();
    // The last subtree snmpd serves, whose walk ends on the agent's answer for
    // its end of the MIB, then system, which ends by leaving the subtree.
    for (const std::string root : {"1.3.6.1.6.3.16.1.5", "1.3.6.1.2.1.1"}) {
        browser->Clear();
        walk(root, version);
        const auto expected =
            NetSnmpWalk(std::string(version == 1 ? "-v1" : "-v2c") + " -c public " + agent().address() + " ." + root);
        ASSERT_GT(expected.size(), 2u) << root;
        const bool endOfMIB = root.starts_with("1.3.6.1.6");
        ASSERT_EQ(grid().getRows(), static_cast<std::int32_t>(expected.size()) + 1 + endOfMIB) << root;
        for (std::int32_t r = 1; r <= static_cast<std::int32_t>(expected.size()); ++r) {
            const auto& [oid, value] = expected[static_cast<size_t>(r - 1)];
            EXPECT_EQ(grid().getTextMatrix(r, kOIDColumn), oid);
            if (oid != "1.3.6.1.2.1.1.3.0") {  // sysUpTime moves on between the walks
                EXPECT_EQ(grid().getTextMatrix(r, kRawValueColumn), value) << oid;
            }
            EXPECT_NE(grid().getCellForeColor(r, kValueColumn), kRed) << oid;
        }
        if (endOfMIB) {
            const auto last = grid().getRows() - 1;
            EXPECT_EQ(grid().getTextMatrix(last, kOIDColumn), expected.back().oid);
            for (const auto col : {kRawValueColumn, kValueColumn}) {
                EXPECT_EQ(grid().getTextMatrix(last, col), version == 1 ? "noSuchName" : "endOfMibView");
                EXPECT_EQ(grid().getCellForeColor(last, col), kRed);
            }
        }
        EXPECT_FALSE(browser->getBusy());
    }
    EXPECT_EQ(grid().getTextMatrix(rowWithData(grid(), kSysName), kValueColumn), SnmpAgent::kSysName);
}

TEST_P(MIBBrowserVersionTest, SubtreeWithoutInstancesGivesOneUnsupportedRowAndGetNextOIDListsTwoInstances) {
    walk("1.3.6.1.2.1.1.99", GetParam());
    ASSERT_EQ(grid().getRows(), 2);
    EXPECT_EQ(grid().getRowData(1).toString(), "1.3.6.1.2.1.1.99");
    for (const auto col : {kRawValueColumn, kValueColumn}) {
        EXPECT_EQ(grid().getTextMatrix(1, col), "** unsupported OID **");
        EXPECT_EQ(grid().getCellForeColor(1, col), kRed);
    }
    // The walk went on from the answer that left the subtree.
    EXPECT_TRUE(browser->getCurrentOID().starts_with("1.3.6.1.2.1.2"));

    // GetNextOID lists its answer and one more; the last one listed leaves
    // CurrentOID where it was, so the next call lists it again.
    browser->Clear();
    browser->setCurrentOID(kSysDescr);
    ASSERT_TRUE(runToIdle(*browser, [&] { browser->GetNextOID(); }));
    EXPECT_EQ(browser->getCurrentOID(), "1.3.6.1.2.1.1.2.0");
    ASSERT_TRUE(runToIdle(*browser, [&] { browser->GetNextOID(); }));
    EXPECT_EQ(browser->getCurrentOID(), "1.3.6.1.2.1.1.3.0");
    std::vector<std::string> listed;
    for (std::int32_t r = 1; r < grid().getRows(); ++r) listed.push_back(grid().getRowData(r).toString());
    EXPECT_EQ(listed, (std::vector<std::string>{"1.3.6.1.2.1.1.2.0", "1.3.6.1.2.1.1.3.0", "1.3.6.1.2.1.1.3.0",
                                                kSysContact}));
}

INSTANTIATE_TEST_SUITE_P(Versions, MIBBrowserVersionTest, ::testing::Values(1, 2),
                         [](const auto& info) { return "SNMPv" + std::to_string(info.param); });

TEST_F(MIBBrowserTest, ContinueComesAfterTheAnswersRowsAndCancellingStopsTheWalkThere) {
    for (const bool throughMethod : {false, true}) {
        browser->Clear();
        int asked = 0;
        const auto subscription = browser->Continue.subscribe([&](bool& cancel) {
            ++asked;
            EXPECT_EQ(grid().getRows(), 1 + asked) << "the row of the answer asking is in place";
            if (asked < 3) return;
            if (throughMethod) browser->Cancel();
            else cancel = true;
        });
        walk("1.3.6.1.2.1", 1);  // one binding per answer
        EXPECT_EQ(asked, 3);
        EXPECT_EQ(grid().getRows(), 1 + 3);
        EXPECT_FALSE(browser->getBusy());
    }
}

// A module imported while a walk runs, by another process or by the host
// between two answers: the rows after it show the database as it is now.
TEST_F(MIBBrowserTest, RowsAfterAnImportDuringTheWalkShowTheNewDefinitions) {
    const auto copy = std::filesystem::path(CorpusHome()->folder()) / "import-during-walk.cfg";
    std::filesystem::copy_file(CorpusHome()->databasePath(), copy, std::filesystem::copy_options::overwrite_existing);
    const DatabaseFileOverride onCopy(copy.string());
    browser->setCols("1");
    for (const bool thisConnection : {false, true}) {
        browser->Clear();
        const std::string before = thisConnection ? "sysORIDElsewhere" : "sysORID";
        const std::string after = thisConnection ? "sysORIDHere" : "sysORIDElsewhere";
        int answers = 0;
        const auto subscription = browser->Continue.subscribe([&](bool&) {
            if (++answers != 1) return;
            const auto elsewhere = thisConnection ? nullptr : Database::open(copy.string());
            Database& db = thisConnection ? SharedDatabase() : *elsewhere;
            Transaction tx(db);
            db.prepare("UPDATE Tree SET Name = ?1 WHERE Name LIKE 'sysORID%'").bind(1, after).run();
            tx.commit();
        });
        walk("1.3.6.1.2.1.1.9.1.2", 1);  // one instance per answer
        ASSERT_GE(grid().getRows(), 4) << "sysORTable has rows on every snmpd";
        for (std::int32_t r = 1; r < grid().getRows(); ++r) {
            const std::string oid = grid().getRowData(r).toString();
            EXPECT_EQ(grid().getTextMatrix(r, 0), (r == 1 ? before : after) + "." + std::to_string(OID::OIDIndex(oid)));
        }
        EXPECT_FALSE(SharedDatabase().inTransaction()) << "the walk's read transaction ended with it";
    }
}

TEST_F(MIBBrowserTest, AgentThatDoesNotAnswerEndsTheBusyStateAfterItsRetries) {
    browser->setIP("127.0.0.1:" + std::to_string(UnusedUdpPort()));
    browser->setCommunity("public");
    browser->SNMP().setTimeout(200);
    browser->SNMP().setRetries(1);
    const auto start = Clock::now();
    ASSERT_TRUE(runToIdle(*browser, [&] { browser->GetOID("1.3.6.1.2.1.1"); }, 5000));
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    EXPECT_GE(elapsed, 390);
    EXPECT_LT(elapsed, 2500);
    EXPECT_FALSE(browser->getBusy());
    EXPECT_EQ(toolkit.getMousePointer(), ui::PointerDefault);
    ASSERT_EQ(grid().getRows(), 2);
    EXPECT_EQ(grid().getTextMatrix(1, kValueColumn), "** unsupported OID **");
}

TEST_F(MIBBrowserTest, OnlyReadWriteValuesAreSetEnumerationsAsNumbersAndEveryValueCanBeReadAgain) {
    walk("1.3.6.1.2.1.1", 2, SnmpAgent::kWriteCommunity);
    const auto contact = rowWithData(grid(), kSysContact), name = rowWithData(grid(), kSysName);
    const auto descr = rowWithData(grid(), kSysDescr);
    ASSERT_TRUE(contact > 0 && name > 0 && descr > 0);
    EXPECT_FALSE(grid().EditCell(descr, kValueColumn));  // read-only
    EXPECT_FALSE(grid().EditCell(0, kValueColumn));      // header
    EXPECT_FALSE(grid().EditCell(contact, kOIDColumn));  // not a value
    EXPECT_FALSE(browser->getBusy()) << "nothing was sent";

    edit(contact, "set by the browser");
    EXPECT_EQ(grid().getTextMatrix(contact, kValueColumn), "set by the browser");
    EXPECT_EQ(grid().getCellForeColor(contact, kValueColumn), kBlue);
    EXPECT_EQ(grid().getCellBackColor(contact, kValueColumn), kLightGrey);
    EXPECT_TRUE(toolkit.Messages().empty());

    edit(name, "renamed");
    ASSERT_EQ(toolkit.Messages().size(), 1u);
    EXPECT_EQ(toolkit.Messages()[0].Prompt, "Could not change sysName.0 to \"renamed\".");
    EXPECT_EQ(toolkit.Messages()[0].Buttons, ui::MsgBoxExclamation);
    EXPECT_EQ(grid().getTextMatrix(name, kValueColumn), SnmpAgent::kSysName);

    NetSnmpSet(kSysContact, 's', "refreshed by the browser");
    browser->setRow(contact);
    ASSERT_TRUE(runToIdle(*browser, [&] {
        browser->RefreshRow();
        EXPECT_EQ(grid().getCellForeColor(contact, kValueColumn), kGreen);
    }));
    EXPECT_EQ(grid().getTextMatrix(contact, kValueColumn), "refreshed by the browser");
    EXPECT_EQ(grid().getCellForeColor(contact, kValueColumn), kBlue);
    EXPECT_EQ(browser->getSelectedParsedValue(), "refreshed by the browser");

    // An enumerated value is chosen from its list and sent as its number.
    browser->Clear();
    walk("1.3.6.1.2.1.11.30", 2, SnmpAgent::kWriteCommunity);  // snmpEnableAuthenTraps
    ASSERT_EQ(grid().getRows(), 2);
    for (const auto& [entry, label, number] : {std::tuple{0, "enabled(1)", "1"}, {1, "disabled(2)", "2"}}) {
        ASSERT_TRUE(grid().EditCell(1, kValueColumn));
        EXPECT_EQ(grid().getComboList(), "#1;enabled(1)|#2;disabled(2)");
        grid().setComboIndex(entry);
        ASSERT_TRUE(runToIdle(*browser, [&] { grid().CommitEdit(); }));
        EXPECT_EQ(grid().getTextMatrix(1, kValueColumn), label);
        EXPECT_EQ(grid().getTextMatrix(1, kRawValueColumn), number);
    }
    EXPECT_EQ(toolkit.Messages().size(), 1u) << "only the warning about sysName";
}

TEST_F(MIBBrowserTest, SelectionIsReportedOnlyWhenIdleAndItsRowDetailed) {
    std::vector<std::string> reported;
    const auto subscription = browser->SelChange.subscribe([&](const std::string& oid) { reported.push_back(oid); });
    walk("1.3.6.1.2.1.1");
    // Rows added during the walk are not reported; the end of the walk reports the current one.
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0], grid().getRowData(grid().getRows() - 1).toString());
    grid().Select(rowWithData(grid(), kSysName), kValueColumn);
    EXPECT_EQ(reported.back(), kSysName);
    EXPECT_EQ(browser->getSelection(), SnmpAgent::kSysName);
    browser->PopupOIDDetails();
    const auto windows = toolkit.OpenWindows();
    ASSERT_EQ(windows.size(), 1u);
    auto* form = dynamic_cast<OIDDetailsForm*>(windows[0]);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Details.getOID(), kSysName);
    EXPECT_NE(form->Details.Details.getText().find(SnmpAgent::kSysName), std::string::npos);
}

// ---- Without an agent

TEST_F(MIBBrowserTest, PortAndColsKeepTheirRangesOnlyANewListRebuildsTheGridAndAMoveIsReported) {
    for (const auto& [given, kept] : {std::pair{0, 161}, {32001, 161}, {32000, 32000}, {1, 1}}) {
        browser->setSNMPPort(given);
        EXPECT_EQ(browser->getSNMPPort(), kept) << given;
    }
    EXPECT_EQ(MIBBrowser::Fields(-1) + MIBBrowser::Fields(12), "");
    browser->setCols("3,1,8,99");
    ASSERT_EQ(grid().getCols(), 4);
    EXPECT_EQ(grid().getTextMatrix(0, 3), "");  // no such field
    EXPECT_EQ(grid().getColWidth(3), -1);

    browser->AddValue(kSysName, "host", "686F7374", "OK", 4);
    browser->setCols("3,1,8,99");
    EXPECT_EQ(grid().getRows(), 2);
    browser->setCols("1,8");
    EXPECT_EQ(grid().getRows(), 1);
    std::string reported;
    const auto subscription = browser->MoveColumn.subscribe([&](const std::string& list) { reported = list; });
    grid().UserMoveColumn(1, 0);
    EXPECT_EQ(reported, "8,1");
    EXPECT_EQ(browser->getCols(), "8,1");
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

    // A read-back shows its value as an answer without error, and warns when it differs from what was set.
    browser->ValueAfterSet("CheckSet,1", "host", "Timeout");
    EXPECT_EQ(grid().getTextMatrix(1, 9), "host");
    EXPECT_EQ(grid().getCellForeColor(1, 9), kBlue);
    ASSERT_EQ(toolkit.Messages().size(), 1u);
    EXPECT_EQ(toolkit.Messages()[0].Prompt, "Could not change sysName.0 to \"noSuchInstance\".");
}

}  // namespace
}  // namespace qlmib::test
