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
        ASSERT_TRUE(types.Item(key)) << key;
        EXPECT_EQ(types.Item(key)->getOIDType(), "COUNTER32");
        EXPECT_EQ(types.Item(key)->getValue(), 65);
    }
    EXPECT_EQ(types.Item("displaystring")->getRootType(), "OCTET STRING");
    EXPECT_EQ(types.Item(3)->getOIDType(), "INTEGER");
    for (const auto& missing : {types.Item(0), types.Item(4), types.Item("Gauge32")}) EXPECT_FALSE(missing);
    EXPECT_EQ(types.CodeOf("integer"), 2);
    EXPECT_EQ(types.CodeOf("Gauge32"), 0);
}

TEST_F(OIDTypesTest, AddKeepsAnExistingEntryAndRemoveFailsOnAMissingOne) {
    OIDTypes types;
    EXPECT_EQ(types.Add(99, "counter32", "x")->getValue(), 65);
    auto added = types.Add(66, "Gauge32", "Gauge32");
    EXPECT_EQ(added->getOIDType(), "Gauge32") << "Add keeps the case given";
    EXPECT_EQ(types.Item(4), added);
    EXPECT_EQ(types.Item("GAUGE32"), added);

    types.Remove("displaystring");
    types.Remove(1);
    EXPECT_EQ(types.Count(), 2);
    EXPECT_EQ(types.Item(1)->getOIDType(), "INTEGER");
    EXPECT_THROW(types.Remove("nothing"), Error);
    EXPECT_THROW(types.Remove(5), Error);
    types.Clear();
    types.Refresh();
    std::vector<std::string> names;
    for (const auto& entry : types) names.push_back(entry->getOIDType());
    EXPECT_EQ(names, (std::vector<std::string>{"COUNTER32", "DISPLAYSTRING", "INTEGER"}));
}

TEST_F(OIDTypesTest, DuplicateKeysAndCodesBeyondSixteenBitsFail) {
    OIDTypes types;
    try {
        types.Refresh();
        FAIL() << "a second refresh met no duplicate";
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), ERR_DUPLICATE_KEY);
    }
    EXPECT_EQ(types.Count(), 3) << "it stops at the first duplicate";

    const struct {
        const char* type;
        int value, error;
    } rows[] = {{"COUNTER32", 1, ERR_DUPLICATE_KEY}, {"Huge", 40000, ERR_OVERFLOW}};
    for (const auto& row : rows) {
        SetUp();
        home.db().prepare("INSERT INTO Types VALUES (?1, 'INTEGER', ?2)").bind(1, row.type).bind(2, row.value).step();
        try {
            OIDTypes failing;
            ADD_FAILURE() << row.type << " was accepted";
        } catch (const Error& e) {
            EXPECT_EQ(e.Number(), row.error) << row.type;
        }
    }
}

}  // namespace
}  // namespace qlmib
