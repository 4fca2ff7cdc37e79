#include <gtest/gtest.h>

#include <qlmib/common/Error.h>
#include <qlmib/mibdata/OID.h>

#include "MibFixture.h"
#include "ScopedLocale.h"

namespace qlmib {
namespace {

class ParserTest : public test::MibFixture {
protected:
    // An object of its own whose Parse keyword decides the rendering.
    std::string parse(const std::string& keyword, const std::string& value, const std::string& hex = "") {
        OID o;
        o.setOID("1.3.6.1.2.1.1.1");
        o.setParse(keyword);
        return o.ParseValue(value, hex);
    }
};

struct KeywordCase {
    const char* keyword;
    std::string value;
    const char* hex;
    const char* expected;
};

TEST_F(ParserTest, Keywords) {
    const KeywordCase cases[] = {
        {"TRUTHVALUE", "1", "", "True"},
        {"TRUTHVALUE", "2", "", "False"},
        {"truthvalue", "3", "", "Unknown"},
        {"MBPS", "100000000", "", "100 Mbps"},
        {"MBPS", "9600", "", "9600 bps"},
        {"MBPS", "fast", "", "0 bps"},
        {"KBYTES", "1", "", "1024 bytes"},
        {"KBYTES", "100", "", "100 Kbytes"},
        {"PHYSADDRESS", "", "00A0C9123456", "00A0.C912.3456"},
        {"MACADDRESS", "", "00A0C91234", "00A0.C912.34"},
        {"PhysAddress", "", "", ""},
        {"OBJECT", "1.3.6.1.2.1.2.2.1.10.4", "", "ifInOctets.4"},
        {"OBJECT", "77.77", "", ""},
        {"TIMESPAN", "30", "", ""},
        {"TIMESPAN", "150", "", "2 seconds"},
        {"TIMETICKS", "42", "", "0.42 seconds"},
        {"TIMETICKS", "0", "", "0.00 seconds"},
        {"TIMETICKS", "100", "", "1 seconds"},
        {"TIMETICKS", "9006100", "", "1 days, 1 hours, 1 minutes, 1 seconds"},
        {"TIMETICKS", "x", "", "0.00 seconds"},
        {"SERVICES", "72", "", "transport, applications"},
        {"SERVICES", "0", "", ""},
        {"SERVICES", "127", "", "physical, data link, network, transport, session, presentaion, applications"},
        {"INETADDRESS", std::string("\x0a\x00\x00\x01", 4), "0A000001", "10.0.0.1"},
        {"CISCONETWORKADDRESS", "", "0A000001", "10.0.0.1"},
        {"INETADDRESS", "ab", "0A00", ""},
        {"IPADDRESSLIST", std::string("\x0a\x00\x00\x01\x0a\x00\x00\x02", 8), "", "10.0.0.1, 10.0.0.2"},
        {"IPADDRESSLIST", std::string("\xc0\xa8\x01\x01\x07", 5), "", "192.168.1.1, 7"},
        {"IPADDRESSLIST", "", "", ""},
        {"CISCO%LOAD", "42.5", "", "42.5 %"},
        {"WIRELESSRATESET", "", "0204", "1, 2 Mbps"},
        {"WIRELESSRATESET", "", "8B", "69.5 Mbps"},
        {"WIRELESSRATESET", "", "", ""},
        {"DATEANDTIME", "x", "07E8021D0D050905", "2024-02-29 13:05:10"},  // 9.5 s rounds to 10
        {"DATEANDTIME", "x", "07E8030100000000", "2024-03-01"},
        {"DATEANDTIME", "raw", "07E8021D0D05091F2B0000", "raw"},
        {"NOSUCHKEYWORD", "5", "", "5"},
        {" TIMETICKS", "42", "", "42"},  // keywords are not trimmed
    };
    for (const auto& c : cases) EXPECT_EQ(parse(c.keyword, c.value, c.hex), c.expected) << c.keyword << " " << c.value;
}

// 64-bit values (Counter64, or a 64-bit number where the MIB expects less)
// render without an error, and no number depends on the process locale.
using WideNumbers = test::UnderLocale<ParserTest>;
INSTANTIATE_TEST_SUITE_P(Locales, WideNumbers, ::testing::ValuesIn(test::kNumberLocales));

TEST_P(WideNumbers, RenderWithoutErrorWhateverTheLocale) {
    const KeywordCase cases[] = {
        {"TIMETICKS", "4294967296", "", "497 days, 2 hours, 27 minutes, 53 seconds"},
        {"TIMETICKS", "18446744073709551615", "", "2135039823346 days, 18 minutes, 40 seconds"},
        {"TIMESPAN", "18446744073709551615", "", "2135039823346 days, 18 minutes, 40 seconds"},
        {"TIMETICKS", "42", "", "0.42 seconds"},
        {"MBPS", "18446744073709551615", "", "18446.7 Petabps"},
        {"MBPS", "1544000.5", "", "1.54 Mbps"},
        {"CISCO%LOAD", "1e20", "", "100000000000000000000 %"},
        {"CISCO%LOAD", "3.25", "", "3.25 %"},
        {"WIRELESSRATESET", "", "0B", "5.5 Mbps"},
    };
    for (const auto& c : cases) EXPECT_EQ(parse(c.keyword, c.value, c.hex), c.expected) << c.keyword << " " << c.value;

    OID status;
    status.setOID("1.3.6.1.2.1.2.2.1.7.1");
    ASSERT_FALSE(status.getEnumerated().empty());
    EXPECT_EQ(status.ParseValue("4294967298", ""), "unknown(4294967298)");
    EXPECT_EQ(status.ParseValue("-4294967296", ""), "unknown(-4294967296)");
    EXPECT_EQ(status.ParseValue("18446744073709551615", ""), "unknown(18446744073709600000)");
    EXPECT_EQ(status.ParseValue("1.5", ""), "down(2)");
}

TEST_F(ParserTest, ConversionErrorsReachTheCaller) {
    EXPECT_THROW(parse("SERVICES", "70000"), Error);
    EXPECT_THROW(parse("DATEANDTIME", "", "07E80D0100000000"), Error);  // month 13
}

// Without a keyword of its own an object's value is rendered by its
// enumeration, else by its type name as a keyword, with its units after;
// the hex form is for keywords that need it.
TEST_F(ParserTest, EnumerationThenTypeNameThenUnits) {
    const struct {
        const char *oid, *parse, *units, *value, *expected;
    } cases[] = {
        {"1.3.6.1.2.1.1.3.0", "", nullptr, "42", "0.42 seconds"},
        {"1.3.6.1.2.1.1.3.0", "MBPS", nullptr, "64000", "64 Kbps"},
        {"1.3.6.1.2.1.2.2.1.7.1", "", nullptr, "2", "down(2)"},
        {"1.3.6.1.2.1.2.2.1.7.1", "", nullptr, "2.5", "down(2)"},  // halves round to even
        {"1.3.6.1.2.1.2.2.1.7.1", "", nullptr, "9", "unknown(9)"},
        {"1.3.6.1.2.1.2.2.1.10.1", "", nullptr, "5", "5 octets"},  // up to the first comma
        {"1.3.6.1.2.1.2.2.1.10.1", "", "seconds", "5", "5 seconds"},
        {"99", "", nullptr, "abc", "abc"},
    };
    for (const auto& c : cases) {
        OID o;
        o.setOID(c.oid);
        if (*c.parse) o.setParse(c.parse);
        if (c.units) o.setUnits(c.units);
        EXPECT_EQ(o.ParseValue(c.value, "616263"), c.expected) << c.oid << " " << c.value;
    }
}

}  // namespace
}  // namespace qlmib
