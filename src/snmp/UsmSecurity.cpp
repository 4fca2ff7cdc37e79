#include "UsmSecurity.h"

#include <array>
#include <utility>

#include "qlmib/mibdata/TextNumbers.h"

namespace qlmib::snmp {
namespace {

template <class Enum, size_t N>
std::optional<Enum> find(const std::array<std::pair<const char*, Enum>, N>& names, std::string_view text) {
    for (const auto& [name, value] : names)
        if (EqualsNoCase(text, name)) return value;
    return std::nullopt;
}

template <class Enum, size_t N>
const char* nameOf(const std::array<std::pair<const char*, Enum>, N>& names, Enum value) {
    for (const auto& [name, candidate] : names)
        if (candidate == value) return name;
    return "";
}

// The first spelling of each value is the one written.
constexpr std::array<std::pair<const char*, SecurityLevel>, 6> kLevels{{
    {"noAuthNoPriv", SecurityLevel::NoAuthNoPriv},
    {"authNoPriv", SecurityLevel::AuthNoPriv},
    {"authPriv", SecurityLevel::AuthPriv},
    {"noauth", SecurityLevel::NoAuthNoPriv},
    {"auth", SecurityLevel::AuthNoPriv},
    {"priv", SecurityLevel::AuthPriv},
}};
constexpr std::array<std::pair<const char*, AuthProtocol>, 8> kAuth{{
    {"MD5", AuthProtocol::MD5},
    {"SHA", AuthProtocol::SHA},
    {"SHA-224", AuthProtocol::SHA224},
    {"SHA-256", AuthProtocol::SHA256},
    {"SHA-384", AuthProtocol::SHA384},
    {"SHA-512", AuthProtocol::SHA512},
    {"SHA1", AuthProtocol::SHA},
    {"SHA-1", AuthProtocol::SHA},
}};
constexpr std::array<std::pair<const char*, PrivProtocol>, 5> kPriv{{
    {"DES", PrivProtocol::DES},
    {"AES", PrivProtocol::AES128},
    {"AES-192", PrivProtocol::AES192},
    {"AES-256", PrivProtocol::AES256},
    {"AES-128", PrivProtocol::AES128},
}};

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::optional<SecurityLevel> ParseSecurityLevel(std::string_view text) { return find(kLevels, text); }
std::optional<AuthProtocol> ParseAuthProtocol(std::string_view text) { return find(kAuth, text); }
std::optional<PrivProtocol> ParsePrivProtocol(std::string_view text) { return find(kPriv, text); }
const char* SecurityLevelName(SecurityLevel level) { return nameOf(kLevels, level); }
const char* AuthProtocolName(AuthProtocol protocol) { return nameOf(kAuth, protocol); }
const char* PrivProtocolName(PrivProtocol protocol) { return nameOf(kPriv, protocol); }

std::optional<std::string> ParseHexOctets(std::string_view hex) {
    if (hex.starts_with("0x") || hex.starts_with("0X")) hex.remove_prefix(2);
    if (hex.empty() || hex.size() % 2) return std::nullopt;
    std::string octets;
    for (size_t i = 0; i < hex.size(); i += 2) {
        const int high = hexDigit(hex[i]), low = hexDigit(hex[i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        octets += static_cast<char>(high * 16 + low);
    }
    return octets;
}

std::string HexOctetsText(std::string_view octets) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string text = "0x";
    for (const unsigned char c : octets) {
        text += digits[c >> 4];
        text += digits[c & 15];
    }
    return text;
}

std::string SecurityProblem(const UsmSecurity& security) {
    const auto tooShort = [](const std::string& passphrase, const std::string& key) {
        return key.empty() && passphrase.size() < 8;
    };
    if (security.authenticates() && tooShort(security.authPassphrase, security.authKey))
        return "The authentication passphrase must have at least 8 characters";
    if (security.encrypts() && tooShort(security.privPassphrase, security.privKey))
        return "The privacy passphrase must have at least 8 characters";
    return "";
}

}  // namespace qlmib::snmp
