#include "AgentProfiles.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "internal/SettingsFile.h"
#include "qlmib/common/Error.h"
#include "qlmib/mibdata/TextNumbers.h"
#include "qlmib/mibdata/Version.h"

namespace qlmib::snmp {
namespace {

using internal::SettingsFile;

const std::string& groupPrefix() {
    static const std::string text = std::string(kLibraryDescription) + "/Agent ";
    return text;
}

std::string groupOf(const std::string& name) { return groupPrefix() + name; }

template <class Number>
std::optional<Number> storedNumber(const SettingsFile::Snapshot& snapshot, const std::string& group, const char* name) {
    const auto text = snapshot.find(group, name);
    if (!text) return std::nullopt;
    const auto number = WholeNumber(*text);
    if (!number) throw Error(ERR_TYPE_MISMATCH, "The agent setting \"" + std::string(name) + "\" holds \"" + *text +
                                                    "\", which is not a number");
    return static_cast<Number>(*number);
}

// Stored text that must name one of a set of values.
template <class T>
T storedChoice(const std::optional<std::string>& text, std::optional<T> (*parse)(std::string_view), T fallback,
               const char* what) {
    if (!text) return fallback;
    if (const auto value = parse(*text)) return *value;
    throw Error(ERR_TYPE_MISMATCH, "The agent setting \"" + std::string(what) + "\" holds \"" + *text + "\"");
}

std::string storedOctets(const SettingsFile::Snapshot& snapshot, const std::string& group, const char* name) {
    const auto text = snapshot.find(group, name);
    if (!text || text->empty()) return "";
    if (auto octets = ParseHexOctets(*text)) return *octets;
    throw Error(ERR_FILE, "The key file holds a damaged \"" + std::string(name) + "\" for agent " + group);
}

}  // namespace

AgentProfiles::AgentProfiles() : AgentProfiles(internal::ConfigFolder()) {}

AgentProfiles::AgentProfiles(std::filesystem::path folder)
    : settingsFile_(folder / "settings.ini"), keyFile_(folder / "agent-keys") {}

std::vector<std::string> AgentProfiles::Names() const {
    std::vector<std::string> names;
    for (const auto& group : SettingsFile(settingsFile_).load().groups())
        if (group.starts_with(groupPrefix())) names.push_back(group.substr(groupPrefix().size()));
    std::sort(names.begin(), names.end());
    return names;
}

void AgentProfiles::checkKeyFileMode() const {
    struct stat status {};
    if (::stat(keyFile_.c_str(), &status) != 0) return;  // none yet
    if ((status.st_mode & 077) == 0) return;
    char mode[8];
    std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(status.st_mode & 07777));
    throw Error(ERR_FILE, "The key file " + keyFile_.string() + " may be read by others (mode " + mode +
                              "); it is not used until only you can read it: chmod 600 " + keyFile_.string());
}

std::optional<AgentProfile> AgentProfiles::Find(const std::string& name) const {
    const auto snapshot = SettingsFile(settingsFile_).load();
    const std::string group = groupOf(name);
    const auto address = snapshot.find(group, "Address");
    if (!address) return std::nullopt;
    AgentProfile profile;
    profile.name = name;
    profile.address = *address;
    profile.version = storedNumber<int>(snapshot, group, "Version").value_or(2);
    profile.readCommunity = snapshot.find(group, "Read Community").value_or("public");
    profile.writeCommunity = snapshot.find(group, "Write Community").value_or("private");
    profile.timeout = storedNumber<std::int32_t>(snapshot, group, "Timeout");
    profile.retries = storedNumber<int>(snapshot, group, "Retries");
    profile.requestSize = storedNumber<int>(snapshot, group, "Request Size");
    auto& security = profile.security;
    security.securityName = snapshot.find(group, "Security Name").value_or("");
    security.level = storedChoice(snapshot.find(group, "Security Level"), &ParseSecurityLevel,
                                  SecurityLevel::NoAuthNoPriv, "Security Level");
    security.authProtocol =
        storedChoice(snapshot.find(group, "Auth Protocol"), &ParseAuthProtocol, AuthProtocol::SHA, "Auth Protocol");
    security.privProtocol = storedChoice(snapshot.find(group, "Priv Protocol"), &ParsePrivProtocol,
                                         PrivProtocol::AES128, "Priv Protocol");
    security.contextName = snapshot.find(group, "Context").value_or("");
    if (const auto engineID = snapshot.find(group, "Engine ID"); engineID && !engineID->empty()) {
        const auto octets = ParseHexOctets(*engineID);
        if (!octets) throw Error(ERR_TYPE_MISMATCH, "The agent setting \"Engine ID\" holds \"" + *engineID + "\"");
        security.securityEngineID = *octets;
    }
    profile.saveKeys = snapshot.find(group, "Keys").value_or("") == "Saved";
    if (profile.saveKeys && security.authenticates()) {
        checkKeyFileMode();
        const auto keys = SettingsFile(keyFile_).load();
        security.authKey = storedOctets(keys, name, "Auth Key");
        security.privKey = storedOctets(keys, name, "Priv Key");
    }
    return profile;
}

void AgentProfiles::Save(const AgentProfile& profile) const {
    if (profile.name.empty()) throw Error(ERR_INVALID_CALL, "An agent profile needs a name");
    if (profile.address.empty()) throw Error(ERR_INVALID_CALL, "The agent " + profile.name + " needs an address");
    if (profile.version < 1 || profile.version > 3)
        throw Error(ERR_INVALID_CALL, "The SNMP version must be 1, 2 (v2c) or 3");
    UsmSecurity security = profile.security;
    const bool v3 = profile.version == 3;
    if (v3 && security.securityName.empty())
        throw Error(ERR_INVALID_CALL, "An SNMPv3 agent needs a security name (user)");
    const bool keys = v3 && profile.saveKeys && security.authenticates();
    if (keys) {
        checkKeyFileMode();
        if (security.authKey.empty() || (security.encrypts() && security.privKey.empty())) LocalizeKeys(security);
    }
    SettingsFile::Entries entries = {{"Address", profile.address}, {"Version", std::to_string(profile.version)}};
    if (!v3) {
        entries.push_back({"Read Community", profile.readCommunity});
        entries.push_back({"Write Community", profile.writeCommunity});
    } else {
        entries.push_back({"Security Name", security.securityName});
        entries.push_back({"Security Level", SecurityLevelName(security.level)});
        entries.push_back({"Auth Protocol", AuthProtocolName(security.authProtocol)});
        entries.push_back({"Priv Protocol", PrivProtocolName(security.privProtocol)});
        entries.push_back({"Context", security.contextName});
        if (!security.securityEngineID.empty())
            entries.push_back({"Engine ID", HexOctetsText(security.securityEngineID)});
        entries.push_back({"Keys", keys ? "Saved" : "Ask"});
    }
    if (profile.timeout) entries.push_back({"Timeout", std::to_string(*profile.timeout)});
    if (profile.retries) entries.push_back({"Retries", std::to_string(*profile.retries)});
    if (profile.requestSize) entries.push_back({"Request Size", std::to_string(*profile.requestSize)});

    // Keys first: a profile never names keys that are not there.
    SettingsFile::Entries keyEntries;
    if (keys) {
        keyEntries.push_back({"Auth Key", HexOctetsText(security.authKey)});
        if (security.encrypts()) keyEntries.push_back({"Priv Key", HexOctetsText(security.privKey)});
    }
    if (keys || std::filesystem::exists(keyFile_)) SettingsFile(keyFile_).replaceGroup(profile.name, keyEntries);
    SettingsFile(settingsFile_).replaceGroup(groupOf(profile.name), entries);
}

void AgentProfiles::Remove(const std::string& name) const {
    SettingsFile(settingsFile_).replaceGroup(groupOf(name), {});
    if (std::filesystem::exists(keyFile_)) SettingsFile(keyFile_).replaceGroup(name, {});
}

}  // namespace qlmib::snmp
