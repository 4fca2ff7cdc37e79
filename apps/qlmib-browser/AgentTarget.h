#pragma once
// What the agent bar says to ask, handed to every live control.

#include <cstdint>
#include <string>

namespace qlmib {
class LiveControl;
}

namespace qlmib::browser {

struct AgentTarget {
    std::string agent;
    std::int16_t version = 2;
    std::string readCommunity = "public";
    std::string writeCommunity = "private";

    // Points `control` at the agent with the read community.
    void aim(LiveControl& control) const;
};

}  // namespace qlmib::browser
