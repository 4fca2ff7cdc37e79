#include <gtest/gtest.h>

#include <thread>

#include <qlmib/mibdata/Database.h>
#include <qlmib/mibdata/Globals.h>
#include <qlmib/mibdata/OID.h>

#include "MibFixture.h"

namespace qlmib {
namespace {

using OIDTest = test::MibFixture;

struct InstanceCase {
    const char* given;
    const char* oid;
    const char* baseOID;
    const char* index;
    const char* name;
    const char* fullName;
};

TEST_F(OIDTest, LookupByOIDKeepsTheInstanceSuffixApart) {
    const InstanceCase cases[] = {
        {"1.3.6.1.2.1.1.1.0", "1.3.6.1.2.1.1.1.0", "1.3.6.1.2.1.1.1", "0", "sysDescr.0", "SNMPv2-MIB:sysDescr.0"},
        {"\"1.3.6.1.2.1.1.1.0\"", "1.3.6.1.2.1.1.1.0", "1.3.6.1.2.1.1.1", "0", "sysDescr.0", "SNMPv2-MIB:sysDescr.0"},
        {"1.3.6.1.2.1.1.1", "1.3.6.1.2.1.1.1", "1.3.6.1.2.1.1.1", "", "sysDescr", "SNMPv2-MIB:sysDescr"},
        {"1.3.6.1.2.1.2.2.1.10.3", "1.3.6.1.2.1.2.2.1.10.3", "1.3.6.1.2.1.2.2.1.10", "3", "ifInOctets.3",
         "IF-MIB:ifInOctets.3"},
        {"1.3.6.1.2.1.2.2.1.10.5.6", "1.3.6.1.2.1.2.2.1.10.5.6", "1.3.6.1.2.1.2.2.1.10", "5.6", "ifInOctets.5.6",
         "IF-MIB:ifInOctets.5.6"},
        // A ".0" ending is cut before the first query, so 1.3.6.1.2.1.1.0 is system.0, not an object.
        {"1.3.6.1.2.1.1.0", "1.3.6.1.2.1.1.0", "1.3.6.1.2.1.1", "0", "system.0", "SNMPv2-MIB:system.0"},
        // Deeper than one batch of prefixes.
        {"1.3.6.1.2.1.2.2.1.10.1.2.3.4.5.6.7.8.9", "1.3.6.1.2.1.2.2.1.10.1.2.3.4.5.6.7.8.9",
         "1.3.6.1.2.1.2.2.1.10", "1.2.3.4.5.6.7.8.9", "ifInOctets.1.2.3.4.5.6.7.8.9",
         "IF-MIB:ifInOctets.1.2.3.4.5.6.7.8.9"},
        {"1.3.6.1.99.1", "1.3.6.1.99.1", "1.3.6.1", "99.1", "internet.99.1", "SNMPv2-SMI:internet.99.1"},
    };
    for (const auto& c : cases) {
        OID o;
        o.setOID(c.given);
        EXPECT_EQ(o.getOID(), c.oid) << c.given;
        EXPECT_EQ(o.getBaseOID(), c.baseOID) << c.given;
        EXPECT_EQ(o.getIndex(), c.index) << c.given;
        EXPECT_EQ(o.getName(), c.name) << c.given;
        EXPECT_EQ(o.getFullName(), c.fullName) << c.given;
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
    OID looked, moved;
    moved.setOID("1.3.6.1.2.1.2.2.1.10.1");
    for (const char* suffix : {".3", ".5.6", "", ".0"}) {
        looked.setOID(std::string("1.3.6.1.2.1.2.2.1.10") + suffix);
        moved.setInstance(suffix);
        EXPECT_EQ(moved.getOID(), looked.getOID()) << suffix;
        EXPECT_EQ(moved.getIndex(), looked.getIndex()) << suffix;
        EXPECT_EQ(moved.getName(), looked.getName()) << suffix;
        EXPECT_EQ(moved.getFullName(), looked.getFullName()) << suffix;
        EXPECT_EQ(moved.getUnits(), looked.getUnits()) << suffix;
    }
}

TEST_F(OIDTest, LookupTakesOnlyPrimaryRows) {
    OID o;
    o.setOID("1.3.6.1.2.1.1.1");
    EXPECT_EQ(o.getMIB(), "SNMPv2-MIB");
    EXPECT_EQ(o.getDescription(), "A textual description of the entity.");
    EXPECT_EQ(o.getTypeString(), "DisplayString");
    EXPECT_EQ(o.getTypeInteger(), 4);
    EXPECT_EQ(o.getAccess(), ACCESS_RO);
    EXPECT_EQ(o.getStatus(), STATUS_CURRENT);
    EXPECT_EQ(o.getParentOID(), "1.3.6.1.2.1.1");
    EXPECT_EQ(o.getBaseName(), "sysDescr");
}

TEST_F(OIDTest, FailedLookupClearsAllButTheLeftovers) {
    OID o;
    o.setOID("1.3.6.1.2.1.2.2.1.7.4");
    o.setLine(7);
    o.setSkip(true);
    o.setKey("k");
    o.setCalculation("c");
    o.setOID("99.99");
    for (const auto& text : {o.getOID(), o.getName(), o.getFullName(), o.getMIB(), o.getBaseName(),
                             o.getTypeString(), o.getEnumerated(), o.getUnits(), o.getParse(), o.getDescription()})
        EXPECT_EQ(text, "");
    EXPECT_EQ(o.getStatus(), 0);
    EXPECT_EQ(o.getAccess(), 0);
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

TEST_F(OIDTest, FullNameLookups) {
    OID o;
    o.setFullName("RFC1213-MIB:sysDescr");
    EXPECT_EQ(o.getMIB(), "RFC1213-MIB") << "a module-qualified name finds a row that is not primary";
    EXPECT_EQ(o.getDescription(), "Old description.");

    o.setFullName("sysDescr");
    EXPECT_EQ(o.getMIB(), "SNMPv2-MIB") << "a bare descriptor finds only primary rows";

    o.setFullName("if-mib:IFINOCTETS");
    EXPECT_EQ(o.getOID(), "1.3.6.1.2.1.2.2.1.10") << "lookups ignore case";

    o.setFullName("1.3.6.1.2.1.1.3.0");
    EXPECT_EQ(o.getName(), "sysUpTime.0") << "a text starting 1.3. is an OID";

    o.setFullName("sysUpTime.0");
    EXPECT_EQ(o.getFullName(), "") << "no instance suffix is taken from a name";
}

TEST_F(OIDTest, NameLookupTakesAnyRow) {
    OID o;
    o.setName("sysDescr");
    EXPECT_EQ(o.getBaseName(), "sysDescr");
    EXPECT_EQ(o.getOID(), "1.3.6.1.2.1.1.1");
    o.setName("nothing");
    EXPECT_EQ(o.getOID(), "");
}

TEST_F(OIDTest, QuotesInNamesAreDataNotSyntax) {
    OID o;
    o.setFullName("QUO'TE\"MIB:o'brien\"s");
    EXPECT_EQ(o.getOID(), "1.3.6.1.4.1.9.9.1");
    o.setName("o'brien\"s");
    EXPECT_EQ(o.getMIB(), "QUO'TE\"MIB");
    o.setFullName("x' OR '1'='1");
    EXPECT_EQ(o.getOID(), "");
    o.setFullName("x\" OR \"1\"=\"1");
    EXPECT_EQ(o.getOID(), "");
    o.setOID("1.3.6.1.2.1.1.1' OR '1'='1");
    EXPECT_EQ(o.getBaseOID(), "1.3.6.1.2.1.1") << "the quote is part of the last arc, which the search cuts";
}

TEST_F(OIDTest, LongNameNamesEveryKnownPrefix) {
    const std::pair<const char*, const char*> cases[] = {
        {"1.3.6.1.2.1.2.2.1.10.3", "iso.org.dod.internet.mgmt.mib-2.interfaces.ifTable.ifEntry.ifInOctets.3"},
        {"1.3.6.1.2.1.1.1.0", "iso.org.dod.internet.mgmt.mib-2.system.sysDescr.0"},
        {"1.3.6.1.4.1.9.9.1", "iso.org.dod.internet.4.1.9.9.o'brien\"s"},
        {"1.3.6.1.2.1.2.2.1.10.1.2.3.4.5.6.7.8.9.10",
         "iso.org.dod.internet.mgmt.mib-2.interfaces.ifTable.ifEntry.ifInOctets.1.2.3.4.5.6.7.8.9.10"},
    };
    for (auto [oid, longName] : cases) {
        OID o;
        o.setOID(oid);
        EXPECT_EQ(o.getLongName(), longName);
    }
    OID empty;
    EXPECT_EQ(empty.getLongName(), "");
}

TEST_F(OIDTest, SyncWritesTheWholeRowBack) {
    OID o;
    o.setOID("1.3.6.1.2.1.2.2.1.10");
    o.setDescription("changed");
    o.setIndexBy("ifIndex");
    o.setUnits("bytes");
    OID fresh;
    fresh.setOID("1.3.6.1.2.1.2.2.1.10");
    EXPECT_EQ(fresh.getUnits(), "bytes");
    EXPECT_EQ(fresh.getDescription(), "changed");
    EXPECT_EQ(fresh.getIndexBy(), "ifIndex");
    EXPECT_EQ(fresh.getTypeString(), "Counter32");

    // An object without a row gets a new primary one.
    o.setOID("1.3.6.1.2.1.1.3.0");
    o.setParse("timespan");
    auto q = SharedDatabase().prepare("SELECT Name, \"Primary\", Parse FROM Tree WHERE OID = '1.3.6.1.2.1.1.3.0'");
    ASSERT_TRUE(q.step());
    EXPECT_EQ(q.text(0), "sysUpTime.0");
    EXPECT_NE(q.int64(1), 0);
    EXPECT_EQ(q.text(2), "timespan");
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

TEST_F(OIDTest, ShowOIDDetailsCallsTheDetailsHook) {
    std::string shown;
    SetDetailsHook([&](const std::string& oid) { shown = oid; });
    OID o;
    o.setOID("1.3.6.1.2.1.1.1.0");
    o.ShowOIDDetails();
    SetDetailsHook(nullptr);
    EXPECT_EQ(shown, "1.3.6.1.2.1.1.1.0");
}

}  // namespace
}  // namespace qlmib
