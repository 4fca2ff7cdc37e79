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

// Each command file registers itself through one of these.
void registerShow(CLI::App& app, Action& action);
void registerTranslate(CLI::App& app, Action& action);
void registerParse(CLI::App& app, Action& action);
void registerEnum(CLI::App& app, Action& action);

// Drops one leading "." as net-snmp's tools do.
std::string_view withoutLeadingDot(std::string_view argument);
// An argument starting with a digit or a double quote is an OID; anything
// else a descriptor or MODULE:descriptor. Returns whether the object was found.
bool lookUp(OID& object, std::string_view argument);
// lookUp, throwing std::runtime_error when the object is not found.
void lookUpRequired(OID& object, std::string_view argument);

// Writes text with CR LF and lone CR turned into LF.
void writeText(std::ostream& out, std::string_view text);

// Thrown by a command for an error the user made; main prints it.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

}  // namespace qlmib::cli
