#pragma once
// A colour as red, green and blue, 0 to 255 each. Hosts of the original
// platform pass colours as one 32-bit number with red in the low byte
// (FromOle/ToOle convert).

#include <algorithm>
#include <cstdint>

namespace qlmib::ui {

struct Color {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    constexpr Color() = default;
    constexpr Color(int r, int g, int b) : red(channel(r)), green(channel(g)), blue(channel(b)) {}

    static constexpr Color FromOle(std::uint32_t value) {
        return Color(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                     static_cast<int>((value >> 16) & 0xFF));
    }
    constexpr std::uint32_t ToOle() const {
        return static_cast<std::uint32_t>(red) | static_cast<std::uint32_t>(green) << 8 |
               static_cast<std::uint32_t>(blue) << 16;
    }

    friend constexpr bool operator==(Color, Color) = default;

private:
    static constexpr std::uint8_t channel(int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); }
};

inline constexpr Color kBlack{0, 0, 0};

}  // namespace qlmib::ui
