#pragma once
// What the commands that query an agent through the live controls share
// (walk, next, table, set): net-snmp's agent options, the headless host that
// runs a control until it is no longer busy, and the grid as tab-separated lines.

#include <CLI/CLI.hpp>

#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <qlmib/snmp/LiveControl.h>

#include "HeadlessHost.h"
#include "SecurityOptions.h"

namespace qlmib {
class OID;
namespace ui {
class GridModel;
}
}  // namespace qlmib

namespace qlmib::cli {

struct AgentOptions {
    std::string agent;
    std::string version = "2c";
    std::string community = "public";
    std::optional<double> timeout;  // seconds; none: the stored setting
    std::optional<int> retries;
    std::optional<int> requestSize;  // a saved agent's repetitions per GET-BULK; none: the stored setting
    bool writes = false;  // a SET: the community is the write community
    SecurityOptions security;
};

// -v, -c, -t, -r, the SNMPv3 options and the AGENT argument, as net-snmp's
// tools take them, and --agent NAME.
void addAgentOptions(CLI::App& command, AgentOptions& options, bool writes = false);

// Throws std::runtime_error when the walk would send bulk requests and the
// stored SNMP V2 Request Size asks for no repetitions (a saved agent's own
// request size stands in for it).
void requireBulkSize(const AgentOptions& options);

// A numeric OID for an OID or name argument; throws std::runtime_error when
// the MIB database does not know the name.
std::string numericOID(std::string_view argument);

// The headless toolkit of one command, its message boxes written to standard error.
class LiveHost {
public:
    // The host of a command the process ends after. It is never destroyed:
    // taking its grid apart cell by cell, thousands of rows, would only cost
    // time before the process gives the memory back at once. It stays
    // reachable, so leak checkers do not report it.
    static LiveHost& ForProcess();
    // A control on the host's toolkit, as long-lived as the host.
    template <class Control>
    Control& make() {
        auto control = std::make_unique<Control>(toolkit());
        auto& made = *control;
        controls_.push_back(std::move(control));
        return made;
    }

    ui::HeadlessToolkit& toolkit() { return host_.toolkit; }
    // Points the control at the agent; -t and -r tune its engine for this run only.
    void configure(LiveControl& control, const AgentOptions& options);
    // Calls `start`, then runs the event loop until the busy state it began has
    // ended. False when `start` began none (the control refused the request).
    bool run(LiveControl& control, const std::function<void()>& start);
    // The first answer that cut the command short (no answer, a bad address
    // or OID, an error status such as genErr or authorizationError), or ""
    // when every answer came.
    const std::string& agentFailure() const { return failure_; }
    // Writes the agent failure to standard error; the exit status for it.
    int reportFailure(const AgentOptions& options) const;

private:
    LiveHost() = default;

    HeadlessHost host_;
    std::vector<std::unique_ptr<LiveControl>> controls_;  // go before the toolkit they use
    std::string failure_;
};

// Every row of the grid, header first: TAB between cells, LF after each row. A
// TAB, CR or LF inside a text becomes a blank; bytes that are not UTF-8 are
// written as the Latin-1 characters of the same number.
void writeGrid(std::ostream& out, const ui::GridModel& grid);

}  // namespace qlmib::cli
