#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace qlmib::compiler {

// Positions of the modules `names` in an order where each comes after the
// modules it imports from (imports[i], for names[i]); imports of modules not
// in the list are ignored. An import cycle is broken where it is met first.
std::vector<std::size_t> DependencyOrder(const std::vector<std::string>& names,
                                         const std::vector<std::vector<std::string>>& imports);

}  // namespace qlmib::compiler
