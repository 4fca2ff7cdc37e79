#pragma once
// Shared pieces of the command-line host: how commands register, how an
// argument names an object, and how text is written.

#include <CLI/CLI.hpp>

#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace qlmib {
class OID;
}

namespace qlmib::cli {

// A command's action returns the process exit status.
using Action = std::function<int()>;

// Adds a subcommand; when the command line chooses it, `run` becomes `selected`.
CLI::App* addCommand(CLI::App& app, const std::string& name, const std::string& description, Action& selected,
                     Action run);

// A command file registers its command with a static CommandRegistrar:
//   const CommandRegistrar registrar("show", [](CLI::App& app, Action& selected) { ... });
// main adds every registered command, in name order.
using Registration = std::function<void(CLI::App& app, Action& selected)>;
struct CommandRegistrar {
    CommandRegistrar(std::string name, Registration registration);
};
void registerAllCommands(CLI::App& app, Action& selected);

// Drops one leading "." as net-snmp's tools do.
std::string_view withoutLeadingDot(std::string_view argument);
// An object argument as net-snmp's tools take it: without a leading ".",
// MODULE::NAME written MODULE:NAME.
std::string objectArgument(std::string_view argument);
// An argument starting with a digit or a double quote is an OID; anything
// else a descriptor, MODULE:descriptor or MODULE::descriptor. Returns whether
// the object was found.
bool lookUp(OID& object, std::string_view argument);
// lookUp, and failing that a name followed by an instance suffix
// (sysName.0); whether the object was found.
bool lookUpInstance(OID& object, std::string_view argument);
// lookUpInstance, throwing std::runtime_error when the object is not found.
void lookUpRequired(OID& object, std::string_view argument);

// Writes text with CR LF and lone CR turned into LF.
void writeText(std::ostream& out, std::string_view text);

// Thrown by a command for an error the user made; main prints it.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

}  // namespace qlmib::cli
