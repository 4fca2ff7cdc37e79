#pragma once
// A panel: a box with an optional caption that holds other widgets, or
// shows a message over them.

#include "qlmib/ui/Captioned.h"

namespace qlmib::ui {

class Panel : public Captioned {
public:
    explicit Panel(std::string name = {}) : Captioned(WidgetKind::Panel, std::move(name)) {}
};

}  // namespace qlmib::ui
