#pragma once
// A push button. Press() is a click, whether by the user or by code.

#include "qlmib/ui/Captioned.h"

namespace qlmib::ui {

class Button : public Captioned {
public:
    explicit Button(std::string name = {}) : Captioned(WidgetKind::Button, std::move(name)) {}

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
    bool default_ = false;
};

}  // namespace qlmib::ui
