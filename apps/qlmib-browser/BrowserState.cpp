#include "BrowserState.h"

#include <qlmib/snmp/Settings.h>

namespace qlmib::browser {

namespace {

// One row per remembered value: its name in the store and its member.
struct Entry {
    const char* name;
    std::string BrowserState::*member;
};
constexpr Entry kEntries[] = {
    {"Browser Geometry", &BrowserState::geometry},
    {"Browser Window State", &BrowserState::windowState},
    {"Browser Main Splitter", &BrowserState::mainSplitter},
    {"Browser Right Splitter", &BrowserState::rightSplitter},
    {"Browser Current Node", &BrowserState::currentNode},
    {"Browser SNMP Version", &BrowserState::version},
};
constexpr const char* kAgentsName = "Browser Recent Agents";

}  // namespace

BrowserState BrowserState::Load(const Settings& settings) {
    BrowserState state;
    for (const auto& entry : kEntries)
        state.*entry.member = settings.RetrieveOption(entry.name, state.*entry.member);
    state.agents = RecentAgents::FromText(settings.RetrieveOption(kAgentsName));
    return state;
}

void BrowserState::Save(Settings& settings, const BrowserState& stored) const {
    for (const auto& entry : kEntries)
        if (this->*entry.member != stored.*entry.member) settings.SaveOption(entry.name, this->*entry.member);
    if (agents.toText() != stored.agents.toText()) settings.SaveOption(kAgentsName, agents.toText());
}

}  // namespace qlmib::browser
