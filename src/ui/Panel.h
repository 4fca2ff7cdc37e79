#pragma once
// A panel: a box with an optional caption that holds other widgets, or
// shows a message over them.

#include "qlmib/ui/Widget.h"

namespace qlmib::ui {

class Panel : public Widget {
public:
    explicit Panel(std::string name = {}) : Widget(WidgetKind::Panel, std::move(name)) {}

    const std::string& getCaption() const { return caption_; }
    void setCaption(std::string_view caption) {
        caption_.assign(caption);
        Changed();
    }

private:
    std::string caption_;
};

}  // namespace qlmib::ui
