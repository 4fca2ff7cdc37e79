#include "CommandLine.h"

#include <map>
#include <ostream>

#include <qlmib/mibdata/OID.h>

namespace qlmib::cli {

namespace {
std::map<std::string, Registration>& registry() {
    static std::map<std::string, Registration> commands;
    return commands;
}
}  // namespace

CommandRegistrar::CommandRegistrar(std::string name, Registration registration) {
    registry().emplace(std::move(name), std::move(registration));
}

void registerAllCommands(CLI::App& app, Action& selected) {
    for (auto& [name, registration] : registry()) registration(app, selected);
}

CLI::App* addCommand(CLI::App& app, const std::string& name, const std::string& description, Action& selected,
                     Action run) {
    auto* sub = app.add_subcommand(name, description);
    sub->callback([&selected, run = std::move(run)] { selected = run; });
    return sub;
}

std::string_view withoutLeadingDot(std::string_view argument) {
    if (!argument.empty() && argument.front() == '.') argument.remove_prefix(1);
    return argument;
}

std::string objectArgument(std::string_view argument) {
    std::string text(withoutLeadingDot(argument));
    if (const auto colons = text.find("::"); colons != std::string::npos) text.erase(colons, 1);
    return text;
}

bool lookUp(OID& object, std::string_view given) {
    const std::string text = objectArgument(given);
    const std::string_view argument = text;
    const bool numeric = !argument.empty() && ((argument[0] >= '0' && argument[0] <= '9') || argument[0] == '"');
    if (numeric) {
        object.setOID(argument);
    } else {
        object.setFullName(argument);
    }
    return !object.getFullName().empty();
}

bool lookUpInstance(OID& object, std::string_view argument) {
    const std::string text = objectArgument(argument);
    if (lookUp(object, text)) return true;
    const auto dot = text.find('.');
    if (dot == std::string::npos || !lookUp(object, std::string_view(text).substr(0, dot))) return false;
    object.setOID(object.getOID() + text.substr(dot));
    return !object.getOID().empty();
}

void lookUpRequired(OID& object, std::string_view argument) {
    if (!lookUpInstance(object, argument)) throw std::runtime_error(std::string(argument) + " is not in the MIB database");
}

void writeText(std::ostream& out, std::string_view text) {
    std::string converted;
    converted.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            converted += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            converted += text[i];
        }
    }
    out << converted;
}

}  // namespace qlmib::cli
