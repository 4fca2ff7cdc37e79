#pragma once
// A one-line (or multi-line) text box.

#include "qlmib/ui/Widget.h"

namespace qlmib::ui {

class TextBox : public Widget {
public:
    explicit TextBox(std::string name = {}) : Widget(WidgetKind::TextBox, std::move(name)) {}

    const std::string& getText() const { return text_; }
    // Raises Change when the text differs.
    void setText(std::string_view text) {
        if (text == text_) return;
        text_.assign(text);
        Changed();
        Change();
    }
    bool getLocked() const { return locked_; }
    void setLocked(bool v) {
        locked_ = v;
        Changed();
    }
    bool getMultiLine() const { return multiLine_; }
    void setMultiLine(bool v) {
        multiLine_ = v;
        Changed();
    }

    // Raises KeyPress; returns KeyAscii as the handlers left it (0: swallowed).
    std::int16_t UserKeyPress(std::int16_t keyAscii) {
        KeyPress(keyAscii);
        return keyAscii;
    }

    Event<> Change;
    Event<std::int16_t& /*KeyAscii*/> KeyPress;

private:
    std::string text_;
    bool locked_ = false, multiLine_ = false;
};

}  // namespace qlmib::ui
