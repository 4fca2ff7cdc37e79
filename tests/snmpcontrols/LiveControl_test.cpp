// What both live controls share: the engine set up from the shared Settings
// and following them, the version of each request, the busy state, and the
// ends of a walk on answers snmpd does not give on demand.
#include <qlmib/snmp/MIBBrowser.h>
#include <qlmib/snmp/MIBTable.h>
#include <qlmib/snmp/Settings.h>

#include "LiveFixture.h"
#include "ScriptedEngine.h"

namespace qlmib::test {
namespace {

using Reply = ScriptedEngine::Reply;

class LiveControlTest : public LiveTest {
protected:
    std::unique_ptr<snmp::Engine> scripted(std::deque<Reply> script) {
        return std::make_unique<ScriptedEngine>(toolkit.eventLoop(), std::move(script), requests);
    }

    std::vector<ScriptedEngine::Request> requests;
};

TEST_F(LiveControlTest, SettingsAreClampedAndEveryChangeReachesBothControls) {
    MIBBrowser browser(toolkit);
    MIBTable table(toolkit);
    auto settings = Settings::Shared();
    EXPECT_EQ(browser.SNMP().getTimeout(), 1500);
    EXPECT_EQ(table.SNMP().getRetries(), 2);

    EXPECT_EQ(settings->setSNMPTimeout(50), 100);
    EXPECT_EQ(settings->setSNMPRetries(9), 5);
    for (auto* control : std::initializer_list<LiveControl*>{&browser, &table}) {
        EXPECT_EQ(control->SNMP().getTimeout(), 100);
        EXPECT_EQ(control->SNMP().getRetries(), 5);
    }
    browser.setSNMPVersion(2);
    table.setSNMPVersion(2);
    settings->setDisableSNMPV2(true);
    EXPECT_EQ(browser.getSNMPVersion(), 1);
    EXPECT_EQ(table.getSNMPVersion(), 1);
    table.setSNMPVersion(2);  // refused while SNMP v2 is disabled
    EXPECT_EQ(table.getSNMPVersion(), 1);
    settings->setDisableSNMPV2(false);
    EXPECT_EQ(browser.getSNMPVersion(), 1);  // enabling it again changes nothing
}

TEST_F(LiveControlTest, EveryRequestGoesOutWithTheControlsVersion) {
    auto settings = Settings::Shared();
    MIBBrowser browser(toolkit, scripted({}));
    browser.setIP("agent");
    browser.setCommunity("community");
    browser.GetOID("1.3");                           // version 1: GET-NEXT
    browser.setSNMPVersion(2);
    browser.GetOID("1.3");                           // version 2: GET-BULK
    browser.GetNextOID(1, "1.3");                    // always GET-NEXT, now of version 2
    browser.SetupTable();
    settings->setDisableSNMPV2(true);                // a walk of version 1 again
    browser.setSNMPVersion(2);
    browser.GetOID("1.3");
    ASSERT_EQ(requests.size(), 4u);
    const std::vector<std::pair<std::string, int>> expected = {
        {"GetNext", 1}, {"GetBulk", 2}, {"GetNext", 2}, {"GetNext", 1}};
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(requests[i].command, expected[i].first) << i;
        EXPECT_EQ(requests[i].version, expected[i].second) << i;
        EXPECT_EQ(requests[i].community, "community") << i;
    }
}

TEST_F(LiveControlTest, ActivateRestartsOnlyInTheTable) {
    MIBBrowser browser(toolkit, scripted({}));
    MIBTable table(toolkit, scripted({}));
    int browserStarts = 0, tableStarts = 0;
    const auto a = browser.Active.subscribe([&](bool status) { browserStarts += status; });
    const auto b = table.Active.subscribe([&](bool status) { tableStarts += status; });
    for (int i = 0; i < 2; ++i) {
        browser.Activate();
        table.Activate();
    }
    EXPECT_EQ(browserStarts, 1);
    EXPECT_EQ(tableStarts, 2);
    EXPECT_EQ(toolkit.getMousePointer(), ui::PointerHourglass);
    // Nothing is pending: the next tick ends both.
    EXPECT_TRUE(toolkit.eventLoop().runUntil([&] { return toolkit.getMousePointer() == ui::PointerDefault; }, 2000));
}

TEST_F(LiveControlTest, WalkEndsQuietlyOnAnAnswerThatStepsBack) {
    MIBBrowser browser(toolkit, scripted({
        {{"1.3.6.1.2.1.1.1.0", "1.3.6.1.2.1.1.2.0"}, {"a", "b"}},
        {{"1.3.6.1.2.1.1.2.0"}, {""}, snmp::ENGINE_OID_NOT_INCREASING, "OID not increasing"},
        {{"1.3.6.1.2.1.1.3.0"}, {"never asked for"}},
    }));
    browser.setCols("0,9");
    browser.setSNMPVersion(2);
    ASSERT_TRUE(runToIdle(browser, [&] { browser.GetOID("1.3.6.1.2.1.1"); }, 2000));
    EXPECT_EQ(requests.size(), 2u);
    ASSERT_EQ(browser.getTableObject().getRows(), 3);
    EXPECT_EQ(browser.getTableObject().getTextMatrix(2, 1), "b");
    EXPECT_FALSE(browser.getBusy());
}

TEST_F(LiveControlTest, ErrorMidWalkEndsItWithTheErrorInRed) {
    MIBBrowser browser(toolkit, scripted({
        {{"1.3.6.1.2.1.1.1.0"}, {"a"}},
        {{"1.3.6.1.2.1.1.1.0"}, {""}, snmp::ENGINE_ERROR_STATUS + 5, "genErr"},
    }));
    browser.setCols("0,10");
    ASSERT_TRUE(runToIdle(browser, [&] { browser.GetOID("1.3.6.1.2.1.1"); }, 2000));
    const auto& grid = browser.getTableObject();
    ASSERT_EQ(grid.getRows(), 3);
    EXPECT_EQ(grid.getTextMatrix(2, 1), "genErr");
    EXPECT_EQ(grid.getCellForeColor(2, 1), kRed);
    EXPECT_EQ(requests.size(), 2u);
}

TEST_F(LiveControlTest, TableDownloadEndsOnAnAnswerThatStepsBack) {
    MIBTable table(toolkit, scripted({
        {{"1.3.6.1.2.1.2.2.1.1.1", "1.3.6.1.2.1.2.2.1.1.2"}, {"1", "2"}},
        {{"1.3.6.1.2.1.2.2.1.1.1"}, {""}, snmp::ENGINE_OID_NOT_INCREASING, "OID not increasing"},
    }));
    table.setSNMPVersion(2);
    ASSERT_TRUE(runToIdle(table, [&] { table.GetTable("ifTable"); }, 2000));
    EXPECT_EQ(requests.size(), 2u);
    EXPECT_EQ(table.getTableObject().getRows(), 3);
    EXPECT_EQ(table.getTableObject().getTextMatrix(2, 1), "2");
    EXPECT_FALSE(table.getUnSupported());
}

}  // namespace
}  // namespace qlmib::test
