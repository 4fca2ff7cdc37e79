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
    OID plain;
    plain.setOID("1.3.6.1.2.1.1.1.0");
    const struct {
        const OID& object;
        int value;
        const char *string, *name, *words;
    } cases[] = {
        {status, 1, "up(1)", "up", "Up"},
        {status, 7, "lowerLayerDown(7)", "lowerLayerDown", "Lower Layer Down"},
        {status, -1, "minusOne(-1)", "minusOne", "Minus One"},
        {status, 42, "unknown(42)", "unknown", "Unknown"},
        {plain, -1, "unknown(-1)", "unknown", "Unknown"},  // no enumeration at all
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.object.EnumString(c.value), c.string);
        EXPECT_EQ(c.object.EnumName(c.value), c.name);
        EXPECT_EQ(c.object.EnumWords(c.value), c.words);
    }
    EXPECT_EQ(status.EnumName(42, ""), "42");
    EXPECT_EQ(status.EnumWords(42, "n/a"), "N/a");
    EXPECT_EQ(status.EnumWords(42, ""), "42");
    EXPECT_EQ(plain.EnumList(), "");
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

TEST_F(EnumsTest, ListsAscendAndAQuoteInTheEnumerationNameIsData) {
    EXPECT_EQ(status.EnumList(),
              "#-1;minusOne(-1)|#1;up(1)|#2;down(2)|#3;testing(3)|#7;lowerLayerDown(7)|#9;(9)");
    test::insertRow(home.db(), {.oid = "1.3.6.1.4.1.9.9.2", .name = "quotedEnum", .enumName = "odd'name"});
    OID o;
    o.setOID("1.3.6.1.4.1.9.9.2.0");
    EXPECT_EQ(o.EnumList(), "#1;quoted(1)");
}

TEST(CamelCaseWords, SplitsCapitals) {
    const std::pair<const char*, const char*> cases[] = {
        {"lowerLayerDown", "Lower Layer Down"}, {"notPresent", "Not Present"}, {"ifHCInOctets", "If HC In Octets"},
        {"ABCD", "AB CD"}, {"up", "Up"}, {"", ""}, {"n/a", "N/a"}, {"dot1dBridge", "Dot1d Bridge"},
    };
    for (auto [in, out] : cases) EXPECT_EQ(CamelCaseWords(in), out) << in;
}

TEST(Vocabulary, AccessAndStatusCodesOutOfRangeAreUnknown) {
    for (int code : {0, 5, -1}) EXPECT_EQ(AccessString(code), "unknown") << code;
    EXPECT_EQ(AccessString(4), "not-available");
    for (int code : {0, 6, -1}) EXPECT_EQ(StatusString(code), "unknown") << code;
    EXPECT_EQ(StatusString(3), "obsolete");
}

}  // namespace
}  // namespace qlmib
