#pragma once
// What the agent bar says to ask, handed to every live control.

#include <cstdint>
#include <optional>
#include <string>

#include <qlmib/snmp/UsmSecurity.h>

namespace qlmib {
class LiveControl;
}

namespace qlmib::browser {

struct AgentTarget {
    std::string agent;
    std::int16_t version = 2;  // 1, 2 (v2c) or 3
    std::string readCommunity = "public";
    std::string writeCommunity = "private";
    snmp::UsmSecurity security;  // version 3 only
    // A saved agent's own; the Settings otherwise.
    std::optional<std::int32_t> timeout;  // milliseconds
    std::optional<int> retries, requestSize;

    // Points `control` at the agent with the read community, or with the
    // SNMPv3 security for version 3.
    void aim(LiveControl& control) const;
};

}  // namespace qlmib::browser
