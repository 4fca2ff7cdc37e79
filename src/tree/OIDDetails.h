#pragma once
// The OID details control: one OID with an optional raw and parsed value
// (a value just read from an agent, say) in the value-details layout, with
// a pop-up menu to copy and print it. Assigning the OID, the raw value or
// the parsed value recomposes the document; the title takes effect at the
// next refresh. Thread affinity: the thread of its toolkit.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "qlmib/ui/Menu.h"
#include "qlmib/ui/RichTextDocument.h"
#include "qlmib/ui/RichTextView.h"
#include "qlmib/ui/Widget.h"

namespace qlmib {

class OID;
namespace ui {
class Toolkit;
}

class OIDDetails : public ui::Widget {
public:
    explicit OIDDetails(ui::Toolkit& toolkit, std::string name = "OIDDetails");
    ~OIDDetails() override;

    // Points the object at the OID (loading it from the database) and refreshes.
    void setOID(const std::string& TargetOID);
    std::string getOID() const;
    void setRawValue(const std::string& Value);
    void setParsedValue(const std::string& Value);
    // The rich text of the visible document.
    std::string getRTF() const;
    const std::string& getTitle() const { return title_; }
    void setTitle(std::string_view Text) { title_ = Text; }

    // Composes the document again from the title, object and values.
    void Refresh();
    // The selection, or the whole document, as rich text and plain text.
    void CopyToClipboard();
    void PrintPopup_Click();
    // Appends one run to the composed document and shows it; it stays until the next refresh.
    void AddMessage(std::string_view Message, ui::Color Color = ui::kBlack, bool Bold = false,
                    std::int16_t FontSize = 8, bool Underline = false);

    // Child components, by their designer names.
    ui::RichTextDocument Details;         // the visible document
    ui::RichTextDocument DetailsPreload;  // where the document is composed
    ui::Menu RTFPopup{"RTFPopup"};        // "&Copy" (CopyPopup), "&Print ..." (PrintPopup)

private:
    OID& object();
    void showComposition();

    ui::Toolkit& toolkit_;
    ui::RichTextView detailsView_;
    std::shared_ptr<OID> oid_;
    std::string raw_, parsed_, title_;
    Subscription resized_, mouseDown_, menuClick_;
};

}  // namespace qlmib
