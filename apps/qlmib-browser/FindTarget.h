#pragma once
// What the find box above the tree selects for a typed text: the OID it
// spells, the object of that exact name, or else the first object whose
// name starts with it.

#include <string>

namespace qlmib::browser {

// The OID to select; "" when nothing matches.
std::string FindTarget(const std::string& typed);

}  // namespace qlmib::browser
