// qlmib walk, table and set over SNMPv3 and saved agents, end to end: the
// built binary against the loopback snmpd's v3 users.

#include <sys/stat.h>

#include "CommandRun.h"
#include "LiveFixture.h"
#include "ScriptedAgent.h"

namespace qlmib::test {
namespace {

class V3CommandsTest : public LiveTest {
protected:
    static std::filesystem::path home() { return CorpusHome()->folder(); }
    static std::filesystem::path settingsFolder() { return home() / "config"; }

    CommandResult qlmib(std::vector<std::string> arguments) { return runQlmib(home(), std::move(arguments)); }

    // qlmib with the passphrases (one a line) readable on descriptor 3.
    CommandResult qlmibWithPassphrases(std::vector<std::string> arguments, const std::string& passphrases) {
        const auto file = home() / "passphrases";
        std::ofstream(file) << passphrases;
        arguments.insert(arguments.begin(), {"-c", "exec \"$0\" \"$@\" 3<" + shellQuote(file.string()), QLMIB_CLI,
                                             "--home", home().string()});
        auto run = runCommand("/bin/sh", arguments, home());
        std::filesystem::remove(file);
        return run;
    }

    // -v 3 and the user's credentials, passphrases on the command line.
    static std::vector<std::string> v3(const SnmpAgent::V3User& user) {
        std::vector<std::string> flags = {"-v", "3", "-u", user.name, "-l", user.level};
        if (!user.auth.empty()) flags.insert(flags.end(), {"-a", user.auth, "-A", SnmpAgent::kAuthPassphrase});
        if (!user.priv.empty()) flags.insert(flags.end(), {"-x", user.priv, "-X", SnmpAgent::kPrivPassphrase});
        return flags;
    }

    static std::vector<std::string> join(std::vector<std::string> a, const std::vector<std::string>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    }

    // Output without the sysUpTime line, which moves between runs.
    static std::string steady(std::string text) {
        const auto at = text.find("\nsysUpTime.0\t");
        if (at != std::string::npos) text.erase(at, text.find('\n', at + 1) - at);
        return text;
    }

    struct RestoreLocation {
        ~RestoreLocation() { NetSnmpSet(kSysLocation, 's', "Unknown"); }
    };
};

TEST_F(V3CommandsTest, EveryLevelWalksDownloadsAndSetsLikeV2c) {
    RestoreLocation restore;
    const auto tableV2c = qlmib({"table", agent().address(), "sysORTable"});
    ASSERT_EQ(tableV2c.status, 0) << tableV2c.err;
    for (const char* level : {"noAuthNoPriv", "authNoPriv", "authPriv"}) {
        SCOPED_TRACE(level);
        // After the SET of the level before.
        const auto walkV2c = qlmib({"walk", agent().address(), "system"});
        const auto flags = v3(SnmpAgent::V3UserOf(level));
        const auto walk = qlmib(join(join({"walk"}, flags), {agent().address(), "system"}));
        EXPECT_EQ(walk.status, 0) << walk.err;
        EXPECT_EQ(steady(walk.out), steady(walkV2c.out));
        const auto table = qlmib(join(join({"table"}, flags), {agent().address(), "sysORTable"}));
        EXPECT_EQ(table.status, 0) << table.err;
        EXPECT_EQ(table.out, tableV2c.out);

        const std::string location = std::string("set over ") + level;
        const auto set = qlmib(join(join({"set"}, flags), {agent().address(), "sysLocation.0", location}));
        EXPECT_EQ(set.status, 0) << set.err;
        EXPECT_EQ(set.out, location + "\n");
        const auto read = NetSnmpWalk("-v2c -c public " + agent().address() + " .1.3.6.1.2.1.1.6.0");
        ASSERT_EQ(read.size(), 1u);
        EXPECT_EQ(read[0].value, location);
    }
}

TEST_F(V3CommandsTest, EachSecurityMistakeSaysWhatWentWrongAndFails) {
    const auto& authUser = SnmpAgent::V3UserOf("authNoPriv");
    const auto& privUser = SnmpAgent::V3UserOf("authPriv");
    const auto withFlag = [](std::vector<std::string> flags, const std::string& flag, const std::string& value) {
        for (size_t i = 0; i + 1 < flags.size(); ++i)
            if (flags[i] == flag) flags[i + 1] = value;
        return flags;
    };
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {withFlag(v3(privUser), "-A", "wrong-auth-phrase"), "Wrong digest"},
        {withFlag(v3(privUser), "-X", "wrong-priv-phrase"), "Decryption error"},
        {withFlag(v3(authUser), "-u", "nobody"), "Unknown user name"},
        {join(withFlag(v3(authUser), "-l", "authPriv"), {"-x", "AES", "-X", SnmpAgent::kPrivPassphrase}),
         "Unsupported security level"},
    };
    for (const auto& [flags, words] : cases) {
        SCOPED_TRACE(words);
        const auto run = qlmib(join(join({"walk", "-t", "0.5", "-r", "1"}, flags), {agent().address(), "system"}));
        EXPECT_NE(run.status, 0);
        EXPECT_NE(run.err.find(words), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find("Timeout"), std::string::npos) << run.err;
        EXPECT_LT(run.milliseconds, 4000);
    }
}

TEST_F(V3CommandsTest, SavedAgentsKeepKeysOrAskAndNeverThePassphrases) {
    const auto& user = SnmpAgent::V3UserOf("authPriv");
    const std::vector<std::string> credentials = {"-v", "3", "-u", user.name, "-l", user.level,
                                                  "-a", user.auth, "-x", user.priv};
    const std::string passphrases =
        std::string(SnmpAgent::kAuthPassphrase) + "\n" + SnmpAgent::kPrivPassphrase + "\n";
    auto add = qlmibWithPassphrases(
        join(join({"agents", "add", "lab", agent().address()}, credentials), {"--save-keys", "--passphrase-fd", "3"}),
        passphrases);
    ASSERT_EQ(add.status, 0) << add.err;
    add = qlmib(join(join({"agents", "add", "ask-me", agent().address()}, credentials), {"--ask"}));
    ASSERT_EQ(add.status, 0) << add.err;
    const auto list = qlmib({"agents", "list"});
    EXPECT_NE(list.out.find("lab\t" + agent().address() + "\tv3\t" + user.name), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("ask-me\t"), std::string::npos) << list.out;

    const auto expected = steady(qlmib({"walk", agent().address(), "system"}).out);
    const auto saved = qlmib({"walk", "--agent", "lab", "system"});
    EXPECT_EQ(saved.status, 0) << saved.err;
    EXPECT_EQ(steady(saved.out), expected);
    const auto asked = qlmibWithPassphrases({"walk", "--agent", "ask-me", "--passphrase-fd", "3", "system"},
                                            passphrases);
    EXPECT_EQ(asked.status, 0) << asked.err;
    EXPECT_EQ(steady(asked.out), expected);

    for (const auto& entry : std::filesystem::recursive_directory_iterator(settingsFolder())) {
        if (!entry.is_regular_file()) continue;
        std::ostringstream text;
        text << std::ifstream(entry.path(), std::ios::binary).rdbuf();
        EXPECT_EQ(text.str().find(SnmpAgent::kAuthPassphrase), std::string::npos) << entry.path();
        EXPECT_EQ(text.str().find(SnmpAgent::kPrivPassphrase), std::string::npos) << entry.path();
    }

    const auto keyFile = settingsFolder() / "agent-keys";
    ASSERT_EQ(::chmod(keyFile.c_str(), 0640), 0);
    const auto refused = qlmib({"walk", "--agent", "lab", "system"});
    EXPECT_NE(refused.status, 0);
    EXPECT_NE(refused.err.find("chmod 600"), std::string::npos) << refused.err;
    ASSERT_EQ(::chmod(keyFile.c_str(), 0600), 0);

    for (const char* name : {"lab", "ask-me"}) EXPECT_EQ(qlmib({"agents", "remove", name}).status, 0);
    EXPECT_EQ(qlmib({"agents", "list"}).out, "");
}

// The agent stays silent: the requests wait in its socket until the test reads them.
TEST_F(V3CommandsTest, ASavedAgentsRequestSizeReplacesTheStoredOne) {
    ScriptedAgent silent(toolkit.eventLoop(), [](const ScriptedAgent::Request&) { return ScriptedAgent::Reply{false}; });
    ASSERT_EQ(qlmib({"agents", "add", "sized", silent.address(), "-v", "2c", "--request-size", "4", "-t", "0.1", "-r",
                     "1"}).status, 0);
    EXPECT_NE(qlmib({"walk", "--agent", "sized", "1.3"}).status, 0);
    EXPECT_NE(qlmib({"walk", "-t", "0.1", "-r", "0", silent.address(), "1.3"}).status, 0);
    EXPECT_EQ(qlmib({"agents", "remove", "sized"}).status, 0);
    ASSERT_TRUE(toolkit.eventLoop().runUntil([&] { return silent.requests.size() >= 3; }, 2000));

    const auto stored = qlmib({"settings"}).out;
    const auto at = stored.find("SNMP V2 Request Size\t");
    ASSERT_NE(at, std::string::npos) << stored;
    const long storedSize = std::stol(stored.substr(at + std::string_view("SNMP V2 Request Size\t").size()));
    ASSERT_NE(storedSize, 4);
    std::vector<long> repetitions;
    for (const auto& request : silent.requests) {
        EXPECT_EQ(request.pduType, 0xA5);
        repetitions.push_back(request.maxRepetitions);
    }
    EXPECT_EQ(repetitions, (std::vector<long>{4, 4, storedSize}));  // a retry, then the plain walk
}

}  // namespace
}  // namespace qlmib::test
