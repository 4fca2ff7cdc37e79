#pragma once
// The view of a rich-text document: a read-only QTextEdit that shows the
// runs (font, size, bold, colour, underlined link-like runs), keeps the
// selection in step both ways and hands keys and mouse presses to the
// document's User* calls. Ctrl+C puts the document's own RTF and plain
// text on the clipboard together.

#include <QTextEdit>
#include <vector>

#include "qlmib/common/Event.h"
#include "qlmib/ui/RichTextDocument.h"

class QTextDocument;

namespace qlmib::ui {
class Clipboard;
}

namespace qlmib::ui::qt {

// Fills `target` with the runs. Returns the positions of the CR LF pairs
// (each one character in `target`), for mapping positions between the two.
std::vector<std::int32_t> FillTextDocument(QTextDocument& target, const std::vector<TextRun>& runs);

class RichTextEdit : public QTextEdit {
public:
    RichTextEdit(RichTextDocument& document, Clipboard& clipboard, QWidget* parent = nullptr);

    RichTextDocument& document() const { return document_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    // The controls open their own menus from MouseDown.
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void showRuns();
    void showSelection();
    void takeSelection();
    int toView(std::int32_t position) const;
    std::int32_t toModel(int position) const;

    RichTextDocument& document_;
    Clipboard& clipboard_;
    std::vector<std::int32_t> lineBreaks_;  // model positions of CR LF pairs
    bool syncing_ = false;
    Subscription changed_, selChange_;
};

}  // namespace qlmib::ui::qt
