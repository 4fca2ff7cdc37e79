#pragma once
// Copying from a rich-text box: the selection, or the whole document when
// nothing is selected, as rich text and as plain text together.

#include "qlmib/ui/Clipboard.h"
#include "qlmib/ui/RichTextDocument.h"

namespace qlmib::ui {

// Clears the clipboard first.
void CopyRichText(Clipboard& clipboard, const RichTextDocument& document);

}  // namespace qlmib::ui
