// `qlmib import`, `modules`, `delete` and `mibx` as a user runs them: what
// they print, the messages on standard error and the exit status.

#include <gtest/gtest.h>

#include "CommandRun.h"
#include "MibxFixture.h"

namespace qlmib {
namespace {

using test::MibxFixture;
using test::MibxTreeFixture;
using test::rows;
using Rows = std::vector<std::string>;

TEST_F(MibxFixture, ImportCommandCreatesTheDatabaseReportsAndFailsOnErrors) {
    test::TestHome empty(false);
    const auto good = write("good.xml", test::MIBX("<a><OID>1.3</OID></a><b><OID>a.1</OID></b>"));
    const auto missing = (home.folder() / "missing.xml").string();

    const auto first = test::runQlmib(empty.folder(), {"import", good, missing});
    EXPECT_EQ(first.status, 1) << first.err;
    EXPECT_EQ(first.out, "Created a new MIB database " + empty.databasePath() + "\nImporting " + good +
                             " ...\n    File Format = 'Quellon.Net MIB-X 1.0'\n"
                             "OIDCount 2, Duplicates 0, Errors 1, Warnings 0\n");
    EXPECT_EQ(first.err, "Could not load " + missing + "\nNo such file or directory\n") << "lines end in LF";

    const auto second = test::runQlmib(empty.folder(), {"import", "-v", good});
    EXPECT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(second.out, "Importing " + good + " ...\n    File Format = 'Quellon.Net MIB-X 1.0'\n"
                          "    a 1.3 (duplicate)\n    b 1.3.1 (duplicate)\n"
                          "OIDCount 2, Duplicates 2, Errors 0, Warnings 0\n");
    EXPECT_EQ(second.err, "");
}

class ManageCommands : public test::MibxFixture {
protected:
    void SetUp() override {
        auto& db = home.db();
        test::insertModule(db, {.name = "B-MIB", .imported = "2024-01-02 03:04:05"});
        test::insertModule(db, {.name = "A-MIB", .imported = "2024-10-01 00:00:00"});
        test::insertModule(db, {.name = "c-mib", .imported = "2024-9-30 23:59:59"});
        test::insertModule(db, {.name = "  PADDED-MIB  ", .imported = "2023-1-2 3:04"});
        test::insertModule(db, {.name = "NO-DATE-MIB"});
        test::insertModule(db, {.name = "ODD-MIB", .imported = "last Tuesday"});
        test::insertRow(db, {.oid = "1.3.6.1.4.1.1", .name = "a1", .mib = "A-MIB"});
        test::insertRow(db, {.oid = "1.3.6.1.4.1.2", .name = "a2", .mib = "A-MIB"});
        test::insertRow(db, {.oid = "1.3.6.1.4.1.3", .name = "b1", .mib = "B-MIB"});
        test::insertEnum(db, "a1", 1, "one");
    }
};

TEST_F(ManageCommands, ModulesPrintsTheListAndTheCounts) {
    const auto byName = test::runQlmib(home.folder(), {"modules"});
    EXPECT_EQ(byName.status, 0) << byName.err;
    EXPECT_EQ(byName.out, "PADDED-MIB\t2023-01-02 03:04:00\nA-MIB\t2024-10-01 00:00:00\nB-MIB\t2024-01-02 03:04:05\n"
                          "c-mib\t2024-09-30 23:59:59\nNO-DATE-MIB\t\nODD-MIB\tlast Tuesday\nMIBCount 6, OIDCount 3\n")
        << "by stored name ignoring case, trimmed; dates in one form, a text that is no date as it stands";
    EXPECT_EQ(byName.err, "");
    const auto byDate = test::runQlmib(home.folder(), {"modules", "--by-date"});
    EXPECT_EQ(byDate.out, "NO-DATE-MIB\t\nPADDED-MIB\t2023-01-02 03:04:00\nB-MIB\t2024-01-02 03:04:05\n"
                          "c-mib\t2024-09-30 23:59:59\nA-MIB\t2024-10-01 00:00:00\nODD-MIB\tlast Tuesday\n"
                          "MIBCount 6, OIDCount 3\n");

    test::TestHome broken(false);
    std::ofstream(broken.databasePath()) << "not a database";
    const auto failed = test::runQlmib(broken.folder(), {"modules"});
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.out, "");
    EXPECT_EQ(failed.err.rfind("Cannot open MIB Database (" + broken.databasePath() + ")\n\n", 0), 0u) << failed.err;
}

TEST_F(ManageCommands, ModulesPrintsTheDetailsPaneOfOneModule) {
    const auto shown = test::runQlmib(home.folder(), {"modules", "--details", "a-mib"});
    EXPECT_EQ(shown.status, 0) << shown.err;
    EXPECT_TRUE(shown.out.starts_with("A-MIB\n2 unique OIDs\n")) << shown.out;
    const auto other = test::runQlmib(home.folder(), {"modules", "--details", "B-MIB"});
    EXPECT_TRUE(other.out.starts_with("B-MIB\n1 unique OIDs\n")) << other.out;
    const auto missing = test::runQlmib(home.folder(), {"modules", "--details", "NO-SUCH-MIB"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err, "qlmib: NO-SUCH-MIB is not in the MIB database\n");
}

TEST_F(ManageCommands, DeleteDeletesTheModulesThereAndFailsForOneThatIsNot) {
    const auto run = test::runQlmib(home.folder(), {"delete", "a-mib", "NO-SUCH-MIB", "C-MIB"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "Deleted A-MIB (2 OIDs)\nDeleted c-mib (0 OIDs)\n");
    EXPECT_EQ(run.err, "qlmib: NO-SUCH-MIB is not in the MIB database\n");
    EXPECT_EQ(rows("SELECT Name FROM MIBs WHERE Name LIKE '_-MIB'"), Rows{"B-MIB"}) << "A-MIB and c-mib went";
    EXPECT_EQ(rows("SELECT MIB FROM Tree"), Rows{"B-MIB"});
    EXPECT_EQ(rows("SELECT Name FROM Enums"), Rows{"a1"}) << "enumerations stay";
}

TEST_F(MibxTreeFixture, MibxCommandPrintsTheTreeOfAFileOrTheDetailsOfAnObject) {
    const auto tree = test::runQlmib(home.folder(), {"mibx", acme});
    EXPECT_EQ(tree.status, 1) << "the file had a problem";
    EXPECT_EQ(tree.out, "ccitt (0)\niso (1)\n\torg (3)\n\t\tdod (6)\n\t\t\tinternet (1)\n\t\t\t\tprivate (4)\n"
                        "\t\t\t\t\tenterprises (1)\n\t\t\t\t\t\tacme (9999)\n\t\t\t\t\t\t\tacmeLast (3)\n"
                        "\t\t\t\t\t\t\tacmeTable (1)\n\t\t\t\t\t\t\t\tacmeEntry (1)\n\t\t\t\t\t\t\t\t\tacmeValue (1)\n"
                        "\t\t\t\t\t\t\tacmeTrap (2)\n");
    EXPECT_EQ(tree.err, "Cannot load tree for acmeLost (1.3.6.1.4.1.8888.5.1)\n");

    const auto details = test::runQlmib(home.folder(), {"mibx", acme, "--details", "acmeValue"});
    EXPECT_EQ(details.out, "ACME-MIB:acmeValue\n\nValue \t42\nOID \t1.3.6.1.4.1.9999.1.1.1\nType \tInteger32\n"
                           "Access \tread-only\nStatus \tcurrent\n\nThe value.\n\nFrom " + acme + "\n\n");
    const auto missing = test::runQlmib(home.folder(), {"mibx", acme, "--details", "enterprises"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("qlmib: enterprises is not an object of " + acme + "\n"), std::string::npos);
}

}  // namespace
}  // namespace qlmib
