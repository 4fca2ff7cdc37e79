#pragma once
// The details window: a small always-on-top window whose OIDDetails
// control, Details, fills it. Open() makes one that lives until the user
// closes it, as the trees' PopupOIDDetails and OID::ShowOIDDetails need.

#include <string>

#include "qlmib/tree/OIDDetails.h"
#include "qlmib/ui/Window.h"

namespace qlmib {

class OIDDetailsForm : public ui::Window {
public:
    explicit OIDDetailsForm(ui::Toolkit& toolkit);

    // Sets the OID, then the raw value, then the parsed value, and shows the window modeless.
    void ShowOIDDetails(const std::string& OID, const std::string& RawValue = "", const std::string& ParsedValue = "");

    static OIDDetailsForm& Open(ui::Toolkit& toolkit);

    OIDDetails Details;

private:
    Subscription load_, resized_;
};

}  // namespace qlmib
