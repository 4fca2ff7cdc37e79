// qlmib walk, next, table and set end to end: the built binary against the
// loopback snmpd, its lines, messages and exit status.

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <thread>

#include <qlmib/mibdata/OID.h>

#include "CommandRun.h"
#include "LiveFixture.h"
#include "ScriptedAgent.h"

namespace qlmib::test {
namespace {

class LiveCommandsTest : public LiveTest {
protected:
    // Runs `qlmib ARGUMENTS` on the corpus database.
    test::CommandResult qlmib(std::vector<std::string> arguments) {
        return test::runQlmib(CorpusHome()->folder(), std::move(arguments));
    }

    static std::vector<std::string> lines(const std::string& text) {
        std::vector<std::string> out;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);) out.push_back(line);
        return out;
    }

    // What the value parser makes of the agent's sysObjectID.
    static std::string objectIDName() {
        const auto value = NetSnmpWalk("-v2c -c public " + agent().address() + " .1.3.6.1.2.1.1.2.0").at(0).value;
        OID object;
        object.setOID(value);
        return object.getName();
    }
};

TEST_F(LiveCommandsTest, WalkPrintsOneLinePerInstanceLikeSnmpwalkAndNextTheInstancesAfter) {
    for (const char* version : {"1", "2c"}) {
        const auto run = qlmib({"walk", "-v", version, "--cols", "0,9", agent().address(), "system"});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out.find('\r'), std::string::npos);
        const auto printed = lines(run.out);
        const auto expected = NetSnmpWalk("-v2c -c public " + agent().address() + " .1.3.6.1.2.1.1");
        ASSERT_EQ(printed.size(), expected.size() + 1) << version;
        EXPECT_EQ(printed[0], "OID\tRaw Value");
        for (size_t i = 0; i < expected.size(); ++i) EXPECT_TRUE(printed[i + 1].starts_with(expected[i].oid + "\t"));
    }
    const auto named = qlmib({"walk", agent().address(), "SNMPv2-MIB::sysName"});
    EXPECT_EQ(named.out, std::string("OID Name\tValue\nsysName.0\t") + SnmpAgent::kSysName + "\n");

    const auto next = lines(qlmib({"next", agent().address(), "sysDescr.0"}).out);
    ASSERT_EQ(next.size(), 3u);
    EXPECT_EQ(next[0], "OID Name\tValue");
    EXPECT_EQ(next[1], "sysObjectID.0\t" + objectIDName());
    EXPECT_TRUE(next[2].starts_with("sysUpTime.0\t"));
    EXPECT_EQ(lines(qlmib({"next", "-v", "1", agent().address(), kSysDescr, "3"}).out).size(), 1u + 4u);
}

TEST_F(LiveCommandsTest, WalkWritesBlanksForTabsAndLineBreaksAndLatin1ForOtherBytes) {
    // Other tests compare sysLocation with snmpwalk's text: leave it printable.
    struct Restore {
        ~Restore() { NetSnmpSet(kSysLocation, 's', "Unknown"); }
    } restore;
    for (const auto& [hex, shown] :
         {std::pair{"61 09 62 0D 0A 63", "a b  c"}, std::pair{"E9 74 E9", "\xC3\xA9t\xC3\xA9"}}) {
        NetSnmpSet(kSysLocation, 'x', hex);
        const auto run = qlmib({"walk", agent().address(), "sysLocation"});
        EXPECT_EQ(run.out, std::string("OID Name\tValue\nsysLocation.0\t") + shown + "\n");
    }
}

TEST_F(LiveCommandsTest, AgentThatDoesNotAnswerFailsAfterTheGivenTimeoutAndRetries) {
    const std::string silent = "127.0.0.1:" + std::to_string(UnusedUdpPort());
    const auto once = qlmib({"walk", "-t", "0.8", "-r", "0", silent, "system"});
    EXPECT_EQ(once.status, 1);
    EXPECT_NE(once.err.find("Timeout"), std::string::npos) << once.err;
    const auto twice = qlmib({"walk", "-t", "0.8", "-r", "1", silent, "system"});
    EXPECT_EQ(twice.status, 1);
    EXPECT_GE(twice.milliseconds - once.milliseconds, 500);  // one more wait of 800 ms
    EXPECT_LT(twice.milliseconds, 5000);
}

TEST_F(LiveCommandsTest, TableSortsPivotsListsAndFailsWithItsMessage) {
    const auto plain = qlmib({"table", agent().address(), "ifTable"});
    ASSERT_EQ(plain.status, 0) << plain.err;
    ASSERT_GT(lines(plain.out).size(), 1u);
    EXPECT_TRUE(plain.out.starts_with("Index\tifIndex\tifDescr\tifType\t"));

    const auto sorted = lines(qlmib({"table", "--sort", "2", agent().address(), "ifTable"}).out);
    std::vector<std::string> names;
    for (size_t i = 1; i < sorted.size(); ++i)  // from the second column on
        names.push_back(sorted[i].substr(sorted[i].find('\t', sorted[i].find('\t') + 1)));
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));

    const auto pivoted = lines(qlmib({"table", "--pivot", agent().address(), "ifTable"}).out);
    EXPECT_EQ(pivoted.size(), 1u + 22u);  // one line per ifTable column
    EXPECT_TRUE(pivoted[2].starts_with("ifDescr\t"));

    const auto list = qlmib({"table", agent().address(), "--list", "sysName,sysObjectID"});
    ASSERT_EQ(list.status, 0) << list.err;
    EXPECT_EQ(list.out,
              std::string("Index\tsysName\tsysObjectID\n0\t") + SnmpAgent::kSysName + "\t" + objectIDName() + "\n");

    const auto unknown = qlmib({"table", agent().address(), "noSuchTable"});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.err, "noSuchTable is not a valid MIB specification.\n");
    EXPECT_EQ(unknown.out, "");
    const auto absent = qlmib({"table", agent().address(), "dot1dTpFdbTable"});
    EXPECT_EQ(absent.status, 1);
    EXPECT_EQ(absent.err, "dot1dTpFdbTable\n is not supported on \n" + agent().address() + "\n");
}

TEST_F(LiveCommandsTest, WalkAndTableExportTheirGridThroughTheExportEngine) {
    const auto folder = CorpusHome()->folder();
    for (const auto& [command, object, header] : {std::tuple{"walk", "sysName", "OID Name,Value"},
                                                  std::tuple{"table", "ifTable", "Index,ifIndex,ifDescr,ifType,"}}) {
        const auto path = (folder / (std::string(command) + ".csv")).string();
        const auto run = qlmib({command, "--export", "csv", "-o", path, agent().address(), object});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, "");
        std::ostringstream written;
        written << std::ifstream(path, std::ios::binary).rdbuf();
        EXPECT_TRUE(written.str().starts_with(header)) << written.str();
        const auto printed = qlmib({command, agent().address(), object});
        EXPECT_EQ(lines(written.str()).size(), lines(printed.out).size()) << command;
    }
}

TEST_F(LiveCommandsTest, SetPrintsTheValueReadBackOrWhyNot) {
    const auto run = qlmib({"set", "-c", "private", agent().address(), "sysContact.0", "set by the command"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "set by the command\n");
    for (const auto& [value, shown] : {std::pair{"enabled", "enabled(1)"}, std::pair{"2", "disabled(2)"}}) {
        const auto enumerated = qlmib({"set", "-c", "private", agent().address(), "snmpEnableAuthenTraps.0", value});
        EXPECT_EQ(enumerated.status, 0) << enumerated.err;
        EXPECT_EQ(enumerated.out, std::string(shown) + "\n");
    }
    EXPECT_EQ(qlmib({"set", "-c", "private", agent().address(), "snmpEnableAuthenTraps.0", "sideways"}).status, 2);

    const auto refused = qlmib({"set", "-c", "private", agent().address(), kSysName, "renamed"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "Could not change sysName.0\n\nrenamed\nqlmib: " + agent().address() +
                               " refused the value: notWritable\n");
    EXPECT_EQ(refused.out, std::string(SnmpAgent::kSysName) + "\n");

    // An agent that does not answer would make any request show as a timeout.
    const std::string silent = "127.0.0.1:" + std::to_string(UnusedUdpPort());
    const auto readOnly = qlmib({"set", "-t", "3", "-r", "0", "-c", "private", silent, "sysDescr.0", "anything"});
    EXPECT_EQ(readOnly.status, 2);
    EXPECT_EQ(readOnly.err, "qlmib: sysDescr.0 is read-only, not read-write: nothing was sent\n");
    EXPECT_LT(readOnly.milliseconds, 2500);
}

// A walk that does not get all it asked for fails, and says why.
TEST_F(LiveCommandsTest, AWalkCutShortByTheAgentOrWithAnUnknownRootFails) {
    for (const auto& [status, reason] : {std::pair{char(5), "genErr"}, std::pair{char(16), "authorizationError"}}) {
        // The first answer gives one instance, the second the error.
        ScriptedAgent scripted(toolkit.eventLoop(), [&, answered = 0](const ScriptedAgent::Request&) mutable {
            return ++answered == 1 ? ScriptedAgent::Reply{true, 0, {"1.3.6.1.2.1.1.1.0"}}
                                   : ScriptedAgent::Reply{true, status, {"1.3.6.1.2.1.1.1.0"}};
        });
        test::CommandResult run{};
        std::atomic<bool> done = false;
        std::thread command([&] {
            run = qlmib({"walk", "-t", "2", "-r", "0", "--cols", "0", scripted.address(), "1.3.6.1.2.1.1"});
            done = true;
        });
        while (!done) toolkit.eventLoop().runUntil([&] { return done.load(); }, 50);
        command.join();
        EXPECT_EQ(run.status, 1) << reason;
        EXPECT_TRUE(run.out.starts_with("OID\n1.3.6.1.2.1.1.1.0\n")) << "the rows before the error stay";
        EXPECT_EQ(run.err, "qlmib: " + scripted.address() + ": " + reason + "\n");
    }
    const auto unknown = qlmib({"walk", agent().address(), "1.2.3.x"});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_NE(unknown.err.find("1.2.3.x"), std::string::npos) << unknown.err;
}

TEST_F(LiveCommandsTest, AStoredRequestSizeBelowOneFailsBulkWalksOnly) {
    const std::filesystem::path config = std::getenv("QLMIB_CONFIG_HOME");
    std::filesystem::create_directories(config);
    struct Restore {
        std::filesystem::path file;
        ~Restore() { std::filesystem::remove(file); }
    } restore{config / "settings.ini"};
    for (const char* size : {"0", "-3"}) {
        std::ofstream(restore.file) << "[ Quellon MIB Tree/Settings]\nSNMP V2 Request Size=" << size << "\n";
        for (const char* command : {"walk", "table"}) {
            const auto run = qlmib({command, agent().address(), command == std::string("walk") ? "system" : "ifTable"});
            EXPECT_EQ(run.status, 1) << command;
            EXPECT_EQ(run.out, "");
            EXPECT_NE(run.err.find(std::string("SNMP V2 Request Size is ") + size), std::string::npos) << run.err;
        }
        EXPECT_EQ(qlmib({"walk", "-v", "1", agent().address(), "system"}).status, 0) << "SNMPv1 sends no bulk request";
    }
}

TEST_F(LiveCommandsTest, TransportPrefixesAsNetSnmpTakesThem) {
    SnmpAgent everywhere(true);  // UDP and TCP, IPv4 and IPv6
    const std::string port = std::to_string(everywhere.port());
    for (const std::string& address :
         {"udp:127.0.0.1:" + port, "tcp:127.0.0.1:" + port, "TCP:localhost:" + port, "tcp6:[::1]:" + port}) {
        const auto run = qlmib({"walk", address, "sysName"});
        EXPECT_EQ(run.status, 0) << address << ": " << run.err;
        EXPECT_EQ(run.out, std::string("OID Name\tValue\nsysName.0\t") + SnmpAgent::kSysName + "\n") << address;
    }
}

TEST_F(LiveCommandsTest, SettingsListsAndChangesTheStoredSnmpSettingsWithinTheirRanges) {
    const auto listed = qlmib({"settings"});
    EXPECT_EQ(listed.status, 0) << listed.err;
    EXPECT_TRUE(listed.out.starts_with("SNMP Timeout\t1500\nSNMP Retries\t2\nSNMP V2 Request Size\t10\n"
                                       "Disable SNMP V2\tFalse\nICMP Data\tQuellon.Net  Quellon MIB Tree version "))
        << listed.out;
    struct Restore {
        ~Restore() { std::filesystem::remove(std::filesystem::path(std::getenv("QLMIB_CONFIG_HOME")) / "settings.ini"); }
    } restore;
    const struct {
        std::vector<std::string> arguments;
        int status;
        std::string out;
    } cases[] = {
        {{"SNMP Timeout", "50"}, 0, "SNMP Timeout\t100\n"},
        {{"snmp-retries", "9"}, 0, "SNMP Retries\t5\n"},
        {{"snmp_v2_request_size", "-1e12"}, 0, "SNMP V2 Request Size\t2\n"},
        {{"Disable SNMP V2", "true"}, 0, "Disable SNMP V2\tTrue\n"},
        {{"ICMP Data", "ping, pong"}, 0, "ICMP Data\tping, pong\n"},
        {{"SNMP Timeout", "soon"}, 2, ""},
        {{"Disable SNMP V2", "maybe"}, 2, ""},
        {{"SNMP Colour", "1"}, 2, ""},
    };
    for (const auto& c : cases) {
        auto arguments = c.arguments;
        arguments.insert(arguments.begin(), "settings");
        const auto run = qlmib(arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments[0] << " " << c.arguments[1];
        EXPECT_EQ(run.out, c.out) << c.arguments[0] << " " << c.arguments[1];
    }
    EXPECT_EQ(qlmib({"settings"}).out, "SNMP Timeout\t100\nSNMP Retries\t5\nSNMP V2 Request Size\t2\n"
                                      "Disable SNMP V2\tTrue\nICMP Data\tping, pong\n");
}

}  // namespace
}  // namespace qlmib::test
