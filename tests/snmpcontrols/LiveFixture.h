#pragma once
// What the live control tests share: a MIB database built once per test
// program from the shared corpus, the loopback snmpd, a headless toolkit,
// a way to run a control until its busy state has ended, and net-snmp's
// own tools as the reference for what the agent holds.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <qlmib/snmp/LiveControl.h>
#include <qlmib/ui/HeadlessToolkit.h>

#include "SnmpAgent.h"
#include "TestHome.h"

namespace qlmib::test {

inline constexpr const char* kSysDescr = "1.3.6.1.2.1.1.1.0";
inline constexpr const char* kSysContact = "1.3.6.1.2.1.1.4.0";
inline constexpr const char* kSysName = "1.3.6.1.2.1.1.5.0";
inline constexpr const char* kSysLocation = "1.3.6.1.2.1.1.6.0";

inline constexpr ui::Color kRed{255, 0, 0}, kGreen{0, 128, 0}, kBlue{0, 0, 255}, kLightGrey{240, 240, 240};

// The install folder with the corpus database, built on first use; null when
// the corpus is absent.
TestHome* CorpusHome();

// One binding as snmpwalk prints it (-On -Oq -Oe -Ot): the OID and an OID
// value without the leading dot, a string without its quotes.
struct ToolBinding {
    std::string oid, value;
};
// snmpwalk with `arguments` ("-v2c -c public AGENT .1.3.6.1.2.1.1"), no MIBs loaded.
std::vector<ToolBinding> NetSnmpWalk(const std::string& arguments);
// snmpset of one value with the agent's write community; `type` as snmpset
// takes it (s, x, i). Fails the test when snmpset fails.
void NetSnmpSet(const std::string& oid, char type, const std::string& value);

class LiveTest : public ::testing::Test {
protected:
    void SetUp() override;

    static SnmpAgent& agent() { return SnmpAgent::Shared(); }
    // Points the control at the shared agent.
    static void aim(LiveControl& control, int version = 2, const char* community = SnmpAgent::kReadCommunity) {
        control.setIP(agent().address());
        control.setCommunity(community);
        control.setSNMPVersion(static_cast<std::int16_t>(version));
    }
    // Calls `start`, then runs the loop until the busy state it began has
    // ended. False when none began or it did not end within timeoutMs.
    bool runToIdle(LiveControl& control, const std::function<void()>& start, int timeoutMs = 10000);
    // The first row whose datum is `datum`, or -1.
    static std::int32_t rowWithData(const ui::GridModel& grid, const std::string& datum) {
        for (std::int32_t r = 0; r < grid.getRows(); ++r)
            if (grid.getRowData(r).toString() == datum) return r;
        return -1;
    }

    ui::HeadlessToolkit toolkit;
};

}  // namespace qlmib::test
