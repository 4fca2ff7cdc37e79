#pragma once
// A label: one caption.

#include "qlmib/ui/Widget.h"

namespace qlmib::ui {

class Label : public Widget {
public:
    explicit Label(std::string name = {}) : Widget(WidgetKind::Label, std::move(name)) {}

    const std::string& getCaption() const { return caption_; }
    void setCaption(std::string_view caption) {
        caption_.assign(caption);
        Changed();
    }

private:
    std::string caption_;
};

}  // namespace qlmib::ui
