// `qlmib mibx` as a user runs it: a file's tree in a format, an object's
// details, the file's problems on standard error, and a file that
// `qlmib compile` wrote from a real MIB.

#include <gtest/gtest.h>

#include "CommandRun.h"
#include "MibxTreeFixture.h"

namespace qlmib {
namespace {

class MibxCommand : public test::MibxTreeFixture {
protected:
    test::CommandResult qlmib(std::vector<std::string> arguments) {
        return test::runQlmib(home.folder(), std::move(arguments));
    }
};

TEST_F(MibxCommand, PrintsTheTreeOfAFileAndReportsWhatCouldNotBePlaced) {
    const auto tree = qlmib({"mibx", acme});
    EXPECT_EQ(tree.status, 1) << "the file had a problem";
    EXPECT_EQ(tree.out, "ccitt (0)\niso (1)\n\torg (3)\n\t\tdod (6)\n\t\t\tinternet (1)\n\t\t\t\tprivate (4)\n"
                        "\t\t\t\t\tenterprises (1)\n\t\t\t\t\t\tacme (9999)\n\t\t\t\t\t\t\tacmeLast (3)\n"
                        "\t\t\t\t\t\t\tacmeTable (1)\n\t\t\t\t\t\t\t\tacmeEntry (1)\n\t\t\t\t\t\t\t\t\tacmeValue (1)\n"
                        "\t\t\t\t\t\t\tacmeTrap (2)\n");
    EXPECT_EQ(tree.err, "Cannot load tree for acmeLost (1.3.6.1.4.1.8888.5.1)\n");

    const auto clean = write("clean.mibx", test::MIBX("<acme><OID>1.3.6.1.4.1.9999</OID><SYNTAX/></acme>"
                                                      "<acmeTrap><OID>1.3.6.1.4.1.9999.2</OID><SYNTAX>TRAP</SYNTAX></acmeTrap>",
                                                      "ACME-MIB"));
    const auto oids = qlmib({"mibx", clean, "--format", "6"});
    EXPECT_EQ(oids.status, 0) << oids.err;
    EXPECT_EQ(oids.out, "\t\n\t\nSNMPv2-SMI:org\t1.3\nSNMPv2-SMI:dod\t1.3.6\nSNMPv2-SMI:internet\t1.3.6.1\n"
                        "SNMPv2-SMI:private\t1.3.6.1.4\nSNMPv2-SMI:enterprises\t1.3.6.1.4.1\n"
                        "SNMPv2-SMI:enterprises.9999\t1.3.6.1.4.1.9999\nSNMPv2-SMI:enterprises.9999.2\t1.3.6.1.4.1.9999.2\n")
        << "full names come from the database, where the roots and the file's objects are not";
}

TEST_F(MibxCommand, PrintsTheDetailsOfAnObjectOfTheFile) {
    const auto details = qlmib({"mibx", acme, "--details", "acmeValue"});
    EXPECT_EQ(details.out, "ACME-MIB:acmeValue\n\nValue \t42\nOID \t1.3.6.1.4.1.9999.1.1.1\nType \tInteger32\n"
                           "Access \tread-only\nStatus \tcurrent\n\nThe value.\n\nFrom " + acme + "\n\n");
    const auto missing = qlmib({"mibx", acme, "--details", "enterprises"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("qlmib: enterprises is not an object of " + acme + "\n"), std::string::npos);
}

TEST_F(MibxCommand, ShowsAFileCompiledFromARealMib) {
    const auto corpus = test::corpusFolder();
    if (corpus.empty()) GTEST_SKIP() << "the MIB corpus ../shared/mibs is absent";
    test::TestHome real(false);
    const auto built = test::runQlmib(real.folder(), {"build-db", "-o", real.databasePath(), "-p", corpus,
                                                      corpus + "/SNMPv2-SMI.txt", corpus + "/SNMPv2-TC.txt",
                                                      corpus + "/SNMPv2-CONF.txt", corpus + "/SNMPv2-MIB.txt"});
    ASSERT_EQ(built.status, 0) << built.err;
    const auto compiled =
        test::runQlmib(real.folder(), {"compile", "-p", corpus, "-o", real.folder().string(), corpus + "/IF-MIB.txt"});
    ASSERT_EQ(compiled.status, 0) << compiled.out << compiled.err;
    const auto tree = test::runQlmib(real.folder(), {"mibx", (real.folder() / "IF-MIB.mibx").string(), "--format", "1"});
    EXPECT_EQ(tree.status, 0) << tree.err;
    EXPECT_EQ(tree.err, "");
    EXPECT_NE(tree.out.find("\n1.3.6.1.2.1.2.2\n1.3.6.1.2.1.2.2.1\n1.3.6.1.2.1.2.2.1.1\n1.3.6.1.2.1.2.2.1.2\n"),
              std::string::npos)
        << tree.out;
    const auto details =
        test::runQlmib(real.folder(), {"mibx", (real.folder() / "IF-MIB.mibx").string(), "--details", "ifAdminStatus"});
    EXPECT_EQ(details.out.rfind("IF-MIB:ifAdminStatus\n\nValue \t\nOID \t1.3.6.1.2.1.2.2.1.7\nType \tINTEGER\n", 0), 0u)
        << details.out;
}

}  // namespace
}  // namespace qlmib
