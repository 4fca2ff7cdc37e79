// The browser's own rules without a window: the command line, the recent
// agents, the engine's answers in words and the remembered state.

#include <gtest/gtest.h>

#include <QIcon>
#include <QPixmap>
#include <QStringList>

#include <qlmib/snmp/Engine.h>
#include <qlmib/snmp/Settings.h>

#include "BrowserOptions.h"
#include "BrowserStart.h"
#include "BrowserState.h"
#include "EngineMessages.h"
#include "RecentAgents.h"
#include "TestHome.h"

namespace qlmib::test {
namespace {

using namespace qlmib::browser;

TEST(BrowserOptionsTest, ReadsHomeAgentAndOID) {
    const struct {
        QStringList line;
        std::string home, agent, oid;
        int exitStatus;  // -1: runs
    } cases[] = {
        {{"qlmib-browser"}, "", "", "", -1},
        {{"qlmib-browser", "--home", "/opt/mibs"}, "/opt/mibs", "", "", -1},
        {{"qlmib-browser", "udp6:[::1]:1161"}, "", "udp6:[::1]:1161", "", -1},
        {{"qlmib-browser", "--home=/x", "router:161", "ifTable"}, "/x", "router:161", "ifTable", -1},
        {{"qlmib-browser", "a", "b", "c"}, "", "", "", 2},
        {{"qlmib-browser", "--nonsense"}, "", "", "", 2},
        {{"qlmib-browser", "--home"}, "", "", "", 2},
        {{"qlmib-browser", "--help"}, "", "", "", 0},
    };
    for (const auto& c : cases) {
        const auto result = ParseBrowserOptions(c.line);
        const auto shown = c.line.join(' ').toStdString();
        if (c.exitStatus >= 0) {
            EXPECT_FALSE(result.options) << shown;
            EXPECT_EQ(result.exitStatus, c.exitStatus) << shown;
            EXPECT_NE(result.message.find("AGENT"), std::string::npos) << shown << ": the usage is shown";
            continue;
        }
        ASSERT_TRUE(result.options) << shown << ": " << result.message;
        EXPECT_EQ(result.options->home, c.home) << shown;
        EXPECT_EQ(result.options->agent, c.agent) << shown;
        EXPECT_EQ(result.options->oid, c.oid) << shown;
    }
}

TEST(BrowserIconTest, DrawsAtEverySizeWithQtsOwnImageReaders) {
    const QIcon icon = BrowserIcon();
    ASSERT_FALSE(icon.isNull());
    for (const int size : {16, 32, 48, 128}) EXPECT_EQ(icon.pixmap(size).width(), size) << size;
}

TEST(RecentAgentsTest, KeepsNewestFirstOnceEachAndAtMostTheLimit) {
    auto recent = RecentAgents::FromText("b:161,a,udp6:[::1]:161");
    recent.Remember(" a ");
    recent.Remember("");
    recent.Remember("bad,agent");
    EXPECT_EQ(recent.toText(), "a,b:161,udp6:[::1]:161");
    recent.Forget("b:161");
    EXPECT_EQ(recent.toText(), "a,udp6:[::1]:161");
    for (int i = 0; i < 20; ++i) recent.Remember("host" + std::to_string(i));
    ASSERT_EQ(recent.agents().size(), RecentAgents::kMaxAgents);
    EXPECT_EQ(recent.agents().front(), "host19");
    EXPECT_EQ(RecentAgents::FromText(recent.toText()).toText(), recent.toText());
}

TEST(EngineMessagesTest, TellsFailuresInWords) {
    const struct {
        long code;
        int rows;
        const char* words;  // "" for no failure
    } cases[] = {
        {snmp::ENGINE_OK, 0, ""},
        {snmp::ENGINE_END_OF_MIB_VIEW, 12, ""},
        {snmp::ENGINE_TIMEOUT, 0,
         "No answer from r1: the agent is unreachable, not running, or does not accept the community."},
        {snmp::ENGINE_TIMEOUT, 7, "r1 stopped answering after 7 rows; the rows received are kept."},
        {snmp::ENGINE_ERROR_STATUS + 17, 0, "r1 refused the request: the object is not writable."},
        {snmp::ENGINE_ERROR_STATUS + 16, 0, "r1 refused the request: the community is not allowed to do this."},
        {snmp::ENGINE_BAD_ADDRESS, 0,
         "\"r1\" is not an agent address that can be reached (HOST, HOST:PORT or udp6:[ADDRESS]:PORT)."},
        {snmp::ENGINE_SECURITY, 0, "r1 refused the SNMPv3 credentials. odd."},
        {snmp::ENGINE_ERROR_STATUS + 99, 0, "r1: odd"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DescribeAnswer({c.code, "odd", "r1", c.rows}), c.words) << c.code;
}

TEST(BrowserStateTest, SavesOnlyWhatChangedAndReadsItBack) {
    TestHome home(false);
    Settings settings;
    const auto stored = BrowserState::Load(settings);
    EXPECT_EQ(stored.version, "2c");
    EXPECT_TRUE(stored.agents.agents().empty());
    int writes = 0;
    auto counting = settings.Changed.subscribe([&](const std::string&, const SettingValue&) { ++writes; });
    auto changed = stored;
    changed.currentNode = "1.3.6.1.2.1.2.2";
    changed.agents.Remember("10.0.0.1:1161");
    changed.Save(settings, stored);
    EXPECT_EQ(writes, 2);
    const auto again = BrowserState::Load(Settings{});
    EXPECT_EQ(again.currentNode, "1.3.6.1.2.1.2.2");
    EXPECT_EQ(again.agents.toText(), "10.0.0.1:1161");
    EXPECT_EQ(again.geometry, stored.geometry);
}

}  // namespace
}  // namespace qlmib::test
