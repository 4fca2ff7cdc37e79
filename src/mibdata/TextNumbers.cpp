#include "TextNumbers.h"

#include <cmath>
#include <limits>

#include "qlmib/common/Error.h"

namespace qlmib {
namespace {

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

template <class Int>
Int roundChecked(double value) {
    if (std::isnan(value)) throw Error(ERR_OVERFLOW, "Overflow");
    const double r = std::nearbyint(value);  // default rounding mode: halves to even
    // -min is a power of two and exact as a double, unlike max for 64 bits.
    const double lowest = static_cast<double>(std::numeric_limits<Int>::min());
    if (!(r >= lowest && r < -lowest)) throw Error(ERR_OVERFLOW, "Overflow");
    return static_cast<Int>(r);
}

}  // namespace

std::int32_t RoundToInt32(double value) { return roundChecked<std::int32_t>(value); }

std::int16_t RoundToInt16(double value) { return roundChecked<std::int16_t>(value); }

std::int64_t RoundToInt64(double value) { return roundChecked<std::int64_t>(value); }

std::string UpperAscii(std::string_view text) {
    std::string out(text);
    for (auto& c : out) c = upper(c);
    return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (upper(a[i]) != upper(b[i])) return false;
    return true;
}

size_t NoCaseHash::operator()(std::string_view text) const noexcept {
    // FNV-1a over the folded bytes.
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(upper(c));
        hash *= 1099511628211ULL;
    }
    return static_cast<size_t>(hash);
}

}  // namespace qlmib
