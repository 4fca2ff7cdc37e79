#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <thread>
#include <vector>

#include <qlmib/common/Error.h>
#include <qlmib/mibdata/Application.h>
#include <qlmib/mibdata/Database.h>
#include <qlmib/mibdata/Globals.h>
#include <qlmib/mibdata/OID.h>

#include "TestHome.h"

namespace qlmib {
namespace {

using test::TestHome;

// Collects what the library shows to the user.
struct MessageRecorder {
    std::vector<std::string> messages;
    MessageHook previous = SetMessageHook([this](const std::string& text) { messages.push_back(text); });
    ~MessageRecorder() { SetMessageHook(std::move(previous)); }
};

// Every Tree name as one text, in row order.
std::string treeNames(Database& db) {
    auto q = db.prepare("SELECT ifnull(group_concat(Name), '') FROM Tree");
    q.step();
    return q.text(0);
}

TEST(Database, OneConnectionPerThreadHowEverManyObjects) {
    TestHome home;
    const int before = DatabaseOpenCount();
    std::vector<OID> objects(10);
    EXPECT_EQ(DatabaseOpenCount() - before, 1);
    Database* theirs = nullptr;
    int opensThere = 0;
    std::thread([&] {
        OID a, b;
        theirs = &SharedDatabase();
        opensThere = DatabaseOpenCount();
    }).join();
    EXPECT_NE(&SharedDatabase(), theirs);
    EXPECT_EQ(opensThere, 1);
}

TEST(Database, MissingFileIsShownOncePerThreadAndQueriesFail) {
    TestHome home(false);
    MessageRecorder recorder;
    OID first;
    OID second;
    ASSERT_EQ(recorder.messages.size(), 1u);
    const std::string prefix = "Cannot open MIB Database (" + home.databasePath() + ")\r\r";
    EXPECT_EQ(recorder.messages[0].substr(0, prefix.size()), prefix);
    EXPECT_GT(recorder.messages[0].size(), prefix.size()) << "the engine's message follows";
    EXPECT_THROW(first.setOID("1.3.6.1"), Error);
    EXPECT_THROW(first.setFullName("sysDescr"), Error);

    std::vector<std::string> shownThere;
    std::thread([&] {
        MessageRecorder there;
        OID elsewhere;
        shownThere = there.messages;
    }).join();
    EXPECT_EQ(shownThere.size(), 1u) << "another thread opens, and fails, on its own";
    EXPECT_EQ(recorder.messages.size(), 1u) << "through its own hook";
}

TEST(Application, HostHasItsHelpFileFromStartUpBeforeAnyDatabaseIsOpened) {
    // A fresh process of this program, in which nothing has run yet.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            const bool fresh = DatabaseOpenCount() == 0;
            std::cerr << "opened " << DatabaseOpenCount() << ", help file '" << Application().getHelpFile() << "'";
            std::exit(fresh && Application().getHelpFile() == HelpFilePath() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(Database, CreatedFileCarriesTheTypeCatalogueAndIsNotCreatedTwice) {
    TestHome home;
    Application app;
    EXPECT_EQ(&app.getMIBDatabase(), &SharedDatabase());
    EXPECT_EQ(app.getHelpFile(), home.folder().string() + "/Help/Quellon.chm");
    auto q = home.db().prepare("SELECT Value FROM Types WHERE Type = 'counter32'");
    ASSERT_TRUE(q.step()) << "lookups of type names ignore case";
    EXPECT_EQ(q.int64(0), 65);
    EXPECT_THROW(Database::create(home.databasePath()), Error);
}

TEST(Database, TransactionsAndReadBatchesKeepOnlyWhatWasCommitted) {
    TestHome home;
    auto& db = home.db();
    {
        Transaction tx(db);
        test::insertRow(db, {.oid = "1.3", .name = "org"});
    }
    {
        ReadBatch outer(db);
        EXPECT_TRUE(db.inTransaction());
        {
            ReadBatch inner(db);
            Transaction kept(db);
            test::insertRow(db, {.oid = "1.3.6", .name = "dod"});
            kept.commit();
        }
        EXPECT_TRUE(db.inTransaction()) << "only the outermost batch ends the transaction";
        {
            Transaction dropped(db);
            test::insertRow(db, {.oid = "1.3.6.1", .name = "internet"});
        }
    }
    EXPECT_FALSE(db.inTransaction());
    EXPECT_EQ(treeNames(*Database::open(home.databasePath())), "dod") << "as a second connection sees it";
}

TEST(Database, AHeldReadEndsBeforeAWriteAndItsStampMovesWithEveryCommit) {
    TestHome home;
    auto& db = home.db();
    const auto other = Database::open(home.databasePath());
    ASSERT_TRUE(db.holdRead());
    EXPECT_FALSE(db.holdRead()) << "one held read at a time";
    const auto start = db.changeStamp();
    db.releaseRead();
    EXPECT_FALSE(db.inTransaction());

    test::insertRow(*other, {.oid = "1.3", .name = "org"});
    ASSERT_TRUE(db.holdRead());
    const auto afterOther = db.changeStamp();
    EXPECT_NE(afterOther, start) << "another connection committed";
    {
        Transaction tx(db);
        test::insertRow(db, {.oid = "1.3.6", .name = "dod"});
        tx.commit();
    }
    EXPECT_FALSE(db.inTransaction()) << "the write ended the held read instead of joining it";
    EXPECT_NE(treeNames(*other).find("dod"), std::string::npos) << "committed, as a second connection sees";
    ASSERT_TRUE(db.holdRead());
    EXPECT_NE(db.changeStamp(), afterOther) << "this connection committed";
    db.releaseRead();

    const ReadBatch batch(db);
    EXPECT_FALSE(db.holdRead()) << "inside another transaction nothing is held";
    db.releaseRead();
    EXPECT_TRUE(db.inTransaction()) << "and releasing leaves that transaction alone";
}

// Databases written by other tools: no annotation columns, text columns that
// compare case-sensitively, extra columns in another order.
TEST(Database, ForeignSchemasOpenAndWork) {
    TestHome home(false);
    test::writeForeignDatabase(home.databasePath(), R"sql(
        CREATE TABLE Tree (Extra TEXT, Name TEXT, OID TEXT, MIB TEXT, ParentOID TEXT, "Index" INTEGER,
                           "Primary" INTEGER, TypeI INTEGER, TypeS TEXT, Description TEXT, Status INTEGER,
                           Access INTEGER, Enum TEXT, Parse TEXT, Units TEXT);
        CREATE TABLE Enums (Name TEXT, Value INTEGER, Enum TEXT);
        CREATE TABLE MIBs (Name TEXT, Description TEXT, Organization TEXT, Contact TEXT, Compiled TEXT,
                           Imported TEXT, LastUpdated TEXT);
        CREATE TABLE Types (Type TEXT, Root TEXT, Value INTEGER);
        CREATE TABLE Icons (OID TEXT, "Small Icon" BLOB);
        INSERT INTO Tree VALUES ('x', 'sysDescr', '1.3.6.1.2.1.1.1', 'SNMPv2-MIB', '1.3.6.1.2.1.1', 1, -1, 4,
                                 'DisplayString', NULL, 5, 1, 'IfStatus', '', '');
        INSERT INTO Enums VALUES ('IfStatus', 1, 'up');
    )sql");

    OID object;
    object.setFullName("SNMPV2-mib:SYSDESCR");
    EXPECT_EQ(object.getOID(), "1.3.6.1.2.1.1.1");
    EXPECT_EQ(object.getDescription(), "") << "a null description reads as empty";
    EXPECT_EQ(object.getIndexBy(), "");
    EXPECT_EQ(object.EnumString(1), "up(1)") << "enumeration names compare without case";
    object.setCalculation("x");
    object.setUnits("octets");  // writes back without the annotation columns
    OID again;
    again.setOID("1.3.6.1.2.1.1.1.0");
    EXPECT_EQ(again.getUnits(), "octets");
    EXPECT_EQ(again.getName(), "sysDescr.0");
}

TEST(Database, StatementsKeepTheirConnectionOpenAfterTheDatabaseObjectIsGone) {
    TestHome home;
    test::insertRow(home.db(), {.oid = "1.3", .name = "org"});
    auto db = Database::open(home.databasePath());
    auto pooled = db->query(Query::TreeByOID);
    pooled.bind(1, "1.3");
    auto own = db->prepare("SELECT count(*) FROM Tree");
    db.reset();
    ASSERT_TRUE(pooled.step());
    EXPECT_EQ(pooled.text(pooled.columnIndex("Name")), "org");
    ASSERT_TRUE(own.step());
    EXPECT_EQ(own.int64(0), 1);
    Statement moved = std::move(pooled);
    moved.reset();
}  // the statements go back to a pool nobody else holds, then the connection closes

// What a database lacks is named; column names match in any case, as SQL's do.
TEST(Database, OpeningNamesTheMissingTableOrColumn) {
    const std::string others = R"sql(
        CREATE TABLE Enums (Name TEXT, Value INTEGER, Enum TEXT);
        CREATE TABLE MIBs (Name TEXT, Description TEXT, Organization TEXT, Contact TEXT, Compiled TEXT,
                           Imported TEXT, LastUpdated TEXT);
        CREATE TABLE Types (Type TEXT, Root TEXT, Value INTEGER);
        CREATE TABLE Icons (OID TEXT, "Small Icon" BLOB);)sql";
    const std::string tree = R"sql(CREATE TABLE Tree (oid TEXT, NAME TEXT, Mib TEXT, ParentOID TEXT, "Index" INTEGER,
        "Primary" INTEGER, TypeI INTEGER, TypeS TEXT, Description TEXT, Status INTEGER, Access INTEGER,
        Enum TEXT, Parse TEXT, Units TEXT, indexby TEXT);)sql";
    const struct {
        std::string sql;
        const char* error;  // empty: opens
    } cases[] = {
        {tree + others, ""},
        {"CREATE TABLE Tree (OID TEXT);" + others, "The MIB database table Tree has no column Name"},
        {tree + "CREATE TABLE Enums (Name TEXT, Value INTEGER, Enum TEXT);", "The MIB database has no table MIBs"},
        {tree + std::string(others).replace(others.find("\"Small Icon\""), 12, "Icon"),
         "The MIB database table Icons has no column Small Icon"},
    };
    for (const auto& c : cases) {
        TestHome home(false);
        test::writeForeignDatabase(home.databasePath(), c.sql.c_str());
        try {
            const auto db = Database::open(home.databasePath());
            EXPECT_STREQ(c.error, "") << "opened";
            EXPECT_TRUE(db->treeHasIndexBy()) << "a column in another case is there";
            EXPECT_FALSE(db->treeHasCalculation());
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), c.error);
        }
    }
}

}  // namespace
}  // namespace qlmib
