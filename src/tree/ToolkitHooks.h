#pragma once
// Connects the data layer's hooks of this thread to a toolkit while it lives:
// messages of the data layer appear in message boxes, and
// OID::ShowOIDDetails opens an OIDDetailsForm. A host makes one at start-up,
// after its toolkit; when it goes, the hooks it replaced are back.

#include "qlmib/mibdata/Globals.h"

namespace qlmib {

namespace ui {
class Toolkit;
}

class ToolkitHooks {
public:
    explicit ToolkitHooks(ui::Toolkit& toolkit);
    ~ToolkitHooks();
    ToolkitHooks(const ToolkitHooks&) = delete;
    ToolkitHooks& operator=(const ToolkitHooks&) = delete;

private:
    MessageHook previousMessage_;
    DetailsHook previousDetails_;
};

}  // namespace qlmib
