// `qlmib tree` and `qlmib search` as a user runs them on a small database:
// what they print, the messages on standard error and the exit status.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "CommandRun.h"
#include "TreeControlFixture.h"

namespace qlmib {
namespace {

class TreeCommands : public test::TreeDatabase {
protected:
    test::CommandResult qlmib(std::vector<std::string> arguments) {
        return test::runQlmib(home.folder(), std::move(arguments));
    }
};

TEST_F(TreeCommands, TreePrintsTheRefreshedTreeASubtreeOpenedToADepthOrAModule) {
    const auto whole = qlmib({"tree"});
    EXPECT_EQ(whole.status, 0) << whole.err;
    EXPECT_EQ(whole.out,
              "ccitt (0)\n\tzeroDotZero (0)\niso (1)\n\tstd (0)\n\tmember-body (2)\n\t\tus (840)\n\torg (3)\n"
              "\t\tdod (6)\n\t\t\tinternet (1)\n\t\t\t\tdirectory (1)\n\t\t\t\tmgmt (2)\n\t\t\t\tprivate (4)\n"
              "\t\t\t\tsnmpV2 (6)\n");
    EXPECT_EQ(whole.err, "");

    const auto subtree = qlmib({"tree", "--root", "1.3.6.1.2.1", "--depth", "2", "--format", "1"});
    EXPECT_EQ(subtree.status, 0) << subtree.err;
    EXPECT_EQ(subtree.out,
              "0\n0.0\n1\n1.0\n1.2\n1.2.840\n1.3\n1.3.6\n1.3.6.1\n1.3.6.1.1\n1.3.6.1.2\n1.3.6.1.2.1\n"
              "1.3.6.1.2.1.1\n1.3.6.1.2.1.1.1\n1.3.6.1.2.1.1.2\n1.3.6.1.2.1.2\n1.3.6.1.2.1.2.1\n1.3.6.1.2.1.2.2\n"
              "1.3.6.1.4\n1.3.6.1.6\n")
        << "system and interfaces open, ifTable (three levels down) closed";
    const auto missing = qlmib({"tree", "--root", "9.9"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, "qlmib: 9.9 is not in the MIB database\n");

    const auto quoted = qlmib({"tree", "--module", test::kQuoteModule, "--format", "9"});
    EXPECT_EQ(quoted.status, 0) << quoted.err;
    EXPECT_NE(quoted.out.find("#define\tOID_acmeEntry\t\"1.3.6.1.4.1.9999.1.2.3\"\n"
                              "#define\tOID_o'brien\"s\t\"1.3.6.1.4.1.9999.1.2.3.4\"\n"),
              std::string::npos)
        << quoted.out;
    EXPECT_EQ(quoted.out.find("OID_system"), std::string::npos) << "another module's branch";

    test::TestHome noDatabase(false);
    const auto unopened = test::runQlmib(noDatabase.folder(), {"tree"});
    EXPECT_EQ(unopened.status, 1);
    EXPECT_EQ(unopened.out, "ccitt (0)\niso (1)\n");
    EXPECT_EQ(unopened.err.rfind("Cannot open MIB Database (" + noDatabase.databasePath() + ")\n", 0), 0u)
        << unopened.err;
}

TEST_F(TreeCommands, SearchPrintsHitsDetailsAndItsMessages) {
    const auto names = qlmib({"search", "--name", "o'brien*"});
    EXPECT_EQ(names.status, 0) << names.err;
    EXPECT_EQ(names.out, "O'REILLY\"MIB\to'brien\"s\t1.3.6.1.4.1.9999.1.2.3.4\n");

    EXPECT_EQ(qlmib({"search", "--keywords", "desired"}).out, "IF-MIB\tifAdminStatus\t1.3.6.1.2.1.2.2.1.7\n");
    const auto modules = qlmib({"search", "--mibs", "SNMPv2-M*"});
    EXPECT_EQ(modules.out.substr(0, modules.out.find('\n')), "SNMPv2-MIB\tcoldStart\t1.3.6.1.6.3.1.1.5.1")
        << "a field left out is empty";

    const auto miss = qlmib({"search", "--name", "nothing*"});
    EXPECT_EQ(miss.status, 1);
    EXPECT_EQ(miss.out, "");
    EXPECT_EQ(miss.err, "Searched string was not found\n");

    const auto details = qlmib({"search", "--oid", "1.3.6.1.2.1.1.1"});
    EXPECT_EQ(details.status, 0) << details.err;
    EXPECT_EQ(details.out.substr(0, 52), "MIB \tSNMPv2-MIB\nName \tsysDescr\n\niso.org.dod.internet");
    EXPECT_EQ(details.out.find('\r'), std::string::npos);
}

TEST_F(TreeCommands, ModuleAndNameWithTwoColonsAsNetSnmpWritesThem) {
    const std::vector<std::vector<std::string>> commands = {{"show"}, {"translate"}, {"parse", "abc"}};
    for (const auto& command : commands) {
        auto withTwo = command, withOne = command;
        withTwo.insert(withTwo.begin() + 1, "SNMPv2-MIB::sysDescr");
        withOne.insert(withOne.begin() + 1, "SNMPv2-MIB:sysDescr");
        const auto two = qlmib(withTwo), one = qlmib(withOne);
        EXPECT_EQ(two.status, 0) << command[0] << ": " << two.err;
        EXPECT_EQ(two.out, one.out) << command[0];
        EXPECT_NE(two.out, "") << command[0];
    }
}

TEST_F(TreeCommands, ShowReachesEveryDetailsLayout) {
    const auto a = qlmib({"show", "ifAdminStatus"}), b = qlmib({"show", "--layout", "B", "ifAdminStatus"});
    const auto c = qlmib({"show", "--layout", "c", "--value", "2", "ifAdminStatus.1"});
    for (const auto* run : {&a, &b, &c}) EXPECT_EQ(run->status, 0) << run->err;
    EXPECT_NE(a.out.find("Units \t"), std::string::npos);
    EXPECT_NE(a.out.find("Possible Values :"), std::string::npos);
    EXPECT_EQ(b.out.find("Units \t"), std::string::npos);
    EXPECT_EQ(b.out.find("Possible Values :"), std::string::npos);
    EXPECT_TRUE(b.out.starts_with("IF-MIB:ifAdminStatus\n\nOID \t1.3.6.1.2.1.2.2.1.7\n")) << b.out;
    EXPECT_TRUE(c.out.starts_with("MIB \tIF-MIB\nName \tifAdminStatus.1\n")) << c.out;
    EXPECT_NE(c.out.find("Value \t2\n  \tdown(2)\n"), std::string::npos) << c.out;
    EXPECT_TRUE(qlmib({"show", "--layout", "B", "--rtf", "sysDescr"}).out.starts_with("{\\rtf1"));
    EXPECT_EQ(qlmib({"show", "--value", "2", "ifAdminStatus"}).status, 2) << "a value belongs to layout C";
}

// --export writes through the export engine what the command would print.
TEST_F(TreeCommands, ExportWritesTheFileInTheFormatAsked) {
    const auto file = [&](const std::string& name) { return (home.folder() / name).string(); };
    const auto slurp = [](const std::string& path) {
        std::ostringstream text;
        text << std::ifstream(path, std::ios::binary).rdbuf();
        return text.str();
    };
    const auto withoutCr = [](std::string text) {
        std::erase(text, '\r');
        return text;
    };
    const auto hits = qlmib({"search", "--name", "sys*"});
    const auto tree = qlmib({"tree", "--module", "IF-MIB", "--format", "2"});
    const struct {
        std::vector<std::string> arguments;
        std::string name, expectedStart;
        std::string sameAs;  // the printed output the file holds, when not empty
    } cases[] = {
        {{"search", "--name", "sys*", "--export", "txt", "-o"}, "hits.txt", "", hits.out},
        {{"tree", "--module", "IF-MIB", "--format", "2", "--export", "TXT", "-o"}, "tree.txt", "", tree.out},
        {{"show", "sysDescr", "--export", "rtf", "-o"}, "details.rtf", "{\\rtf1", ""},
        {{"show", "sysDescr", "--export", "html", "-o"}, "details", "<!DOCTYPE html>", ""},
        {{"search", "--oid", "1.3.6.1.2.1.1.1", "--export", "html", "-o"}, "found.html", "<!DOCTYPE html>", ""},
    };
    for (const auto& c : cases) {
        auto arguments = c.arguments;
        arguments.push_back(file(c.name));
        const auto run = qlmib(arguments);
        EXPECT_EQ(run.status, 0) << c.name << ": " << run.err;
        EXPECT_EQ(run.out, "") << c.name;
        const auto written = slurp(std::filesystem::exists(file(c.name)) ? file(c.name) : file(c.name) + ".html");
        if (!c.sameAs.empty()) {
            EXPECT_EQ(withoutCr(written), c.sameAs) << c.name;
        } else {
            EXPECT_TRUE(written.starts_with(c.expectedStart)) << c.name << ": " << written.substr(0, 80);
            EXPECT_NE(written.find("sysDescr"), std::string::npos) << c.name;
        }
    }
    const auto nowhere = qlmib({"show", "sysDescr", "--export", "txt", "-o", file("missing/folder/x.txt")});
    EXPECT_EQ(nowhere.status, 1);
    EXPECT_EQ(nowhere.err, "qlmib: the txt export to " + file("missing/folder/x.txt") + " failed\n");
    EXPECT_NE(qlmib({"show", "sysDescr", "--export", "csv", "-o", file("x.csv")}).status, 0) << "csv is for tables";
    EXPECT_NE(qlmib({"show", "sysDescr", "--export", "txt"}).status, 0) << "no file named";
}

}  // namespace
}  // namespace qlmib
