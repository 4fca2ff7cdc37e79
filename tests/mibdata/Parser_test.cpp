#include <gtest/gtest.h>

#include <qlmib/common/Error.h>
#include <qlmib/mibdata/OID.h>

#include "MibFixture.h"

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
        {"MBPS", "1544000", "", "1.54 Mbps"},
        {"MBPS", "9601", "", "9.6 Kbps"},
        {"MBPS", "9600", "", "9600 bps"},
        {"MBPS", "fast", "", "0 bps"},
        {"KBYTES", "1", "", "1024 bytes"},
        {"KBYTES", "100", "", "100 Kbytes"},
        {"PHYSADDRESS", "", "00A0C9123456", "00A0.C912.3456"},
        {"MACADDRESS", "", "00A0C91234", "00A0.C912.34"},
        {"PhysAddress", "", "", ""},
        {"OBJECT", "1.3.6.1.2.1.2.2.1.10.4", "", "ifInOctets.4"},
        {"OBJECT-IDENTIFIER", "1.3.6.1.2.1.1.3", "", "sysUpTime"},
        {"OBJECT", "77.77", "", ""},
        {"TIMESPAN", "30", "", ""},
        {"TIMESPAN", "150", "", "2 seconds"},
        {"TIMESPAN", "250", "", "2 seconds"},
        {"TIMETICKS", "42", "", "0.42 seconds"},
        {"TIMETICKS", "0", "", "0.00 seconds"},
        {"TIMETICKS", "100", "", "1 seconds"},
        {"TIMETICKS", "9006100", "", "1 days, 1 hours, 1 minutes, 1 seconds"},
        {"TIMETICKS", "8640000", "", "24 hours"},
        {"TIMETICKS", "360000", "", "60 minutes"},
        {"TIMETICKS", "6000", "", "60 seconds"},
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

TEST_F(ParserTest, ConversionErrorsReachTheCaller) {
    EXPECT_THROW(parse("SERVICES", "70000"), Error);
    EXPECT_THROW(parse("DATEANDTIME", "", "07E80D0100000000"), Error);  // month 13
}

TEST_F(ParserTest, TypeNameIsTheKeywordWithoutParse) {
    OID upTime;
    upTime.setOID("1.3.6.1.2.1.1.3.0");
    EXPECT_EQ(upTime.ParseValue("42", ""), "0.42 seconds");
    upTime.setParse("MBPS");
    EXPECT_EQ(upTime.ParseValue("64000", ""), "64 Kbps") << "Parse overrides the type name";
}

TEST_F(ParserTest, EnumerationWinsOverUnitsAndKeywords) {
    OID status;
    status.setOID("1.3.6.1.2.1.2.2.1.7.1");
    EXPECT_EQ(status.ParseValue("2", ""), "down(2)");
    EXPECT_EQ(status.ParseValue("2.5", ""), "down(2)") << "halves round to even";
    EXPECT_EQ(status.ParseValue("9", ""), "unknown(9)");
}

TEST_F(ParserTest, UnitsAreAppendedUpToTheFirstComma) {
    OID octets;
    octets.setOID("1.3.6.1.2.1.2.2.1.10.1");
    EXPECT_EQ(octets.ParseValue("5", ""), "5 octets");
    octets.setUnits("seconds");
    EXPECT_EQ(octets.ParseValue("5", ""), "5 seconds");
}

TEST_F(ParserTest, UnknownObjectGivesTheValue) {
    OID nothing;
    nothing.setOID("99");
    EXPECT_EQ(nothing.ParseValue("abc", "616263"), "abc");
}

}  // namespace
}  // namespace qlmib
