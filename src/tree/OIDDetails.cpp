#include "OIDDetails.h"

#include "Details.h"
#include "PrintDetails.h"
#include "qlmib/mibdata/Globals.h"
#include "qlmib/mibdata/OID.h"
#include "qlmib/ui/RichTextCopy.h"
#include "qlmib/ui/Toolkit.h"

namespace qlmib {

OIDDetails::OIDDetails(ui::Toolkit& toolkit, std::string name)
    : ui::Widget(ui::WidgetKind::Container, std::move(name)), toolkit_(toolkit), detailsView_(Details, "Details") {
    OpenDatabase();
    detailsView_.setParent(this);
    RTFPopup.Add("&Copy", "CopyPopup");
    RTFPopup.Add("&Print ...", "PrintPopup");
    resized_ = Resize.subscribe([this] { detailsView_.Move(0, 0, getWidth(), getHeight()); });
    mouseDown_ = Details.MouseDown.subscribe([this](std::int16_t& button, std::int16_t&, float&, float&) {
        if (button == ui::RightButton) toolkit_.PopupMenu(RTFPopup);
    });
    menuClick_ = RTFPopup.Click.subscribe([this](const std::string& key) {
        if (key == "CopyPopup") CopyToClipboard();
        else if (key == "PrintPopup") PrintPopup_Click();
    });
}

OIDDetails::~OIDDetails() = default;

OID& OIDDetails::object() {
    if (!oid_) oid_ = std::make_shared<OID>();
    return *oid_;
}

void OIDDetails::setOID(const std::string& TargetOID) {
    object().setOID(TargetOID);
    Refresh();
}

std::string OIDDetails::getOID() const { return oid_ ? oid_->getOID() : std::string(); }

void OIDDetails::setRawValue(const std::string& Value) {
    raw_ = Value;
    Refresh();
}

void OIDDetails::setParsedValue(const std::string& Value) {
    parsed_ = Value;
    Refresh();
}

std::string OIDDetails::getRTF() const { return Details.getTextRTF(); }

void OIDDetails::showComposition() { Details.setTextRTF(DetailsPreload.getTextRTF()); }

void OIDDetails::Refresh() {
    ComposeValueDetails(DetailsPreload, title_, object(), raw_, parsed_);
    showComposition();
    Details.setSelStart(0);
}

void OIDDetails::CopyToClipboard() { ui::CopyRichText(toolkit_.clipboard(), Details); }

void OIDDetails::PrintPopup_Click() { PrintDetails(toolkit_, Details.getTextRTF(), object().getFullName()); }

void OIDDetails::AddMessage(std::string_view Message, ui::Color Color, bool Bold, std::int16_t FontSize,
                            bool Underline) {
    DetailsPreload.AddMessage(Message, Color, Bold, FontSize, Underline);
    showComposition();
}

}  // namespace qlmib
