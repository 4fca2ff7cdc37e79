#pragma once
// Where a rich-text document is shown: the widget that places it among the others.

#include "qlmib/ui/RichTextDocument.h"
#include "qlmib/ui/Widget.h"

namespace qlmib::ui {

class RichTextView : public Widget {
public:
    RichTextView(RichTextDocument& document, std::string name = {})
        : Widget(WidgetKind::RichTextView, std::move(name)), document_(document) {}

    RichTextDocument& document() const { return document_; }

private:
    RichTextDocument& document_;
};

}  // namespace qlmib::ui
