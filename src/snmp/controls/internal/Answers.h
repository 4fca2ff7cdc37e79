#pragma once
// The texts that the live controls read their answers and requests by: OIDs
// under a root, request tags, the codes that end a walk, and lists.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qlmib::live {

// Whether `oid` lies under `root`: it begins with root followed by ".".
bool IsUnder(std::string_view oid, std::string_view root);

// The row of a "Refresh,<row>" or "CheckSet,<row>" tag; -1 when it names none.
std::int32_t TagRow(std::string_view tag);

// An answer code that means the agent's MIB view ends there (or that the walk
// would loop): a table download stops without a cell for it.
bool EndsWalk(long errorCode);

// The parts of a text between commas ("" gives one empty part).
std::vector<std::string> SplitAtCommas(std::string_view text);

}  // namespace qlmib::live
