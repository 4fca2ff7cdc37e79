#include "Usm.h"

#include <cstdlib>
#include <cstring>
#include <iterator>
#include <mutex>

#include "PeerName.h"
#include "qlmib/common/Error.h"

namespace qlmib::snmp {
namespace internal {
namespace {

struct ProtocolOid {
    oid* name;
    size_t length;
};

ProtocolOid authOid(AuthProtocol protocol) {
    switch (protocol) {
    case AuthProtocol::MD5: return {usmHMACMD5AuthProtocol, std::size(usmHMACMD5AuthProtocol)};
    case AuthProtocol::SHA: return {usmHMACSHA1AuthProtocol, std::size(usmHMACSHA1AuthProtocol)};
    case AuthProtocol::SHA224: return {usmHMAC128SHA224AuthProtocol, std::size(usmHMAC128SHA224AuthProtocol)};
    case AuthProtocol::SHA256: return {usmHMAC192SHA256AuthProtocol, std::size(usmHMAC192SHA256AuthProtocol)};
    case AuthProtocol::SHA384: return {usmHMAC256SHA384AuthProtocol, std::size(usmHMAC256SHA384AuthProtocol)};
    case AuthProtocol::SHA512: return {usmHMAC384SHA512AuthProtocol, std::size(usmHMAC384SHA512AuthProtocol)};
    }
    return {usmHMACSHA1AuthProtocol, std::size(usmHMACSHA1AuthProtocol)};
}

ProtocolOid privOid(PrivProtocol protocol) {
    switch (protocol) {
    case PrivProtocol::DES: return {usmDESPrivProtocol, std::size(usmDESPrivProtocol)};
    case PrivProtocol::AES128: return {usmAESPrivProtocol, std::size(usmAESPrivProtocol)};
    case PrivProtocol::AES192: return {usmAES192PrivProtocol, std::size(usmAES192PrivProtocol)};
    case PrivProtocol::AES256: return {usmAES256PrivProtocol, std::size(usmAES256PrivProtocol)};
    }
    return {usmAESPrivProtocol, std::size(usmAESPrivProtocol)};
}

// The USM security module and OpenSSL start with init_snmp, which the
// community-only engine skips for speed: it runs once, on the first v3
// session, with MIB loading, configuration files and persistent state off.
void StartUsm() {
    static std::once_flag once;
    std::call_once(once, [] {
        netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_READ_CONFIGS, 1);
        netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_LOAD, 1);
        netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_SAVE, 1);
        netsnmp_ds_set_string(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_PERSISTENT_DIR, "/nonexistent");
        netsnmp_set_mib_directory("");
        setenv("MIBS", "", 1);
        init_snmp("qlmib");
    });
}

// net-snmp keeps one USM user per engine ID and name for the whole process
// and does not replace its keys when another session names it: a corrected
// passphrase would be ignored, a wrong one kept. The user is made afresh by
// the session about to open.
void forgetUser(const std::string& securityName) {
    for (usmUser* user = usm_get_userList(); user;) {
        usmUser* next = user->next;
        if (user->secName && securityName == user->secName) {
            usm_remove_user(user);
            usm_free_user(user);
        }
        user = next;
    }
}

std::string kuOf(const ProtocolOid& hash, const std::string& passphrase, u_char* key, size_t& keyLength) {
    keyLength = USM_AUTH_KU_LEN;
    if (generate_Ku(hash.name, hash.length, reinterpret_cast<const u_char*>(passphrase.data()), passphrase.size(),
                    key, &keyLength) != SNMPERR_SUCCESS)
        return "Cannot derive a key from the passphrase";
    return "";
}

}  // namespace

std::string ApplySecurity(netsnmp_session& session, const UsmSecurity& security) {
    if (auto problem = SecurityProblem(security); !problem.empty()) return problem;
    StartUsm();
    forgetUser(security.securityName);
    session.version = SNMP_VERSION_3;
    session.securityModel = SNMP_SEC_MODEL_USM;
    session.securityName = const_cast<char*>(security.securityName.c_str());
    session.securityNameLen = security.securityName.size();
    session.contextName = const_cast<char*>(security.contextName.c_str());
    session.contextNameLen = security.contextName.size();
    if (!security.securityEngineID.empty()) {
        session.securityEngineID = reinterpret_cast<u_char*>(const_cast<char*>(security.securityEngineID.data()));
        session.securityEngineIDLen = security.securityEngineID.size();
    }
    switch (security.level) {
    case SecurityLevel::NoAuthNoPriv: session.securityLevel = SNMP_SEC_LEVEL_NOAUTH; return "";
    case SecurityLevel::AuthNoPriv: session.securityLevel = SNMP_SEC_LEVEL_AUTHNOPRIV; break;
    case SecurityLevel::AuthPriv: session.securityLevel = SNMP_SEC_LEVEL_AUTHPRIV; break;
    }
    const auto hash = authOid(security.authProtocol);
    session.securityAuthProto = hash.name;
    session.securityAuthProtoLen = hash.length;
    if (!security.authKey.empty()) {
        session.securityAuthLocalKey = reinterpret_cast<u_char*>(const_cast<char*>(security.authKey.data()));
        session.securityAuthLocalKeyLen = security.authKey.size();
    } else if (auto error = kuOf(hash, security.authPassphrase, session.securityAuthKey, session.securityAuthKeyLen);
               !error.empty()) {
        return error;
    }
    if (!security.encrypts()) return "";
    const auto cipher = privOid(security.privProtocol);
    session.securityPrivProto = cipher.name;
    session.securityPrivProtoLen = cipher.length;
    if (!security.privKey.empty()) {
        session.securityPrivLocalKey = reinterpret_cast<u_char*>(const_cast<char*>(security.privKey.data()));
        session.securityPrivLocalKeyLen = security.privKey.size();
        return "";
    }
    // The privacy key is derived with the authentication protocol's hash.
    return kuOf(hash, security.privPassphrase, session.securityPrivKey, session.securityPrivKeyLen);
}

}  // namespace internal

void LocalizeKeys(UsmSecurity& security) {
    using namespace internal;
    const std::string& engineID = security.securityEngineID;
    if (!security.authenticates()) return;
    if (engineID.empty()) throw Error(ERR_INVALID_CALL, "Keys are localized for an engine ID, and none is known");
    security.authKey.clear();
    security.privKey.clear();
    netsnmp_session session;
    snmp_sess_init(&session);
    if (auto problem = ApplySecurity(session, security); !problem.empty()) throw Error(ERR_INVALID_CALL, problem);
    const auto hash = authOid(security.authProtocol);
    const auto* engine = reinterpret_cast<const u_char*>(engineID.data());
    const auto localize = [&](const u_char* ku, size_t kuLength) {
        u_char kul[USM_AUTH_KU_LEN];
        size_t kulLength = sizeof kul;
        if (generate_kul(hash.name, hash.length, engine, engineID.size(), ku, kuLength, kul, &kulLength) !=
            SNMPERR_SUCCESS)
            throw Error(ERR_INVALID_CALL, "Cannot localize a key for engine " + HexOctetsText(engineID));
        return std::string(reinterpret_cast<char*>(kul), kulLength);
    };
    struct {
        std::string authKey, privKey;
    } keys;
    keys.authKey = localize(session.securityAuthKey, session.securityAuthKeyLen);
    if (security.encrypts()) keys.privKey = localize(session.securityPrivKey, session.securityPrivKeyLen);
    // AES-192 and AES-256 need more octets than a short hash gives: net-snmp
    // extends the localized key the same way when it derives it itself.
    const auto cipher = privOid(security.privProtocol);
    const int privType = sc_get_privtype(cipher.name, cipher.length);
    const auto needed = static_cast<u_int>(sc_get_proper_priv_length_bytype(privType));
    if (security.encrypts() && keys.privKey.size() < needed) {
        size_t length = keys.privKey.size();
        auto* buffer = static_cast<u_char*>(std::malloc(USM_PRIV_KU_LEN));
        std::memcpy(buffer, keys.privKey.data(), length);
        const int status = netsnmp_extend_kul(needed, hash.name, hash.length, privType,
                                              const_cast<u_char*>(engine), engineID.size(), &buffer, &length,
                                              USM_PRIV_KU_LEN);
        keys.privKey.assign(reinterpret_cast<char*>(buffer), length);
        std::free(buffer);
        if (status != SNMPERR_SUCCESS)
            throw Error(ERR_INVALID_CALL,
                        "Cannot extend the privacy key for " + std::string(PrivProtocolName(security.privProtocol)));
    }
    security.authKey = std::move(keys.authKey);
    security.privKey = std::move(keys.privKey);
    security.authPassphrase.clear();
    security.privPassphrase.clear();
}

std::string DiscoverEngineID(const std::string& host, int port, int timeoutMs, int retries) {
    using namespace internal;
    std::string error;
    const auto peer = PeerName(host, port, error);
    if (!peer) throw Error(ERR_SNMP, error);
    netsnmp_session settings;
    snmp_sess_init(&settings);
    settings.peername = const_cast<char*>(peer->c_str());
    settings.timeout = timeoutMs * 1000L;
    settings.retries = retries;
    // net-snmp's discovery asks with an empty user whatever the session's;
    // it wants one named all the same.
    UsmSecurity anonymous;
    anonymous.securityName = "engine-id-discovery";
    ApplySecurity(settings, anonymous);
    const SessionHandle session(snmp_sess_open(&settings));
    const netsnmp_session* state = session ? snmp_sess_session(session.get()) : nullptr;
    if (state) {
        // Discovery runs before the first request goes out; its answer does not matter.
        netsnmp_pdu* request = snmp_pdu_create(SNMP_MSG_GET);
        static const oid snmpEngineID[] = {1, 3, 6, 1, 6, 3, 10, 2, 1, 1, 0};
        snmp_add_null_var(request, snmpEngineID, std::size(snmpEngineID));
        netsnmp_pdu* response = nullptr;
        snmp_sess_synch_response(session.get(), request, &response);
        if (response) snmp_free_pdu(response);
    }
    if (!state || !state->securityEngineIDLen)
        throw Error(ERR_SNMP, "No answer from " + host + " to the SNMPv3 engine ID discovery");
    return std::string(reinterpret_cast<const char*>(state->securityEngineID), state->securityEngineIDLen);
}

namespace internal {

std::string SecurityFailureText(int snmpError) {
    switch (snmpError) {
    case SNMPERR_UNKNOWN_USER_NAME: return "Unknown user name: the agent has no such SNMPv3 user";
    case SNMPERR_AUTHENTICATION_FAILURE:
        return "Wrong digest: the authentication passphrase, key or protocol does not match the agent's";
    case SNMPERR_DECRYPTION_ERR:
        return "Decryption error: the privacy passphrase, key or protocol does not match the agent's";
    case SNMPERR_UNSUPPORTED_SEC_LEVEL: return "Unsupported security level: the user does not have this level";
    case SNMPERR_NOT_IN_TIME_WINDOW: return "Not in time window: the agent's clock and ours disagree";
    case SNMPERR_UNKNOWN_ENG_ID: return "Unknown engine ID: the agent's security engine ID is not the one given";
    case SNMPERR_USM_GENERICERROR:
    case SNMPERR_USM_ENCRYPTIONERROR:
    case SNMPERR_USM_AUTHENTICATIONFAILURE:
    case SNMPERR_USM_PARSEERROR:
    case SNMPERR_USM_UNKNOWNSECURITYNAME:
    case SNMPERR_USM_UNSUPPORTEDSECURITYLEVEL:
    case SNMPERR_USM_UNKNOWNENGINEID:
    case SNMPERR_USM_NOTINTIMEWINDOW:
    case SNMPERR_USM_DECRYPTIONERROR:
    case SNMPERR_KT_NOT_AVAILABLE:
        return std::string("SNMPv3 security failure: ") + snmp_api_errstring(snmpError);
    default: return "";
    }
}

}  // namespace internal
}  // namespace qlmib::snmp
