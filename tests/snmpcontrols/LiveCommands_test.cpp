// qlmib walk, next, table and set end to end: the built binary against the
// loopback snmpd, its lines, messages and exit status.

#include <qlmib/mibdata/OID.h>

#include "CommandRun.h"
#include "LiveFixture.h"

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
    EXPECT_EQ(refused.err, "Could not change sysName.0\n\nrenamed\n");
    EXPECT_EQ(refused.out, std::string(SnmpAgent::kSysName) + "\n");

    // An agent that does not answer would make any request show as a timeout.
    const std::string silent = "127.0.0.1:" + std::to_string(UnusedUdpPort());
    const auto readOnly = qlmib({"set", "-t", "3", "-r", "0", "-c", "private", silent, "sysDescr.0", "anything"});
    EXPECT_EQ(readOnly.status, 2);
    EXPECT_EQ(readOnly.err, "qlmib: sysDescr.0 is read-only, not read-write: nothing was sent\n");
    EXPECT_LT(readOnly.milliseconds, 2500);
}

}  // namespace
}  // namespace qlmib::test
