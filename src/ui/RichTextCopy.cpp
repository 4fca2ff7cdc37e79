#include "RichTextCopy.h"

namespace qlmib::ui {

void CopyRichText(Clipboard& clipboard, const RichTextDocument& document) {
    clipboard.Clear();
    if (document.getSelLength() > 0) {
        clipboard.SetText(document.getSelRTF(), ClipboardRTF);
        clipboard.SetText(document.getSelText(), ClipboardText);
    } else {
        clipboard.SetText(document.getTextRTF(), ClipboardRTF);
        clipboard.SetText(document.getText(), ClipboardText);
    }
}

}  // namespace qlmib::ui
