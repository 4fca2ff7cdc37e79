#include <gtest/gtest.h>

#include <qlmib/snmp/UsmSecurity.h>

namespace qlmib::snmp {
namespace {

// net-snmp's spellings in any case read back; the first spelling is written.
TEST(UsmSecurityTest, NamesReadInAnyCaseAndWriteNetSnmpsSpelling) {
    const std::pair<const char*, SecurityLevel> levels[] = {
        {"authpriv", SecurityLevel::AuthPriv}, {"NOAUTH", SecurityLevel::NoAuthNoPriv}, {"auth", SecurityLevel::AuthNoPriv}};
    for (const auto& [text, level] : levels) EXPECT_EQ(ParseSecurityLevel(text), level) << text;
    const std::pair<const char*, AuthProtocol> auths[] = {
        {"md5", AuthProtocol::MD5}, {"SHA1", AuthProtocol::SHA}, {"sha-224", AuthProtocol::SHA224},
        {"SHA-512", AuthProtocol::SHA512}};
    for (const auto& [text, protocol] : auths) EXPECT_EQ(ParseAuthProtocol(text), protocol) << text;
    const std::pair<const char*, PrivProtocol> privs[] = {
        {"des", PrivProtocol::DES}, {"AES", PrivProtocol::AES128}, {"aes-128", PrivProtocol::AES128},
        {"AES-256", PrivProtocol::AES256}};
    for (const auto& [text, protocol] : privs) EXPECT_EQ(ParsePrivProtocol(text), protocol) << text;
    for (const char* unknown : {"", "SHA-1024", "AES256C", "authnopriv "}) {
        EXPECT_FALSE(ParseAuthProtocol(unknown)) << unknown;
        EXPECT_FALSE(ParsePrivProtocol(unknown)) << unknown;
        EXPECT_FALSE(ParseSecurityLevel(unknown)) << unknown;
    }
    EXPECT_STREQ(SecurityLevelName(SecurityLevel::AuthNoPriv), "authNoPriv");
    EXPECT_STREQ(AuthProtocolName(AuthProtocol::SHA224), "SHA-224");
    EXPECT_STREQ(PrivProtocolName(PrivProtocol::AES128), "AES");
}

TEST(UsmSecurityTest, HexOctetsRoundTripAndRejectWhatIsNotHex) {
    const std::string octets("\x80\x00\x1f\x88\xff", 5);
    EXPECT_EQ(HexOctetsText(octets), "0x80001f88ff");
    EXPECT_EQ(ParseHexOctets("0x80001F88FF"), octets);
    EXPECT_EQ(ParseHexOctets("80001f88ff"), octets);
    for (const char* bad : {"", "0x", "0x8", "80001g", "0x80 00"}) EXPECT_FALSE(ParseHexOctets(bad)) << bad;
}

TEST(UsmSecurityTest, PassphrasesShorterThanEightAreRefusedUnlessAKeyStandsIn) {
    UsmSecurity security;
    security.securityName = "ops";
    security.level = SecurityLevel::AuthPriv;
    security.authPassphrase = "12345678";
    security.privPassphrase = "1234567";
    EXPECT_NE(SecurityProblem(security).find("privacy"), std::string::npos);
    security.privKey = std::string(16, 'k');
    EXPECT_EQ(SecurityProblem(security), "");
    security.authPassphrase.clear();
    EXPECT_NE(SecurityProblem(security).find("authentication"), std::string::npos);
    security.level = SecurityLevel::NoAuthNoPriv;
    EXPECT_EQ(SecurityProblem(security), "");
}

}  // namespace
}  // namespace qlmib::snmp
