#include "OIDDetailsForm.h"

#include <memory>

#include "qlmib/ui/Toolkit.h"

namespace qlmib {

OIDDetailsForm::OIDDetailsForm(ui::Toolkit& toolkit) : ui::Window(toolkit, "OIDDetailsForm"), Details(toolkit, "Details") {
    setCaption("OID Details");
    Details.setParent(this);
    // Stays above other windows without being moved or resized.
    load_ = Load.subscribe([this] { setTopMost(true); });
    resized_ = Resize.subscribe([this] { Details.Move(0, 0, getWidth(), getHeight()); });
    Move(0, 0, 6000, 4500);
}

void OIDDetailsForm::ShowOIDDetails(const std::string& OID, const std::string& RawValue,
                                    const std::string& ParsedValue) {
    Details.setOID(OID);
    Details.setRawValue(RawValue);
    Details.setParsedValue(ParsedValue);
    Show(false);
}

OIDDetailsForm& OIDDetailsForm::Open(ui::Toolkit& toolkit) {
    auto form = std::make_shared<OIDDetailsForm>(toolkit);
    toolkit.KeepUntilClosed(*form, form);
    return *form;
}

}  // namespace qlmib
