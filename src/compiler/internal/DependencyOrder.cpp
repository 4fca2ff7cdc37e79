#include "internal/DependencyOrder.h"

#include <functional>
#include <map>

namespace qlmib::compiler {

std::vector<std::size_t> DependencyOrder(const std::vector<std::string>& names,
                                         const std::vector<std::vector<std::string>>& imports) {
    std::map<std::string, std::size_t> position;
    for (std::size_t i = 0; i < names.size(); ++i) position.try_emplace(names[i], i);

    enum class Mark { none, visiting, done };
    std::vector<Mark> marks(names.size(), Mark::none);
    std::vector<std::size_t> order;
    // Depth first: a module is placed once everything it imports is. Meeting
    // a module that is still being visited means a cycle; it is left for the
    // visit already under way to place.
    std::function<void(std::size_t)> visit = [&](std::size_t i) {
        if (marks[i] != Mark::none) return;
        marks[i] = Mark::visiting;
        for (const auto& imported : imports[i]) {
            const auto it = position.find(imported);
            if (it != position.end()) visit(it->second);
        }
        marks[i] = Mark::done;
        order.push_back(i);
    };
    for (std::size_t i = 0; i < names.size(); ++i) visit(i);
    return order;
}

}  // namespace qlmib::compiler
