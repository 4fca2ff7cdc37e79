#include <gtest/gtest.h>

#include <qlmib/common/Error.h>
#include <qlmib/mibdata/OID.h>

#include "MibFixture.h"

namespace qlmib {
namespace {

class EnumsTest : public test::MibFixture {
protected:
    void SetUp() override {
        MibFixture::SetUp();
        test::insertEnum(home.db(), "ifAdminStatus", 7, "lowerLayerDown");
        test::insertEnum(home.db(), "ifAdminStatus", -1, "minusOne");
        test::insertEnum(home.db(), "odd'name", 1, "quoted");
        home.db().exec("INSERT INTO Enums (Name, Value, Enum) VALUES ('ifAdminStatus', 9, NULL)");
        status.setOID("1.3.6.1.2.1.2.2.1.7.1");
    }
    OID status;
};

TEST_F(EnumsTest, LabelOfANumber) {
    struct Case {
        int value;
        const char* string;
        const char* name;
        const char* words;
    };
    const Case cases[] = {
        {1, "up(1)", "up", "Up"},
        {7, "lowerLayerDown(7)", "lowerLayerDown", "Lower Layer Down"},
        {-1, "minusOne(-1)", "minusOne", "Minus One"},
        {42, "unknown(42)", "unknown", "Unknown"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(status.EnumString(c.value), c.string);
        EXPECT_EQ(status.EnumName(c.value), c.name);
        EXPECT_EQ(status.EnumWords(c.value), c.words);
    }
    EXPECT_EQ(status.EnumName(42, ""), "42");
    EXPECT_EQ(status.EnumWords(42, "n/a"), "N/a");
    EXPECT_EQ(status.EnumWords(42, ""), "42");
}

TEST_F(EnumsTest, NullLabelIsEmptyForStringsAndATypeErrorForNames) {
    EXPECT_EQ(status.EnumString(9), "(9)");
    try {
        status.EnumName(9);
        FAIL() << "no type error";
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), ERR_TYPE_MISMATCH);
    }
    EXPECT_THROW(status.EnumWords(9), Error);
}

TEST_F(EnumsTest, ListInAscendingOrder) {
    EXPECT_EQ(status.EnumList(),
              "#-1;minusOne(-1)|#1;up(1)|#2;down(2)|#3;testing(3)|#7;lowerLayerDown(7)|#9;(9)");
}

TEST_F(EnumsTest, QuoteInAnEnumerationNameIsData) {
    test::insertRow(home.db(), {.oid = "1.3.6.1.4.1.9.9.2", .name = "quotedEnum", .enumName = "odd'name"});
    OID o;
    o.setOID("1.3.6.1.4.1.9.9.2.0");
    EXPECT_EQ(o.EnumString(1), "quoted(1)");
    EXPECT_EQ(o.EnumList(), "#1;quoted(1)");
}

TEST_F(EnumsTest, ObjectWithoutEnumeration) {
    OID plain;
    plain.setOID("1.3.6.1.2.1.1.1.0");
    EXPECT_EQ(plain.EnumString(3), "unknown(3)");
    EXPECT_EQ(plain.EnumString(-1), "unknown(-1)");
    EXPECT_EQ(plain.EnumList(), "");
}

TEST(CamelCaseWords, SplitsCapitals) {
    const std::pair<const char*, const char*> cases[] = {
        {"lowerLayerDown", "Lower Layer Down"}, {"notPresent", "Not Present"}, {"ifHCInOctets", "If HC In Octets"},
        {"ABCD", "AB CD"}, {"up", "Up"}, {"", ""}, {"n/a", "N/a"}, {"dot1dBridge", "Dot1d Bridge"},
    };
    for (auto [in, out] : cases) EXPECT_EQ(CamelCaseWords(in), out) << in;
}

TEST(Vocabulary, AccessAndStatusWords) {
    const std::pair<int, const char*> access[] = {
        {0, "unknown"}, {1, "read-only"}, {2, "read-write"}, {3, "write-only"}, {4, "not-available"}, {9, "unknown"}};
    for (auto [code, text] : access) EXPECT_EQ(AccessString(code), text);
    const std::pair<int, const char*> status[] = {{0, "unknown"},    {1, "mandatory"},  {2, "optional"},
                                                  {3, "obsolete"},   {4, "deprecated"}, {5, "current"},
                                                  {-1, "unknown"}};
    for (auto [code, text] : status) EXPECT_EQ(StatusString(code), text);
}

}  // namespace
}  // namespace qlmib
