#include <gtest/gtest.h>

#include <qlmib/common/Error.h>
#include <qlmib/mibdata/Database.h>
#include <qlmib/mibdata/OIDTypes.h>

#include "TestHome.h"

namespace qlmib {
namespace {

class OIDTypesTest : public ::testing::Test {
protected:
    void SetUp() override {
        home.db().exec("DELETE FROM Types");
        home.db().exec(
            "INSERT INTO Types VALUES ('Counter32', 'Counter32', 65), ('DisplayString', 'octet string', 4), "
            "('INTEGER', 'INTEGER', 2)");
    }
    test::TestHome home;
};

TEST_F(OIDTypesTest, KeysIgnoreCaseAndEntriesAreUpperCase) {
    OIDTypes types;
    ASSERT_EQ(types.Count(), 3);
    for (const char* key : {"counter32", "COUNTER32", "Counter32"}) {
        auto entry = types.Item(key);
        ASSERT_TRUE(entry) << key;
        EXPECT_EQ(entry->getOIDType(), "COUNTER32");
        EXPECT_EQ(entry->getValue(), 65);
    }
    EXPECT_EQ(types.Item("displaystring")->getRootType(), "OCTET STRING");
    EXPECT_EQ(types.Item(1)->getOIDType(), "COUNTER32");
    EXPECT_EQ(types.Item(3)->getOIDType(), "INTEGER");
    EXPECT_FALSE(types.Item(0));
    EXPECT_FALSE(types.Item(4));
    EXPECT_FALSE(types.Item("Gauge32"));
    EXPECT_EQ(types.CodeOf("integer"), 2);
    EXPECT_EQ(types.CodeOf("Gauge32"), 0);
}

TEST_F(OIDTypesTest, AddReturnsAnExistingEntryUnchanged) {
    OIDTypes types;
    auto existing = types.Add(99, "counter32", "x");
    EXPECT_EQ(existing->getValue(), 65);
    EXPECT_EQ(types.Count(), 3);
    auto added = types.Add(66, "Gauge32", "Gauge32");
    EXPECT_EQ(added->getOIDType(), "Gauge32") << "Add keeps the case given";
    EXPECT_EQ(types.Count(), 4);
    EXPECT_EQ(types.Item(4), added);
    EXPECT_EQ(types.Item("GAUGE32"), added);
}

TEST_F(OIDTypesTest, RemoveAndClear) {
    OIDTypes types;
    types.Remove("displaystring");
    EXPECT_EQ(types.Count(), 2);
    types.Remove(1);
    EXPECT_EQ(types.Item(1)->getOIDType(), "INTEGER");
    EXPECT_THROW(types.Remove("nothing"), Error);
    EXPECT_THROW(types.Remove(5), Error);
    types.Clear();
    EXPECT_EQ(types.Count(), 0);
    types.Refresh();
    std::vector<std::string> names;
    for (const auto& entry : types) names.push_back(entry->getOIDType());
    EXPECT_EQ(names, (std::vector<std::string>{"COUNTER32", "DISPLAYSTRING", "INTEGER"}));
}

TEST_F(OIDTypesTest, SecondRefreshFailsOnTheFirstDuplicate) {
    OIDTypes types;
    try {
        types.Refresh();
        FAIL() << "no duplicate-key error";
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), ERR_DUPLICATE_KEY);
    }
    EXPECT_EQ(types.Count(), 3);
}

TEST_F(OIDTypesTest, NamesDifferingOnlyInCaseMakeCreationFail) {
    home.db().exec("INSERT INTO Types VALUES ('COUNTER32', 'x', 1)");
    EXPECT_THROW(OIDTypes{}, Error);
}

TEST_F(OIDTypesTest, CodeBeyondSixteenBitsMakesCreationFail) {
    home.db().exec("INSERT INTO Types VALUES ('Huge', 'INTEGER', 40000)");
    try {
        OIDTypes types;
        FAIL() << "no overflow";
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), ERR_OVERFLOW);
    }
}

}  // namespace
}  // namespace qlmib
