#include <algorithm>
#include <iostream>
#include <memory>

#include <qlmib/snmp/AgentProfiles.h>

#include "CommandLine.h"
#include "SecurityOptions.h"

namespace qlmib::cli {
namespace {

using snmp::AgentProfile;

// What add and change take; an option left out keeps the profile's value.
struct ProfileOptions {
    std::string name, address, version, readCommunity, writeCommunity;
    SecurityOptions v3;
    bool saveKeys = false, ask = false;
    std::optional<double> timeout;
    std::optional<int> retries, requestSize;
};

void addProfileOptions(CLI::App& command, ProfileOptions& options) {
    command.add_option("name", options.name, "Name of the saved agent")->required();
    command.add_option("-v", options.version, "SNMP version: 1, 2c or 3")->check(CLI::IsMember({"1", "2c", "3"}));
    command.add_option("-c", options.readCommunity, "Community for reading (v1, v2c)");
    command.add_option("--write-community", options.writeCommunity, "Community for SET (v1, v2c)");
    addCredentialOptions(command, options.v3);
    auto* save = command.add_flag("--save-keys", options.saveKeys,
                                  "Keep the keys localized from the passphrases (file of mode 0600)");
    command.add_flag("--ask", options.ask, "Keep no keys: the passphrases are asked at each use")->excludes(save);
    command.add_option("-t", options.timeout, "Seconds to wait for an answer")->check(CLI::Range(0.1, 5.0));
    command.add_option("-r", options.retries, "Times a request is sent again")->check(CLI::Range(1, 5));
    command.add_option("--request-size", options.requestSize, "Repetitions per GET-BULK request")
        ->check(CLI::Range(2, 30));
}

// The options given on the command line, over `profile`.
void applyOptions(const CLI::App& command, const ProfileOptions& options, AgentProfile& profile) {
    const auto before = profile.security;
    if (!options.address.empty()) profile.address = options.address;
    if (!options.version.empty()) profile.version = options.version == "3" ? 3 : options.version == "1" ? 1 : 2;
    if (command.count("-c")) profile.readCommunity = options.readCommunity;
    if (command.count("--write-community")) profile.writeCommunity = options.writeCommunity;
    parseSecurityFlags(options.v3, profile.security);
    if (options.saveKeys) profile.saveKeys = true;
    if (options.ask) profile.saveKeys = false;
    if (options.timeout) profile.timeout = static_cast<std::int32_t>(*options.timeout * 1000 + 0.5);
    if (options.retries) profile.retries = options.retries;
    if (options.requestSize) profile.requestSize = options.requestSize;
    // Keys belong to the credentials they were made for.
    auto& security = profile.security;
    const bool same = security.securityName == before.securityName && security.level == before.level &&
                      security.authProtocol == before.authProtocol && security.privProtocol == before.privProtocol &&
                      security.securityEngineID == before.securityEngineID;
    if (!same || !profile.saveKeys) {
        security.authKey.clear();
        security.privKey.clear();
    }
}

// Saves the profile; keys to be kept are made from passphrases read now.
int save(AgentProfile profile, const ProfileOptions& options) {
    if (profile.version == 3 && profile.security.securityName.empty())
        throw UsageError("an SNMPv3 agent needs a security name: -u NAME");
    if (profile.version == 3 && profile.saveKeys && profile.needsPassphrases()) {
        auto& security = profile.security;
        const std::string user = " for " + security.securityName;
        security.authPassphrase = readPassphrase("Authentication passphrase" + user, options.v3.passphraseFd);
        if (security.encrypts())
            security.privPassphrase = readPassphrase("Privacy passphrase" + user, options.v3.passphraseFd);
        if (const auto problem = snmp::SecurityProblem(security); !problem.empty()) throw UsageError(problem);
        if (security.securityEngineID.empty())
            security.securityEngineID =
                snmp::DiscoverEngineID(profile.address, 161, profile.timeout.value_or(1500), profile.retries.value_or(2));
    }
    snmp::AgentProfiles().Save(profile);
    return 0;
}

std::string describe(const AgentProfile& profile) {
    std::string text = profile.name + '\t' + profile.address + '\t';
    if (profile.version != 3) return text + (profile.version == 1 ? "v1" : "v2c");
    const auto& security = profile.security;
    text += "v3\t" + security.securityName + '\t' + snmp::SecurityLevelName(security.level);
    if (security.authenticates()) text += std::string("\t") + snmp::AuthProtocolName(security.authProtocol);
    if (security.encrypts()) text += std::string("\t") + snmp::PrivProtocolName(security.privProtocol);
    if (security.authenticates()) text += profile.saveKeys ? "\tkeys saved" : "\tpassphrases asked";
    return text;
}

}  // namespace

const CommandRegistrar registrar("agents", [](CLI::App& app, Action& selected) {
    auto* agents = app.add_subcommand("agents", "List, add, change and remove saved agents");
    agents->require_subcommand(1);

    addCommand(*agents, "list", "One line per saved agent: name, address, version and credentials (no secrets)",
               selected, [] {
                   snmp::AgentProfiles profiles;
                   for (const auto& name : profiles.Names())
                       if (const auto profile = profiles.Find(name)) std::cout << describe(*profile) << '\n';
                   return 0;
               });

    auto added = std::make_shared<ProfileOptions>();
    auto* add = addCommand(*agents, "add", "Save an agent; passphrases are read from the terminal or --passphrase-fd",
                           selected, [added, &app] {
                               if (snmp::AgentProfiles().Find(added->name))
                                   throw UsageError("an agent \"" + added->name + "\" is saved already: use change");
                               AgentProfile profile;
                               profile.name = added->name;
                               applyOptions(*app.get_subcommand("agents")->get_subcommand("add"), *added, profile);
                               return save(profile, *added);
                           });
    addProfileOptions(*add, *added);
    add->add_option("address", added->address, "HOST, HOST:PORT, udp6:[ADDRESS]:PORT")->required();

    auto changed = std::make_shared<ProfileOptions>();
    auto* change = addCommand(*agents, "change", "Change options of a saved agent", selected, [changed, &app] {
        auto profile = snmp::AgentProfiles().Find(changed->name);
        if (!profile) throw UsageError("no saved agent \"" + changed->name + "\"");
        applyOptions(*app.get_subcommand("agents")->get_subcommand("change"), *changed, *profile);
        return save(*profile, *changed);
    });
    addProfileOptions(*change, *changed);
    change->add_option("--address", changed->address, "New address");

    auto removed = std::make_shared<std::string>();
    auto* remove = addCommand(*agents, "remove", "Remove a saved agent and its keys", selected, [removed] {
        snmp::AgentProfiles profiles;
        const auto names = profiles.Names();
        if (std::find(names.begin(), names.end(), *removed) == names.end()) throw UsageError("no saved agent \"" + *removed + "\"");
        profiles.Remove(*removed);
        return 0;
    });
    remove->add_option("name", *removed, "Name of the saved agent")->required();
});

}  // namespace qlmib::cli
