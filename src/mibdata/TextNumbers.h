#pragma once
// Rounding and ASCII case folding; every conversion in the library goes
// through these and the number texts of qlmib/common/Numbers.h.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "qlmib/common/Numbers.h"

namespace qlmib {

// Round to the nearest whole number, an exact half to the even neighbour.
// Throws Error(ERR_OVERFLOW) when the result does not fit.
std::int32_t RoundToInt32(double value);
std::int16_t RoundToInt16(double value);
std::int64_t RoundToInt64(double value);

// ASCII case folding, for keyword and key comparisons.
std::string UpperAscii(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);

// Hash and equality of texts compared as the database's NOCASE compares them,
// for unordered containers keyed by name without a folded copy of each key.
struct NoCaseHash {
    size_t operator()(std::string_view text) const noexcept;
};
struct NoCaseEqual {
    bool operator()(std::string_view a, std::string_view b) const noexcept { return EqualsNoCase(a, b); }
};

}  // namespace qlmib
