// `qlmib modules` and `qlmib delete` as a user runs them.

#include <gtest/gtest.h>

#include "CommandRun.h"
#include "MibxFixture.h"

namespace qlmib {
namespace {

using test::rows;
using Rows = std::vector<std::string>;

class ManageCommands : public test::MibxFixture {
protected:
    void SetUp() override {
        auto& db = home.db();
        test::insertModule(db, {.name = "B-MIB", .imported = "2024-01-02 03:04:05"});
        test::insertModule(db, {.name = "A-MIB", .imported = "2024-10-01 00:00:00"});
        test::insertModule(db, {.name = "C-MIB", .imported = "2024-9-30 23:59:59"});
        test::insertRow(db, {.oid = "1.3.6.1.4.1.1", .name = "a1", .mib = "A-MIB"});
        test::insertRow(db, {.oid = "1.3.6.1.4.1.2", .name = "a2", .mib = "A-MIB"});
        test::insertRow(db, {.oid = "1.3.6.1.4.1.3", .name = "b1", .mib = "B-MIB"});
        test::insertEnum(db, "a1", 1, "one");
    }
};

TEST_F(ManageCommands, ModulesPrintsTheListAndTheCounts) {
    const auto byName = test::runQlmib(home.folder(), {"modules"});
    EXPECT_EQ(byName.status, 0) << byName.err;
    EXPECT_EQ(byName.out, "A-MIB\t2024-10-01 00:00:00\nB-MIB\t2024-01-02 03:04:05\nC-MIB\t2024-09-30 23:59:59\n"
                          "MIBCount 3, OIDCount 3\n");
    EXPECT_EQ(byName.err, "");

    const auto byDate = test::runQlmib(home.folder(), {"modules", "--by-date"});
    EXPECT_EQ(byDate.out, "B-MIB\t2024-01-02 03:04:05\nC-MIB\t2024-09-30 23:59:59\nA-MIB\t2024-10-01 00:00:00\n"
                          "MIBCount 3, OIDCount 3\n");

    test::TestHome broken(false);
    std::ofstream(broken.databasePath()) << "not a database";
    const auto failed = test::runQlmib(broken.folder(), {"modules"});
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.out, "");
    EXPECT_EQ(failed.err.rfind("Cannot open MIB Database (" + broken.databasePath() + ")\n\n", 0), 0u) << failed.err;
}

TEST_F(ManageCommands, DeleteDeletesTheModulesThereAndFailsForOneThatIsNot) {
    const auto run = test::runQlmib(home.folder(), {"delete", "a-mib", "NO-SUCH-MIB", "C-MIB"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "Deleted A-MIB (2 OIDs)\nDeleted C-MIB (0 OIDs)\n");
    EXPECT_EQ(run.err, "qlmib: NO-SUCH-MIB is not in the MIB database\n");
    EXPECT_EQ(rows("SELECT Name FROM MIBs"), Rows{"B-MIB"});
    EXPECT_EQ(rows("SELECT MIB FROM Tree"), Rows{"B-MIB"});
    EXPECT_EQ(rows("SELECT Name FROM Enums"), Rows{"a1"}) << "enumerations stay";

    const auto again = test::runQlmib(home.folder(), {"delete", "B-MIB"});
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(again.out, "Deleted B-MIB (1 OIDs)\n");
}

}  // namespace
}  // namespace qlmib
