#include "ToolkitHooks.h"

#include "OIDDetailsForm.h"
#include "qlmib/mibdata/Globals.h"
#include "qlmib/ui/Toolkit.h"

namespace qlmib {

ToolkitHooks::ToolkitHooks(ui::Toolkit& toolkit) {
    SetMessageHook([&toolkit](const std::string& text) { toolkit.MsgBox(text, ui::MsgBoxOKOnly); });
    SetDetailsHook([&toolkit](const std::string& oid) { OIDDetailsForm::Open(toolkit).ShowOIDDetails(oid); });
}

ToolkitHooks::~ToolkitHooks() {
    SetMessageHook(nullptr);
    SetDetailsHook(nullptr);
}

}  // namespace qlmib
