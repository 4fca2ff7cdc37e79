#include "LiveCommand.h"

#include <iostream>

#include <qlmib/mibdata/OID.h>
#include <qlmib/snmp/LiveControl.h>
#include <qlmib/snmp/Settings.h>
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

std::string numericOID(std::string_view argument) {
    const std::string text = objectArgument(argument);
    if (!text.empty() && text[0] >= '0' && text[0] <= '9') return text;
    OID object;
    if (!lookUpInstance(object, text)) throw std::runtime_error(text + " is not in the MIB database");
    return object.getOID();
}

namespace {

// Whether an answer means the command could not do all it was asked. The
// exceptions and SNMPv1's noSuchName are how a walk or a probe normally ends.
bool cutsShort(long code) {
    constexpr long kNoSuchName = snmp::ENGINE_ERROR_STATUS + 2;
    if (code == snmp::ENGINE_OK || code == kNoSuchName) return false;
    return code < snmp::ENGINE_NO_SUCH_OBJECT || code > snmp::ENGINE_END_OF_MIB_VIEW;
}

}  // namespace

void requireBulkSize(const AgentOptions& options) {
    const auto settings = Settings::Shared();
    if (options.version == "1" || options.requestSize || settings->getDisableSNMPV2()) return;
    if (const auto size = settings->getSNMPV2RequestSize(); size <= 0)
        throw std::runtime_error("the stored SNMP V2 Request Size is " + std::to_string(size) +
                                 ", so a bulk request asks for nothing: store 2 to 30 with qlmib settings");
}

LiveHost& LiveHost::ForProcess() {
    static auto* const hosts = new std::vector<LiveHost*>;
    return *hosts->emplace_back(new LiveHost);
}

void LiveHost::configure(LiveControl& control, const AgentOptions& options) {
    control.setIP(options.agent);
    control.setTarget(options.agent);
    control.setCommunity(options.community);
    control.setSNMPVersion(options.version == "1" ? 1 : 2);
    auto& engine = control.SNMP();
    if (options.timeout) engine.setTimeout(static_cast<std::int32_t>(*options.timeout * 1000 + 0.5));
    if (options.retries) engine.setRetries(*options.retries);
    if (options.requestSize) control.setRequestSize(*options.requestSize);
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
        if (failure_.empty() && cutsShort(engine.getErrorCode())) failure_ = engine.getErrorText();
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
        // Plain ASCII goes over in runs; most cells are nothing else.
        size_t plain = at;
        while (plain < text.size()) {
            const auto c = static_cast<unsigned char>(text[plain]);
            if (c >= 0x80 || c == '\t' || c == '\r' || c == '\n') break;
            ++plain;
        }
        out.append(text, at, plain - at);
        at = plain;
        if (at == text.size()) break;
        if (static_cast<unsigned char>(text[at]) < 0x80) {
            out += ' ';
            ++at;
        } else {
            ui::AppendUtf8(out, ui::NextCodePoint(text, at));
        }
    }
}

}  // namespace

void writeGrid(std::ostream& out, const ui::GridModel& grid) {
    // Written in pieces: a walk's whole text in one buffer only costs fresh pages.
    constexpr size_t kPiece = 64 * 1024;
    std::string text;
    text.reserve(kPiece + 4096);
    for (std::int32_t r = 0; r < grid.getRows(); ++r) {
        for (std::int32_t c = 0; c < grid.getCols(); ++c) {
            if (c) text += '\t';
            appendCell(text, grid.getTextMatrix(r, c));
        }
        text += '\n';
        if (text.size() >= kPiece) {
            out << text;
            text.clear();
        }
    }
    out << text;
}

}  // namespace qlmib::cli
