#include "SecurityOptions.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

#include <qlmib/snmp/AgentProfiles.h>

#include "CommandLine.h"
#include "LiveCommand.h"

namespace qlmib::cli {
namespace {

std::string readLine(int fd) {
    std::string line;
    char c = 0;
    for (;;) {
        const ssize_t n = ::read(fd, &c, 1);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0 || c == '\n') break;
        line += c;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

template <class T>
T choice(const std::string& text, std::optional<T> (*parse)(std::string_view), const char* flag) {
    if (const auto value = parse(text)) return *value;
    throw UsageError(std::string(flag) + " \"" + text + "\" is not known");
}

}  // namespace

namespace {
void resolveAgent(CLI::App& command, AgentOptions& options, const std::vector<CLI::Option*>& required);
}  // namespace

void addCredentialOptions(CLI::App& command, SecurityOptions& v3) {
    command.add_option("-u", v3.user, "SNMPv3 security name (user)");
    command.add_option("-l", v3.level, "SNMPv3 security level: noAuthNoPriv, authNoPriv or authPriv");
    command.add_option("-a", v3.authProtocol, "Authentication protocol: MD5, SHA, SHA-224, SHA-256, SHA-384, SHA-512");
    command.add_option("-x", v3.privProtocol, "Privacy protocol: DES, AES, AES-192, AES-256");
    command.add_option("-n", v3.context, "SNMPv3 context name");
    command.add_option("-e", v3.engineID, "Security engine ID in hex (default: discovered)");
    command.add_option("--passphrase-fd", v3.passphraseFd, "Read missing passphrases from this file descriptor");
}

void addSecurityOptions(CLI::App& command, AgentOptions& options) {
    auto& v3 = options.security;
    command.add_option("--agent", v3.profile, "A saved agent (qlmib agents): its address, version and credentials");
    addCredentialOptions(command, v3);
    command.add_option("-A", v3.authPassphrase, "Authentication passphrase (asked without echo when left out)");
    command.add_option("-X", v3.privPassphrase, "Privacy passphrase (asked without echo when left out)");
    // Which arguments a command requires is checked once --agent has been
    // seen: it changes which argument is which.
    auto required = std::make_shared<std::vector<CLI::Option*>>();
    command.preparse_callback([&command, required](std::size_t) {
        for (auto* option : command.get_options([](const CLI::Option* o) { return o->get_positional(); }))
            if (option->get_required()) {
                required->push_back(option);
                option->required(false);
            }
    });
    command.parse_complete_callback([&command, &options, required] {
        try {
            resolveAgent(command, options, *required);
        } catch (const std::exception& e) {
            throw CLI::ValidationError(e.what());
        }
    });
}

void parseSecurityFlags(const SecurityOptions& options, snmp::UsmSecurity& security) {
    if (!options.user.empty()) security.securityName = options.user;
    if (!options.level.empty()) security.level = choice(options.level, &snmp::ParseSecurityLevel, "-l");
    if (!options.authProtocol.empty())
        security.authProtocol = choice(options.authProtocol, &snmp::ParseAuthProtocol, "-a");
    if (!options.privProtocol.empty())
        security.privProtocol = choice(options.privProtocol, &snmp::ParsePrivProtocol, "-x");
    if (!options.context.empty()) security.contextName = options.context;
    if (!options.engineID.empty()) {
        const auto octets = snmp::ParseHexOctets(options.engineID);
        if (!octets || octets->size() < 5 || octets->size() > 32)
            throw UsageError("-e \"" + options.engineID + "\" is not an engine ID (10 to 64 hex digits)");
        security.securityEngineID = *octets;
    }
}

std::string readPassphrase(const std::string& prompt, std::optional<int> fd) {
    if (fd) return readLine(*fd);
    const int tty = ::open("/dev/tty", O_RDWR | O_CLOEXEC);
    if (tty < 0) throw UsageError(prompt + " is needed: give it with --passphrase-fd, or run in a terminal");
    termios saved{};
    const bool terminal = ::tcgetattr(tty, &saved) == 0;
    if (terminal) {
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        ::tcsetattr(tty, TCSAFLUSH, &quiet);
    }
    // The prompt and the line break after the unechoed answer are best effort.
    const std::string ask = prompt + ": ";
    [[maybe_unused]] ssize_t written = ::write(tty, ask.data(), ask.size());
    std::string passphrase = readLine(tty);
    if (terminal) ::tcsetattr(tty, TCSAFLUSH, &saved);
    written = ::write(tty, "\n", 1);
    ::close(tty);
    return passphrase;
}

snmp::UsmSecurity securityOf(const SecurityOptions& options) {
    snmp::UsmSecurity security;
    security.level = snmp::SecurityLevel::NoAuthNoPriv;
    parseSecurityFlags(options, security);
    if (security.securityName.empty()) throw UsageError("-v 3 needs a security name: -u NAME");
    security.authPassphrase = options.authPassphrase;
    security.privPassphrase = options.privPassphrase;
    // A profile's keys stand for its passphrases unless others are given.
    if (security.authPassphrase.empty()) security.authKey = options.authKey;
    if (security.privPassphrase.empty()) security.privKey = options.privKey;
    const std::string user = " for " + security.securityName;
    if (security.authenticates() && security.authPassphrase.empty() && security.authKey.empty())
        security.authPassphrase = readPassphrase("Authentication passphrase" + user, options.passphraseFd);
    if (security.encrypts() && security.privPassphrase.empty() && security.privKey.empty())
        security.privPassphrase = readPassphrase("Privacy passphrase" + user, options.passphraseFd);
    return security;
}

namespace {

void applyProfile(const CLI::App& command, AgentOptions& options) {
    auto& v3 = options.security;
    const auto profile = snmp::AgentProfiles().Find(v3.profile);
    if (!profile) throw UsageError("no saved agent \"" + v3.profile + "\" (see qlmib agents list)");
    if (options.agent.empty()) options.agent = profile->address;
    if (command.count("-v") == 0) options.version = profile->version == 3 ? "3" : profile->version == 1 ? "1" : "2c";
    if (command.count("-c") == 0)
        options.community = options.writes ? profile->writeCommunity : profile->readCommunity;
    if (!options.timeout && profile->timeout) options.timeout = *profile->timeout / 1000.0;
    if (!options.retries && profile->retries) options.retries = *profile->retries;
    options.requestSize = profile->requestSize;
    const auto& saved = profile->security;
    if (v3.user.empty()) v3.user = saved.securityName;
    if (v3.level.empty()) v3.level = snmp::SecurityLevelName(saved.level);
    if (v3.authProtocol.empty()) v3.authProtocol = snmp::AuthProtocolName(saved.authProtocol);
    if (v3.privProtocol.empty()) v3.privProtocol = snmp::PrivProtocolName(saved.privProtocol);
    if (v3.context.empty()) v3.context = saved.contextName;
    if (v3.engineID.empty() && !saved.securityEngineID.empty()) v3.engineID = snmp::HexOctetsText(saved.securityEngineID);
    v3.authKey = saved.authKey;
    v3.privKey = saved.privKey;
}

using Positionals = std::vector<CLI::Option*>;

// With --agent there is no AGENT argument: what the parser took for it is the
// command's first argument, and every later one moves up a place.
void shiftPositionals(CLI::App& command, AgentOptions& options) {
    Positionals after;
    bool agentSeen = false;
    for (auto* option : command.get_options([](const CLI::Option* o) { return o->get_positional(); })) {
        if (agentSeen) after.push_back(option);
        agentSeen = agentSeen || option->get_name() == "agent";
    }
    std::vector<std::string> values = {options.agent};
    for (auto* option : after)
        for (const auto& value : option->results()) values.push_back(value);
    if (values.size() > after.size()) throw UsageError("too many arguments: with --agent NAME, leave the AGENT out");
    options.agent.clear();
    for (size_t i = 0; i < values.size(); ++i) {
        after[i]->clear();
        after[i]->add_result(values[i]);
        after[i]->run_callback();
    }
}

void resolveAgent(CLI::App& command, AgentOptions& options, const Positionals& required) {
    if (!options.security.profile.empty() && !options.agent.empty()) shiftPositionals(command, options);
    for (const auto* option : required)
        if (option->count() == 0) throw UsageError(option->get_name() + " is required");
    if (!options.security.profile.empty()) applyProfile(command, options);
    if (options.agent.empty()) throw UsageError("name the agent: AGENT or --agent NAME");
    if (options.writes && options.version != "3" && options.security.profile.empty() && command.count("-c") == 0)
        throw UsageError("a SET needs the write community: -c COMMUNITY");
}

}  // namespace

}  // namespace qlmib::cli
