#pragma once
// A widget that shows one caption: the base of labels, panels and buttons.

#include "qlmib/ui/Widget.h"

namespace qlmib::ui {

class Captioned : public Widget {
public:
    const std::string& getCaption() const { return caption_; }
    void setCaption(std::string_view caption) {
        caption_.assign(caption);
        Changed();
    }

protected:
    Captioned(WidgetKind kind, std::string name) : Widget(kind, std::move(name)) {}

private:
    std::string caption_;
};

}  // namespace qlmib::ui
