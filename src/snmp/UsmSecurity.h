#pragma once
// SNMPv3 user-based security as the engine applies it to every request, and
// the names the command line and the settings use for its levels and protocols
// (net-snmp's own spellings).

#include <optional>
#include <string>
#include <string_view>

namespace qlmib::snmp {

enum class SecurityLevel { NoAuthNoPriv, AuthNoPriv, AuthPriv };
enum class AuthProtocol { MD5, SHA, SHA224, SHA256, SHA384, SHA512 };
enum class PrivProtocol { DES, AES128, AES192, AES256 };

struct UsmSecurity {
    std::string securityName;  // empty: the engine speaks v1/v2c with communities
    SecurityLevel level = SecurityLevel::NoAuthNoPriv;
    AuthProtocol authProtocol = AuthProtocol::SHA;
    PrivProtocol privProtocol = PrivProtocol::AES128;
    std::string authPassphrase, privPassphrase;
    // Keys localized for securityEngineID, used instead of the passphrases
    // when set (raw octets).
    std::string authKey, privKey;
    std::string contextName;
    std::string securityEngineID;  // raw octets; empty: discovered from the agent

    bool enabled() const { return !securityName.empty(); }
    bool authenticates() const { return level != SecurityLevel::NoAuthNoPriv; }
    bool encrypts() const { return level == SecurityLevel::AuthPriv; }
    bool operator==(const UsmSecurity&) const = default;
};

// "noAuthNoPriv", "authNoPriv", "authPriv" (any case; net-snmp's short forms
// "noauth", "auth", "priv" too).
std::optional<SecurityLevel> ParseSecurityLevel(std::string_view text);
// "MD5", "SHA", "SHA-224" ... "SHA-512" (any case; "SHA1" and "SHA-1" as SHA).
std::optional<AuthProtocol> ParseAuthProtocol(std::string_view text);
// "DES", "AES" or "AES-128", "AES-192", "AES-256" (any case).
std::optional<PrivProtocol> ParsePrivProtocol(std::string_view text);
const char* SecurityLevelName(SecurityLevel level);
const char* AuthProtocolName(AuthProtocol protocol);
const char* PrivProtocolName(PrivProtocol protocol);

// Engine IDs and keys as net-snmp's tools write them: hex digits, "0x"
// optional on reading, written with it.
std::optional<std::string> ParseHexOctets(std::string_view hex);
std::string HexOctetsText(std::string_view octets);

// Why a v3 security setting cannot be used ("" when it can): a passphrase
// shorter than 8 characters where the level needs one and no key stands in.
std::string SecurityProblem(const UsmSecurity& security);

// The agent's security engine ID (raw octets), asked with net-snmp's
// discovery. Throws Error(ERR_SNMP) when the agent does not answer.
std::string DiscoverEngineID(const std::string& host, int port, int timeoutMs, int retries);
// Puts into authKey and privKey the keys localized from the passphrases for
// securityEngineID, and clears the passphrases. Throws Error(ERR_INVALID_CALL)
// when there is no engine ID or a passphrase is too short.
void LocalizeKeys(UsmSecurity& security);

}  // namespace qlmib::snmp
