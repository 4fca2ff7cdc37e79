#pragma once
// The system clipboard through QClipboard. Each format is a MIME type
// (text/plain, text/rtf); setting one keeps the others the clipboard holds.

#include "qlmib/ui/Clipboard.h"

namespace qlmib::ui::qt {

class QtClipboard : public Clipboard {
public:
    void Clear() override;
    void SetText(std::string_view text, std::int32_t format = ClipboardText) override;
    std::string GetText(std::int32_t format = ClipboardText) const override;
    bool GetFormat(std::int32_t format) const override;
};

}  // namespace qlmib::ui::qt
