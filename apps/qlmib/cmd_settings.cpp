#include <iostream>
#include <memory>

#include <qlmib/mibdata/TextNumbers.h>
#include <qlmib/snmp/Settings.h>

#include "CommandLine.h"

namespace qlmib::cli {
namespace {

struct SettingsArgs {
    std::string key, value;
};

// One stored SNMP setting: how it reads, and how a text given for it is
// stored through the setter (which brings numbers into range).
struct Entry {
    const char* name;
    std::string (*get)(const Settings&);
    void (*set)(Settings&, const std::string&);
};

std::int32_t numberArgument(const std::string& text) {
    const auto number = WholeNumber(text);
    if (!number) throw UsageError("\"" + text + "\" is not a number");
    // Beyond 32 bits every range clamps alike; only the sign matters.
    return RoundToInt32(std::max(-2e9, std::min(2e9, *number)));
}

bool flagArgument(const std::string& text) {
    if (EqualsNoCase(text, "true") || text == "1") return true;
    if (EqualsNoCase(text, "false") || text == "0") return false;
    throw UsageError("\"" + text + "\" is neither True nor False");
}

const char* flagText(bool flag) { return flag ? "True" : "False"; }

const Entry kEntries[] = {
    {kSettingSNMPTimeout, [](const Settings& s) { return std::to_string(s.getSNMPTimeout()); },
     [](Settings& s, const std::string& v) { s.setSNMPTimeout(numberArgument(v)); }},
    {kSettingSNMPRetries, [](const Settings& s) { return std::to_string(s.getSNMPRetries()); },
     [](Settings& s, const std::string& v) { s.setSNMPRetries(numberArgument(v)); }},
    {kSettingSNMPV2RequestSize, [](const Settings& s) { return std::to_string(s.getSNMPV2RequestSize()); },
     [](Settings& s, const std::string& v) { s.setSNMPV2RequestSize(numberArgument(v)); }},
    {kSettingDisableSNMPV2, [](const Settings& s) { return std::string(flagText(s.getDisableSNMPV2())); },
     [](Settings& s, const std::string& v) { s.setDisableSNMPV2(flagArgument(v)); }},
    {kSettingICMPData, [](const Settings& s) { return s.getICMPData(); },
     [](Settings& s, const std::string& v) { s.setICMPData(v); }},
};

// "SNMP Timeout", "snmp-timeout" and "snmp_timeout" name the same setting.
bool namesEntry(std::string key, const Entry& entry) {
    for (auto& c : key)
        if (c == '-' || c == '_') c = ' ';
    return EqualsNoCase(key, entry.name);
}

void print(const Entry& entry, const Settings& settings) {
    writeText(std::cout, std::string(entry.name) + '\t' + entry.get(settings));
    std::cout << '\n';
}

int run(const SettingsArgs& args) {
    Settings settings;
    if (args.key.empty()) {
        for (const auto& entry : kEntries) print(entry, settings);
        return 0;
    }
    for (const auto& entry : kEntries) {
        if (!namesEntry(args.key, entry)) continue;
        entry.set(settings, args.value);
        print(entry, settings);  // what was kept, after range correction
        return 0;
    }
    std::string known;
    for (const auto& entry : kEntries) known += std::string(known.empty() ? "" : ", ") + '"' + entry.name + '"';
    throw UsageError("no SNMP setting \"" + args.key + "\"; the settings are " + known);
}

}  // namespace

const CommandRegistrar registrar("settings", [](CLI::App& app, Action& selected) {
    auto args = std::make_shared<SettingsArgs>();
    auto* cmd = addCommand(app, "settings", "List the stored SNMP settings (NAME TAB VALUE), or change one", selected,
                           [args] { return run(*args); });
    auto* key = cmd->add_option("key", args->key,
                                "Setting to change: \"SNMP Timeout\" (ms, 100-5000), \"SNMP Retries\" (1-5), "
                                "\"SNMP V2 Request Size\" (2-30), \"Disable SNMP V2\" (True/False), \"ICMP Data\"; "
                                "- or _ may stand for the blanks");
    cmd->add_option("value", args->value, "New value; numbers out of range are brought to the nearest bound")
        ->needs(key);
    key->needs(cmd->get_option("value"));
});

}  // namespace qlmib::cli
