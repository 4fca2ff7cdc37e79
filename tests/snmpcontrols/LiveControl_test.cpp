// What both live controls share: the engine set up from the shared Settings
// and following them, the version of each request, the busy state, and the
// ends of a walk on answers snmpd does not give on demand (a scripted agent).
#include <span>

#include <qlmib/snmp/MIBBrowser.h>
#include <qlmib/snmp/MIBTable.h>
#include <qlmib/snmp/Settings.h>

#include "LiveFixture.h"
#include "ScriptedAgent.h"

namespace qlmib::test {
namespace {

using LiveControlTest = LiveTest;
using Reply = ScriptedAgent::Reply;

// A script that answers the n-th request with replies[n], and the rest not at all.
std::function<Reply(const ScriptedAgent::Request&)> inTurn(std::vector<Reply> replies) {
    return [replies, next = size_t{0}](const ScriptedAgent::Request&) mutable {
        return next < replies.size() ? replies[next++] : Reply{false};
    };
}

TEST_F(LiveControlTest, SettingsAreClampedAndEveryChangeReachesBothControls) {
    auto settings = Settings::Shared();
    EXPECT_EQ(settings->setSNMPRetries(9), 5);  // before the controls: they start from it
    MIBBrowser browser(toolkit);
    MIBTable table(toolkit);
    const std::initializer_list<LiveControl*> controls{&browser, &table};
    for (auto* control : controls) EXPECT_EQ(control->SNMP().getRetries(), 5);
    EXPECT_EQ(settings->setSNMPTimeout(50), 100);
    EXPECT_EQ(settings->setSNMPRetries(0), 1);
    for (auto* control : controls) {
        EXPECT_EQ(control->SNMP().getTimeout(), 100);
        EXPECT_EQ(control->SNMP().getRetries(), 1);
        control->setSNMPVersion(2);
    }
    settings->setDisableSNMPV2(true);
    EXPECT_EQ(browser.getSNMPVersion(), 1);
    EXPECT_EQ(table.getSNMPVersion(), 1);
    table.setSNMPVersion(2);  // refused while SNMP v2 is disabled
    EXPECT_EQ(table.getSNMPVersion(), 1);
    settings->setDisableSNMPV2(false);
    EXPECT_EQ(browser.getSNMPVersion(), 1);  // enabling it again changes nothing
}

TEST_F(LiveControlTest, EveryRequestGoesOutWithTheControlsVersion) {
    ScriptedAgent silent(toolkit.eventLoop(), inTurn({}));
    MIBBrowser browser(toolkit);
    browser.setIP(silent.address());
    browser.setCommunity("community");
    Settings::Shared()->setSNMPV2RequestSize(7);
    browser.GetOID("1.3");                       // version 1: GET-NEXT
    browser.setSNMPVersion(2);
    browser.GetOID("1.3");                       // version 2: GET-BULK of 7 repetitions
    browser.GetNextOID(1, "1.3");                // always GET-NEXT, now of version 2
    Settings::Shared()->setDisableSNMPV2(true);  // a walk of version 1 again
    browser.setSNMPVersion(2);
    browser.GetOID("1.3");
    ASSERT_TRUE(toolkit.eventLoop().runUntil([&] { return silent.requests.size() >= 4; }, 5000));
    using Sent = std::vector<std::tuple<int, long, std::string, long>>;  // PDU, version, community, repetitions
    Sent sent;
    for (const auto& r : std::span(silent.requests).first(4))  // not the retransmissions
        sent.emplace_back(r.pduType, r.version, r.community, r.maxRepetitions);
    const std::string c = "community";
    EXPECT_EQ(sent, (Sent{{0xA1, 0, c, 0}, {0xA5, 1, c, 7}, {0xA1, 1, c, 0}, {0xA1, 0, c, 0}}));
}

TEST_F(LiveControlTest, AControlsOwnRequestSizeReplacesTheSettingsUntilCleared) {
    ScriptedAgent silent(toolkit.eventLoop(), inTurn({}));
    MIBBrowser browser(toolkit);
    browser.setIP(silent.address());
    browser.setSNMPVersion(2);
    Settings::Shared()->setSNMPV2RequestSize(7);
    for (const int size : {5, 99, 0}) {  // its own, clamped like the setting, then the setting's
        browser.setRequestSize(size);
        browser.GetOID("1.3");
    }
    ASSERT_TRUE(toolkit.eventLoop().runUntil([&] { return silent.requests.size() >= 3; }, 5000));
    std::vector<long> repetitions;
    for (const auto& r : std::span(silent.requests).first(3)) repetitions.push_back(r.maxRepetitions);
    EXPECT_EQ(repetitions, (std::vector<long>{5, 30, 7}));
}

TEST_F(LiveControlTest, ActivateRestartsOnlyInTheTable) {
    MIBBrowser browser(toolkit);
    MIBTable table(toolkit);
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

// The engine takes an answer that steps back for the end of the walk; like an
// error status, it ends the walk with a row in red that names it.
TEST_F(LiveControlTest, WalkEndsOnAnAnswerThatStepsBackOrFailsWithARowInRed) {
    for (const char errorStatus : {0, 5}) {
        ScriptedAgent agent(toolkit.eventLoop(), inTurn({
            {true, 0, {"1.3.6.1.2.1.1.1.0", "1.3.6.1.2.1.1.2.0"}},
            {true, errorStatus, {errorStatus ? "1.3.6.1.2.1.1.3.0" : "1.3.6.1.2.1.1.2.0"}},
            {true, 0, {"1.3.6.1.2.1.1.4.0"}},  // never asked for
        }));
        MIBBrowser browser(toolkit);
        browser.setCols("0,9");
        browser.setIP(agent.address());
        browser.setSNMPVersion(2);
        ASSERT_TRUE(runToIdle(browser, [&] { browser.GetOID("1.3.6.1.2.1.1"); }));
        EXPECT_EQ(agent.requests.size(), 2u);
        const auto& grid = browser.getTableObject();
        ASSERT_EQ(grid.getRows(), 4);
        EXPECT_EQ(grid.getTextMatrix(3, 0), errorStatus ? "1.3.6.1.2.1.1.3.0" : "1.3.6.1.2.1.1.2.0");
        EXPECT_EQ(grid.getTextMatrix(3, 1), errorStatus ? "genErr" : "OID not increasing");
        EXPECT_EQ(grid.getCellForeColor(3, 1), kRed);
    }
}

TEST_F(LiveControlTest, TableDownloadEndsOnAnAnswerThatStepsBack) {
    ScriptedAgent agent(toolkit.eventLoop(), inTurn({{true, 0, {"1.3.6.1.2.1.2.2.1.1.1", "1.3.6.1.2.1.2.2.1.1.2"}},
                                                     {true, 0, {"1.3.6.1.2.1.2.2.1.1.1"}},
                                                     {true, 0, {"1.3.6.1.2.1.2.2.1.1.3"}}}));
    MIBTable table(toolkit);
    table.setIP(agent.address());
    table.setSNMPVersion(2);
    ASSERT_TRUE(runToIdle(table, [&] { table.GetTable("ifTable"); }));
    EXPECT_EQ(agent.requests.size(), 2u);
    ASSERT_EQ(table.getTableObject().getRows(), 3);
    EXPECT_EQ(table.getTableObject().getTextMatrix(2, 0), "2");
    EXPECT_FALSE(table.getUnSupported());
}

}  // namespace
}  // namespace qlmib::test
