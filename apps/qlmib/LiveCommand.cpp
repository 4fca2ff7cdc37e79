#include "LiveCommand.h"

#include <iostream>

#include <qlmib/mibdata/OID.h>
#include <qlmib/snmp/LiveControl.h>
#include <qlmib/ui/GridModel.h>
#include <qlmib/ui/Utf8.h>

#include "CommandLine.h"

namespace qlmib::cli {

void addAgentOptions(CLI::App& command, AgentOptions& options, bool writes) {
    command.add_option("-v", options.version, "SNMP version: 1, 2c or 3 (default 2c)")
        ->check(CLI::IsMember({"1", "2c", "3"}));
    command.add_option("-c", options.community, "Community (default public)");
    options.writes = writes;
    command.add_option("-t", options.timeout, "Seconds to wait for an answer (default: the stored SNMP settings)")
        ->check(CLI::Range(0.001, 3600.0));
    command.add_option("-r", options.retries, "Times a request is sent again (default: the stored SNMP settings)")
        ->check(CLI::Range(0, 100));
    command.add_option("agent", options.agent, "Agent: HOST, HOST:PORT, udp6:[ADDRESS]:PORT");
    addSecurityOptions(command, options);
}

std::string objectArgument(std::string_view argument) {
    std::string text(withoutLeadingDot(argument));
    if (const auto colons = text.find("::"); colons != std::string::npos) text.erase(colons, 1);
    return text;
}

bool lookUpInstance(OID& object, std::string_view argument) {
    const std::string text = objectArgument(argument);
    if (lookUp(object, text)) return true;
    const auto dot = text.find('.');
    if (dot == std::string::npos || !lookUp(object, std::string_view(text).substr(0, dot))) return false;
    object.setOID(object.getOID() + text.substr(dot));
    return !object.getOID().empty();
}

std::string numericOID(std::string_view argument) {
    const std::string text = objectArgument(argument);
    if (!text.empty() && text[0] >= '0' && text[0] <= '9') return text;
    OID object;
    if (!lookUpInstance(object, text)) throw std::runtime_error(text + " is not in the MIB database");
    return object.getOID();
}

void LiveHost::configure(LiveControl& control, const AgentOptions& options) {
    control.setIP(options.agent);
    control.setTarget(options.agent);
    control.setCommunity(options.community);
    control.setSNMPVersion(options.version == "1" ? 1 : 2);
    auto& engine = control.SNMP();
    if (options.timeout) engine.setTimeout(static_cast<std::int32_t>(*options.timeout * 1000 + 0.5));
    if (options.retries) engine.setRetries(*options.retries);
    if (options.version == "3") engine.setSecurity(securityOf(options.security));
}

bool LiveHost::run(LiveControl& control, const std::function<void()>& start) {
    bool began = false, active = false;
    const auto activity = control.Active.subscribe([&](bool status) {
        began = began || status;
        active = status;
    });
    auto& engine = control.SNMP();
    const auto noteFailure = [this, &engine] {
        const long code = engine.getErrorCode();
        if (failure_.empty() && (code == snmp::ENGINE_TIMEOUT || code == snmp::ENGINE_BAD_ADDRESS ||
                                 code == snmp::ENGINE_SEND_FAILED || code == snmp::ENGINE_SECURITY))
            failure_ = engine.getErrorText();
    };
    const auto single = engine.ValueReceived.subscribe(
        [&](const std::string&, const std::string&, int, const std::string&, const std::string&, const std::string&) {
            noteFailure();
        });
    const auto bulk = engine.ValuesReceived.subscribe(
        [&](const std::string&, const std::vector<std::string>&, const std::vector<int>&,
            const std::vector<std::string>&, const std::vector<std::string>&) { noteFailure(); });
    start();
    if (!began) return false;
    toolkit().eventLoop().runUntil([&] { return !active; });
    return true;
}

int LiveHost::reportFailure(const AgentOptions& options) const {
    if (failure_.empty()) return 0;
    std::cerr << "qlmib: " << options.agent << ": " << failure_ << '\n';
    return 1;
}

namespace {

void appendCell(std::string& out, std::string_view text) {
    for (size_t at = 0; at < text.size();) {
        const auto c = static_cast<unsigned char>(text[at]);
        if (c < 0x80) {
            out += c == '\t' || c == '\r' || c == '\n' ? ' ' : static_cast<char>(c);
            ++at;
        } else {
            ui::AppendUtf8(out, ui::NextCodePoint(text, at));
        }
    }
}

}  // namespace

void writeGrid(std::ostream& out, const ui::GridModel& grid) {
    std::string text;
    for (std::int32_t r = 0; r < grid.getRows(); ++r) {
        for (std::int32_t c = 0; c < grid.getCols(); ++c) {
            if (c) text += '\t';
            appendCell(text, grid.getTextMatrix(r, c));
        }
        text += '\n';
    }
    out << text;
}

}  // namespace qlmib::cli
