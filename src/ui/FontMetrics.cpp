#include "FontMetrics.h"

#include "Utf8.h"

namespace qlmib::ui {

std::int32_t FixedFontMetrics::TextWidth(std::string_view text, const Font& font) const {
    const std::int32_t perChar = font.Size * (font.Bold ? 13 : 12);
    return static_cast<std::int32_t>(CodePointCount(text)) * perChar;
}

std::int32_t FixedFontMetrics::TextHeight(const Font& font) const { return font.Size * 24; }

const FixedFontMetrics& FixedFontMetrics::Instance() {
    static const FixedFontMetrics metrics;
    return metrics;
}

}  // namespace qlmib::ui
