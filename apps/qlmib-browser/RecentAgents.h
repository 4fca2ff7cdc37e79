#pragma once
// The agents the user asked most recently, newest first, without repeats.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qlmib::browser {

class RecentAgents {
public:
    static constexpr std::size_t kMaxAgents = 12;

    // From the stored text (agents separated by commas, which no agent address holds).
    static RecentAgents FromText(std::string_view text);
    std::string toText() const;

    // Moves `agent` to the front (blanks around it dropped; an empty one is ignored).
    void Remember(std::string_view agent);
    void Forget(std::string_view agent);
    const std::vector<std::string>& agents() const { return agents_; }

private:
    std::vector<std::string> agents_;
};

}  // namespace qlmib::browser
