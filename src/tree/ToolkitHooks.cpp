#include "ToolkitHooks.h"

#include "OIDDetailsForm.h"
#include "qlmib/ui/Toolkit.h"

namespace qlmib {

ToolkitHooks::ToolkitHooks(ui::Toolkit& toolkit)
    : previousMessage_(
          SetMessageHook([&toolkit](const std::string& text) { toolkit.MsgBox(text, ui::MsgBoxOKOnly); })),
      previousDetails_(SetDetailsHook(
          [&toolkit](const std::string& oid) { OIDDetailsForm::Open(toolkit).ShowOIDDetails(oid); })) {}

ToolkitHooks::~ToolkitHooks() {
    SetMessageHook(std::move(previousMessage_));
    SetDetailsHook(std::move(previousDetails_));
}

}  // namespace qlmib
