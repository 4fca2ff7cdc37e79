#include "RecentAgents.h"

#include <algorithm>

#include <qlmib/mibdata/CommonFunctions.h>

namespace qlmib::browser {

RecentAgents RecentAgents::FromText(std::string_view text) {
    RecentAgents recent;
    std::vector<std::string> stored;
    while (!text.empty()) {
        const auto comma = text.find(',');
        stored.emplace_back(text.substr(0, comma));
        text = comma == std::string_view::npos ? std::string_view{} : text.substr(comma + 1);
    }
    // Remembered oldest first, so the stored order comes out unchanged.
    for (auto it = stored.rbegin(); it != stored.rend(); ++it) recent.Remember(*it);
    return recent;
}

std::string RecentAgents::toText() const {
    std::string text;
    for (const auto& agent : agents_) {
        if (!text.empty()) text += ',';
        text += agent;
    }
    return text;
}

void RecentAgents::Remember(std::string_view agent) {
    const std::string trimmed{TrimBlanks(agent)};
    if (trimmed.empty() || trimmed.find(',') != std::string::npos) return;
    Forget(trimmed);
    agents_.insert(agents_.begin(), trimmed);
    if (agents_.size() > kMaxAgents) agents_.resize(kMaxAgents);
}

void RecentAgents::Forget(std::string_view agent) {
    std::erase_if(agents_, [&](const std::string& known) { return known == agent; });
}

}  // namespace qlmib::browser
