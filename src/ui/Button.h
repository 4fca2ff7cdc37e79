#pragma once
// A push button. Press() is a click, whether by the user or by code.

#include "qlmib/ui/Widget.h"

namespace qlmib::ui {

class Button : public Widget {
public:
    explicit Button(std::string name = {}) : Widget(WidgetKind::Button, std::move(name)) {}

    const std::string& getCaption() const { return caption_; }
    void setCaption(std::string_view caption) {
        caption_.assign(caption);
        Changed();
    }
    // Enter presses the default button of a window.
    bool getDefault() const { return default_; }
    void setDefault(bool v) {
        default_ = v;
        Changed();
    }

    // Raises Click unless the button is disabled.
    void Press() {
        if (getEnabled()) Click();
    }

    Event<> Click;

private:
    std::string caption_;
    bool default_ = false;
};

}  // namespace qlmib::ui
