#pragma once
// A label: one caption.

#include "qlmib/ui/Captioned.h"

namespace qlmib::ui {

class Label : public Captioned {
public:
    explicit Label(std::string name = {}) : Captioned(WidgetKind::Label, std::move(name)) {}
};

}  // namespace qlmib::ui
