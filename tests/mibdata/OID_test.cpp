#include <gtest/gtest.h>

#include <optional>
#include <thread>

#include <qlmib/mibdata/Database.h>
#include <qlmib/mibdata/Globals.h>
#include <qlmib/mibdata/OID.h>

#include "MibFixture.h"

namespace qlmib {
namespace {

using OIDTest = test::MibFixture;

OID lookup(const std::string& oid) {
    OID o;
    o.setOID(oid);
    return o;
}

TEST_F(OIDTest, LookupByOIDKeepsTheInstanceSuffixApart) {
    const struct {
        const char* given;
        std::string baseOID, index, name, mib;
    } cases[] = {
        {"1.3.6.1.2.1.1.1.0", "1.3.6.1.2.1.1.1", "0", "sysDescr", "SNMPv2-MIB"},
        {"\"1.3.6.1.2.1.1.1.0\"", "1.3.6.1.2.1.1.1", "0", "sysDescr", "SNMPv2-MIB"},
        {"1.3.6.1.2.1.1.1", "1.3.6.1.2.1.1.1", "", "sysDescr", "SNMPv2-MIB"},
        {"1.3.6.1.2.1.2.2.1.10.5.6", "1.3.6.1.2.1.2.2.1.10", "5.6", "ifInOctets", "IF-MIB"},
        // A ".0" ending is cut before the first query, so 1.3.6.1.2.1.1.0 is system.0, not an object.
        {"1.3.6.1.2.1.1.0", "1.3.6.1.2.1.1", "0", "system", "SNMPv2-MIB"},
        // Deeper than one batch of prefixes.
        {"1.3.6.1.2.1.2.2.1.10.1.2.3.4.5.6.7.8.9", "1.3.6.1.2.1.2.2.1.10", "1.2.3.4.5.6.7.8.9", "ifInOctets",
         "IF-MIB"},
        {"1.3.6.1.99.1", "1.3.6.1", "99.1", "internet", "SNMPv2-SMI"},
        // The row just before in OID order is no prefix: ifInOctets (…1.10) only shares text, sysUpTime (…1.3) arcs.
        {"1.3.6.1.2.1.2.2.1.100.3", "1.3.6.1.2.1.2.2.1", "100.3", "ifEntry", "IF-MIB"},
        {"1.3.6.1.2.1.1.4.0", "1.3.6.1.2.1.1", "4.0", "system", "SNMPv2-MIB"},
        {"1.3.6.1.2.1.2.2.1.1", "1.3.6.1.2.1.2.2.1", "1", "ifEntry", "IF-MIB"},
    };
    for (const auto& c : cases) {
        const auto o = lookup(c.given);
        const auto suffix = c.index.empty() ? "" : "." + c.index;
        EXPECT_EQ(o.getOID(), c.baseOID + suffix) << c.given;
        EXPECT_EQ(o.getBaseOID(), c.baseOID) << c.given;
        EXPECT_EQ(o.getIndex(), c.index) << c.given;
        EXPECT_EQ(o.getName(), c.name + suffix) << c.given;
        EXPECT_EQ(o.getFullName(), c.mib + ":" + c.name + suffix) << c.given;
    }
}

TEST_F(OIDTest, PrimaryRowsBelowAnOIDAreFoundByRangeNotByPrefixText) {
    EXPECT_TRUE(OID::HasPrimaryBelow("1.3.6.1.2.1.2.2"));
    EXPECT_TRUE(OID::HasPrimaryBelow("1.3.6.1.2.1.1"));
    EXPECT_FALSE(OID::HasPrimaryBelow("1.3.6.1.2.1.2.2.1.10"));
    EXPECT_FALSE(OID::HasPrimaryBelow("1.3.6.1.2.1.2.2.1.1"));  // 1.3.6.1.2.1.2.2.1.10 is a sibling
    EXPECT_FALSE(OID::HasPrimaryBelow("1.3.6.1.4.1.9.9.1"));
}

TEST_F(OIDTest, AnotherInstanceOfALeafIsTheObjectItsOIDFinds) {
    const auto view = [](const OID& o) {
        return std::vector<std::string>{o.getOID(), o.getIndex(), o.getName(), o.getFullName(), o.getUnits()};
    };
    auto moved = lookup("1.3.6.1.2.1.2.2.1.10.1");
    for (const char* suffix : {".3", ".5.6", "", ".0"}) {
        moved.setInstance(suffix);
        EXPECT_EQ(view(moved), view(lookup(std::string("1.3.6.1.2.1.2.2.1.10") + suffix))) << suffix;
    }
}

TEST_F(OIDTest, FailedLookupClearsAllButTheLeftovers) {
    auto o = lookup("1.3.6.1.2.1.2.2.1.7.4");
    o.setLine(7);
    o.setSkip(true);
    o.setKey("k");
    o.setCalculation("c");
    o.setOID("99.99");
    for (const auto& text : {o.getOID(), o.getName(), o.getFullName(), o.getMIB(), o.getBaseName(),
                             o.getTypeString(), o.getEnumerated(), o.getUnits(), o.getParse(), o.getDescription()})
        EXPECT_EQ(text, "");
    EXPECT_EQ(o.getStatus(), STATUS_UNKNOWN);
    EXPECT_EQ(o.getAccess(), ACCESS_UNKNOWN);
    EXPECT_EQ(o.getTypeInteger(), 0);
    // Clear leaves these as they were.
    EXPECT_EQ(o.getIndex(), "4");
    EXPECT_EQ(o.getBaseOID(), "1.3.6.1.2.1.2.2.1.7");
    EXPECT_EQ(o.getParentOID(), "1.3.6.1.2.1.2.2.1");
    EXPECT_EQ(o.getCalculation(), "c");
    EXPECT_EQ(o.getLine(), 7);
    EXPECT_TRUE(o.getSkip());
    EXPECT_EQ(o.getKey(), "k");
}

TEST_F(OIDTest, NameLookupsIgnoreCaseAndTakeQuotesAsData) {
    const struct {
        bool full;  // setFullName, else setName
        const char* text;
        const char* oid;
        const char* mib;  // nullptr: any module's row will do
        const char* why;
    } cases[] = {
        {true, "RFC1213-MIB:sysDescr", "1.3.6.1.2.1.1.1", "RFC1213-MIB", "a qualified name finds a non-primary row"},
        {true, "sysDescr", "1.3.6.1.2.1.1.1", "SNMPv2-MIB", "a bare descriptor finds only primary rows"},
        {true, "if-mib:IFINOCTETS", "1.3.6.1.2.1.2.2.1.10", "IF-MIB", "lookups ignore case"},
        {true, "1.3.6.1.2.1.1.3.0", "1.3.6.1.2.1.1.3.0", "SNMPv2-MIB", "a text starting 1.3. is an OID"},
        {true, "sysUpTime.0", "", "", "no instance suffix is taken from a name"},
        {true, "QUO'TE\"MIB:o'brien\"s", "1.3.6.1.4.1.9.9.1", "QUO'TE\"MIB", ""},
        {true, "x' OR '1'='1", "", "", ""},
        {true, "x\" OR \"1\"=\"1", "", "", ""},
        {false, "sysDescr", "1.3.6.1.2.1.1.1", nullptr, "any row"},
        {false, "o'brien\"s", "1.3.6.1.4.1.9.9.1", "QUO'TE\"MIB", ""},
        {false, "nothing", "", "", ""},
    };
    for (const auto& c : cases) {
        OID o;
        c.full ? o.setFullName(c.text) : o.setName(c.text);
        EXPECT_EQ(o.getOID(), c.oid) << c.text << ": " << c.why;
        if (c.mib) {
            EXPECT_EQ(o.getMIB(), c.mib) << c.text << ": " << c.why;
        }
    }
    EXPECT_EQ(lookup("1.3.6.1.2.1.1.1' OR '1'='1").getBaseOID(), "1.3.6.1.2.1.1")
        << "the quote is part of the last arc, which the search cuts";
}

TEST_F(OIDTest, WhereModulesShareAnOIDTheNewestModuleThenTheLastImportedSpeaks) {
    struct Definition {
        std::string mib;
        std::optional<std::string> lastUpdated;  // none: no MIBs row
        bool primary = true;
    };
    struct Case {
        const char* name;
        std::vector<Definition> definitions;  // in import order
        std::string speaker;
    };
    const std::vector<Case> cases = {
        {"a module with a date before one without, though imported later",
         {{"DATED-A", "1899-12-30 00:00:00"}, {"UNLISTED-B", std::nullopt}},
         "DATED-A"},
        {"without dates, the last imported", {{"UNLISTED-C", std::nullopt}, {"UNLISTED-D", std::nullopt}}, "UNLISTED-D"},
        {"the newest date, module names compared without case",
         {{"new-e", "2020-01-01 00:00:00"}, {"OLD-F", "1999-01-01 00:00:00"}},
         "new-e"},
        {"the same date: the last imported",
         {{"SAME-G", "2020-01-01 00:00:00"}, {"SAME-H", "2020-01-01 00:00:00"}, {"SAME-I", "2010-01-01 00:00:00"}},
         "SAME-H"},
        {"a row that is not primary never speaks",
         {{"PRIMARY-J", "2000-01-01 00:00:00"}, {"SECONDARY-K", "2024-01-01 00:00:00", false}},
         "PRIMARY-J"},
    };
    auto& db = home.db();
    int arc = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string oid = "1.3.6.1.4.1.8." + std::to_string(++arc);
        for (const auto& d : c.definitions) {
            test::insertRow(db, {.oid = oid, .name = "shared" + std::to_string(arc), .mib = d.mib, .primary = d.primary});
            if (!d.lastUpdated) continue;
            test::insertModule(db, {.name = d.mib});
            db.prepare("UPDATE MIBs SET Name = upper(Name), LastUpdated = ?1 WHERE Name = ?2")
                .bind(1, *d.lastUpdated)
                .bind(2, d.mib)
                .run();
        }
        const auto found = lookup(oid + ".7");
        EXPECT_EQ(found.getMIB(), c.speaker);
        EXPECT_EQ(found.getOID(), oid + ".7");
        auto ordered = db.query(Query::TreePrimaryByOID);
        ordered.bind(1, oid);
        ASSERT_TRUE(ordered.step());
        EXPECT_EQ(ordered.text(TREE_MIB), c.speaker) << "the same row as the ordered query's first";
    }
}

TEST_F(OIDTest, LongNameNamesEveryKnownPrefix) {
    const std::pair<const char*, const char*> cases[] = {
        {"1.3.6.1.2.1.1.1.0", "iso.org.dod.internet.mgmt.mib-2.system.sysDescr.0"},
        {"1.3.6.1.4.1.9.9.1", "iso.org.dod.internet.4.1.9.9.o'brien\"s"},
        {"1.3.6.1.2.1.2.2.1.10.1.2.3.4.5.6.7.8.9.10",
         "iso.org.dod.internet.mgmt.mib-2.interfaces.ifTable.ifEntry.ifInOctets.1.2.3.4.5.6.7.8.9.10"},
        {"", ""},
    };
    for (auto [oid, longName] : cases) EXPECT_EQ(lookup(oid).getLongName(), longName) << oid;
}

TEST_F(OIDTest, SyncWritesTheWholeRowBack) {
    auto o = lookup("1.3.6.1.2.1.2.2.1.10");
    o.setDescription("changed");
    o.setIndexBy("ifIndex");
    o.setUnits("bytes");
    const auto fresh = lookup("1.3.6.1.2.1.2.2.1.10");
    EXPECT_EQ(fresh.getUnits(), "bytes");
    EXPECT_EQ(fresh.getDescription(), "changed");
    EXPECT_EQ(fresh.getIndexBy(), "ifIndex");
    EXPECT_EQ(fresh.getTypeString(), "Counter32");

    // An object without a row gets a new primary one.
    o.setOID("1.3.6.1.2.1.1.3.0");
    o.setParse("timespan");
    auto q = SharedDatabase().prepare("SELECT Name, \"Primary\", Parse FROM Tree WHERE OID = ?1");
    q.bind(1, std::string("1.3.6.1.2.1.1.3.0"));
    ASSERT_TRUE(q.step());
    EXPECT_EQ(q.text(0), "sysUpTime.0");
    EXPECT_NE(q.int64(1), 0);
    EXPECT_EQ(q.text(2), "timespan");
}

TEST_F(OIDTest, AFailureToStoreTheRowIsIgnored) {
    // A database that refuses every write to Tree, as a read-only file would.
    SharedDatabase().exec("CREATE TEMP TRIGGER refuseInsert BEFORE INSERT ON Tree BEGIN SELECT RAISE(ABORT, 'refused'); END;"
                          "CREATE TEMP TRIGGER refuseUpdate BEFORE UPDATE ON Tree BEGIN SELECT RAISE(ABORT, 'refused'); END;");
    for (const char* oid : {"1.3.6.1.2.1.2.2.1.10", "1.3.6.1.2.1.1.3.0"}) {  // a row to overwrite, and none
        auto o = lookup(oid);
        EXPECT_NO_THROW(o.setUnits("bytes")) << oid;
        EXPECT_NO_THROW(o.Sync()) << oid;
        EXPECT_EQ(o.getUnits(), "bytes") << oid;
    }
    SharedDatabase().exec("DROP TRIGGER refuseInsert; DROP TRIGGER refuseUpdate;");
}

TEST_F(OIDTest, OIDIndexReadsTheLastArc) {
    const std::pair<const char*, int> cases[] = {
        {"1.3.6.1.2.1.2.2.1.1.12", 12}, {"5", 5}, {"abc", 0}, {"1.3.x", 0}, {"", 0}, {"1.2.", 0}};
    for (auto [text, index] : cases) EXPECT_EQ(OID::OIDIndex(text), index) << text;
}

TEST_F(OIDTest, DefaultObjectIsOnePerThread) {
    OID::Default().setOID("1.3.6.1.2.1.1.1");
    EXPECT_EQ(OID::Default().getName(), "sysDescr");
    std::string elsewhere = "unset";
    std::thread([&] { elsewhere = OID::Default().getName(); }).join();
    EXPECT_EQ(elsewhere, "");
}

}  // namespace
}  // namespace qlmib
