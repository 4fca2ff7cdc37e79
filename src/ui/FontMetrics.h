#pragma once
// Text measurement in twips, for "as wide as N letters X" and automatic
// sizing. A toolkit measures with its real fonts; the fixed metrics give
// every character the same size so that tests can compute exact results.

#include <cstdint>
#include <string>
#include <string_view>

namespace qlmib::ui {

struct Font {
    std::string Name = "MS Sans Serif";
    std::int16_t Size = 8;  // points
    bool Bold = false;
};

class FontMetrics {
public:
    virtual ~FontMetrics() = default;
    // Width of one line of text.
    virtual std::int32_t TextWidth(std::string_view text, const Font& font) const = 0;
    // Height of one line.
    virtual std::int32_t TextHeight(const Font& font) const = 0;
};

// Every character (code point) is Size * 12 twips wide (bold: Size * 13) and
// a line Size * 24 twips high, whatever the font name.
class FixedFontMetrics : public FontMetrics {
public:
    std::int32_t TextWidth(std::string_view text, const Font& font) const override;
    std::int32_t TextHeight(const Font& font) const override;

    // The instance models use until a toolkit gives them its own.
    static const FixedFontMetrics& Instance();
};

}  // namespace qlmib::ui
