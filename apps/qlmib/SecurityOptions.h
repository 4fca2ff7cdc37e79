#pragma once
// net-snmp's SNMPv3 options (-u -l -a -A -x -X -n -e) and --agent NAME, a
// saved profile, for the commands that query an agent; passphrases read
// without echo when a level needs one that is not given.

#include <CLI/CLI.hpp>

#include <optional>
#include <string>

#include <qlmib/snmp/UsmSecurity.h>

namespace qlmib::cli {

struct AgentOptions;

struct SecurityOptions {
    std::string profile;
    std::string user, level, authProtocol, authPassphrase, privProtocol, privPassphrase, context, engineID;
    std::optional<int> passphraseFd;  // read the passphrases from here, one a line
    std::string authKey, privKey;     // a profile's localized keys
};

// -u -l -a -x -n -e and --passphrase-fd: the credentials without secrets.
void addCredentialOptions(CLI::App& command, SecurityOptions& options);

// The v3 flags (-A and -X too) and --agent on `command`. Once the command line is parsed,
// a profile named by --agent fills in what the command line left out, and an
// agent and (for a SET without v3) a community must then be known.
void addSecurityOptions(CLI::App& command, AgentOptions& options);

// The credentials for a -v 3 request, asking on the terminal (or reading the
// passphrase descriptor) for a passphrase the level needs and nothing gave.
// Throws UsageError for a bad level, protocol or engine ID.
snmp::UsmSecurity securityOf(const SecurityOptions& options);

// Reads one passphrase: from `fd` when given (a line), else from the terminal
// without echo. Throws UsageError when neither is possible.
std::string readPassphrase(const std::string& prompt, std::optional<int> fd);

// -a, -x, -l and -e as the library takes them; UsageError when unknown.
void parseSecurityFlags(const SecurityOptions& options, snmp::UsmSecurity& security);

}  // namespace qlmib::cli
