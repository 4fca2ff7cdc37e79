#pragma once
// The clipboard service. Texts set in different formats stay side by side
// until Clear, so a copy can offer rich text and plain text together.

#include <cstdint>
#include <string>
#include <string_view>

namespace qlmib::ui {

enum ClipboardFormat : std::int32_t {
    ClipboardText = 1,
    ClipboardRTF = 0xBF01,
};

class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void Clear() = 0;
    // Replaces the text of that format; other formats stay.
    virtual void SetText(std::string_view text, std::int32_t format = ClipboardText) = 0;
    // "" when the clipboard holds no text of that format.
    virtual std::string GetText(std::int32_t format = ClipboardText) const = 0;
    virtual bool GetFormat(std::int32_t format) const = 0;
};

}  // namespace qlmib::ui
