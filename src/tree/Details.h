#pragma once
// The details documents: an OID described as formatted runs (a coloured
// title, label and value lines, the description, the named values of an
// enumerated type), composed into a rich-text document and read out as
// plain text or RTF. Composing empties the document first.

#include <cstdint>
#include <string_view>

#include "qlmib/ui/Color.h"
#include "qlmib/ui/RichTextDocument.h"

namespace qlmib {

class OID;

struct RunStyle {
    ui::Color color;
    bool bold = false;
    std::int16_t size = 8;
    bool underline = false;
};

// The styles of the tree details, which the MIB-X details share.
inline constexpr RunStyle kTreeTitleStyle{ui::Color(64, 128, 64), true, 10, true};
inline constexpr RunStyle kTreeLabelStyle{ui::Color(64, 64, 255), true, 8, false};
inline constexpr RunStyle kValueStyle{ui::kBlack, false, 8, false};

void AddRun(ui::RichTextDocument& document, std::string_view text, const RunStyle& style);
// "label " + TAB in the label style, then value + CR LF in the value style.
void AddLabelLine(ui::RichTextDocument& document, std::string_view label, std::string_view value,
                  const RunStyle& labelStyle, const RunStyle& valueStyle = kValueStyle);
// One line per item of an EnumList text ("#1;up(1)|#2;down(2)"): four
// blanks, the item's text after its first ";" (the whole item without one).
void AddEnumValues(ui::RichTextDocument& document, std::string_view enumList, const RunStyle& style = kValueStyle);

enum class DetailsLayout {
    Tree,       // full name, OID, type, units, access, status, description, values
    ShortTree,  // the same without units and without the values
};

void ComposeTreeDetails(ui::RichTextDocument& document, const OID& oid, DetailsLayout layout = DetailsLayout::Tree);
// The value details: the title, then (for an object in the database) its
// module, name, long name, properties, the raw and parsed values, the
// description and the values.
void ComposeValueDetails(ui::RichTextDocument& document, std::string_view title, const OID& oid,
                         std::string_view rawValue, std::string_view parsedValue);

}  // namespace qlmib
