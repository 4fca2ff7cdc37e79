#pragma once
// Saved agents: a name for an address, a version, communities or SNMPv3
// credentials and the engine tuning that overrides the user's Settings for
// that agent. Profiles live in the settings store, each written in one atomic
// replacement of the file. Passphrases are never written: a profile either
// keeps the keys localized for the agent's engine ID in a key file only its
// owner may read (mode 0600), or nothing, and the host asks each time.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "qlmib/snmp/UsmSecurity.h"

namespace qlmib::snmp {

struct AgentProfile {
    std::string name;
    std::string address;  // as the engine takes a host: HOST, HOST:PORT, udp6:[::1]:PORT...
    int version = 2;      // 1, 2 (v2c) or 3
    std::string readCommunity = "public", writeCommunity = "private";
    // Version 3: passphrases are never saved; keys only with saveKeys.
    UsmSecurity security;
    bool saveKeys = false;
    // Override the Settings when present.
    std::optional<std::int32_t> timeout;  // milliseconds
    std::optional<int> retries, requestSize;

    // The level needs secrets that the profile does not hold.
    bool needsPassphrases() const {
        return version == 3 && security.authenticates() &&
               (security.authKey.empty() || (security.encrypts() && security.privKey.empty()));
    }
};

class AgentProfiles {
public:
    // The profiles of the user's settings folder, or of `folder`.
    AgentProfiles();
    explicit AgentProfiles(std::filesystem::path folder);

    std::vector<std::string> Names() const;
    // The profile with its saved keys. Throws Error(ERR_FILE) when the key
    // file may be read by others.
    std::optional<AgentProfile> Find(const std::string& name) const;
    // Stores the profile, replacing one of the same name. With saveKeys its
    // keys are stored (localized first from the passphrases when only those
    // are given; the engine ID must then be known); without, any saved keys
    // are removed. Throws Error(ERR_INVALID_CALL) for a profile that cannot be
    // saved, Error(ERR_FILE) as Find.
    void Save(const AgentProfile& profile) const;
    void Remove(const std::string& name) const;

    const std::filesystem::path& keyFile() const { return keyFile_; }

private:
    void checkKeyFileMode() const;

    std::filesystem::path settingsFile_, keyFile_;
};

}  // namespace qlmib::snmp
