// Walks the whole test agent with the engine (GET-BULK and GET-NEXT, each
// answer sending the next request as the live controls do) and with
// net-snmp's snmpbulkwalk and snmpwalk, and prints the times and their ratio.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include <qlmib/snmp/NetSnmpEngine.h>
#include <qlmib/ui/PollEventLoop.h>

#include "SnmpAgent.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace qlmib;

constexpr int kRuns = 5;
constexpr int kRepetitions = 10;  // the default SNMP V2 Request Size

struct Walk {
    double seconds;
    size_t bindings;
};

Walk engineWalk(const std::string& host, bool bulk) {
    ui::PollEventLoop loop;
    snmp::NetSnmpEngine engine(loop);
    engine.setCommunity("public");
    engine.setVersion(2);
    size_t bindings = 0;
    auto next = [&](const std::string& from) {
        if (bulk) {
            engine.GetBulk(host, "public", "", {from}, 0, kRepetitions);
        } else {
            engine.setRequestOID(from);
            engine.GetNext(host);
        }
    };
    auto onAnswer = [&](const std::vector<std::string>& oids) {
        if (engine.getErrorCode() != snmp::ENGINE_OK || oids.empty()) return;
        bindings += oids.size();
        next(oids.back());
    };
    auto one = engine.ValueReceived.subscribe([&](const std::string&, const std::string& oid, int, const std::string&,
                                                  const std::string&, const std::string&) { onAnswer({oid}); });
    auto many = engine.ValuesReceived.subscribe(
        [&](const std::string&, const std::vector<std::string>& oids, const std::vector<int>&,
            const std::vector<std::string>&, const std::vector<std::string>&) { onAnswer(oids); });
    const auto start = Clock::now();
    next("1.3.6.1");
    loop.runUntil([&] { return engine.getPendingCount() == 0; }, 120000);
    return {std::chrono::duration<double>(Clock::now() - start).count(), bindings};
}

Walk toolWalk(const std::string& command) {
    const auto start = Clock::now();
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return {0, 0};
    size_t lines = 0;
    for (int c; (c = std::fgetc(pipe)) != EOF;) lines += c == '\n';
    pclose(pipe);
    return {std::chrono::duration<double>(Clock::now() - start).count(), lines};
}

Walk median(const std::function<Walk()>& run) {
    std::vector<Walk> walks;
    for (int i = 0; i < kRuns; ++i) walks.push_back(run());
    std::sort(walks.begin(), walks.end(), [](const Walk& a, const Walk& b) { return a.seconds < b.seconds; });
    return walks[kRuns / 2];
}

void report(const char* name, const Walk& ours, const Walk& theirs) {
    std::printf("%-9s engine %7.3f s (%zu bindings)  net-snmp %7.3f s (%zu lines)  ratio %.2f\n", name, ours.seconds,
                ours.bindings, theirs.seconds, theirs.bindings, ours.seconds / theirs.seconds);
}

}  // namespace

int main() {
    test::SnmpAgent agent;
    const std::string host = agent.address();
    // The tools load no MIB files either, and print numeric OIDs.
    const std::string tool = " -v2c -c public -m '' -On " + host + " .1.3.6.1 2>/dev/null";
    report("bulk", median([&] { return engineWalk(host, true); }),
           median([&] { return toolWalk("snmpbulkwalk -Cr" + std::to_string(kRepetitions) + tool); }));
    report("get-next", median([&] { return engineWalk(host, false); }), median([&] { return toolWalk("snmpwalk" + tool); }));
}
