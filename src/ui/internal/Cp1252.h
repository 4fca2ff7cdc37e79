#pragma once
// Windows-1252, the code page of RTF's \'hh escapes under \ansicpg1252.

#include <array>
#include <cstdint>

namespace qlmib::ui::cp1252 {

// 0x80..0x9F; the rest of the upper half is Latin-1.
inline constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

inline char32_t Decode(unsigned char byte) { return (byte >= 0x80 && byte < 0xA0) ? kHigh[byte - 0x80] : byte; }

// The byte for a character, or -1 when the code page has none.
inline int Encode(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
    for (std::size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == c) return static_cast<int>(0x80 + i);
    return -1;
}

}  // namespace qlmib::ui::cp1252
