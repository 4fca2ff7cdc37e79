#include "RichTextEdit.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

#include "Conversions.h"
#include "qlmib/ui/InputCodes.h"
#include "qlmib/ui/RichTextCopy.h"
#include "qlmib/ui/Utf8.h"

namespace qlmib::ui::qt {

std::vector<std::int32_t> FillTextDocument(QTextDocument& target, const std::vector<TextRun>& runs) {
    target.clear();
    std::vector<std::int32_t> lineBreaks;
    QTextCursor cursor(&target);
    std::int32_t position = 0;  // in model characters
    for (const auto& run : runs) {
        QTextCharFormat format;
        QFont font = ToQFont({run.format.fontName, run.format.size, run.format.bold});
        font.setUnderline(run.format.underline);
        format.setFont(font);
        format.setForeground(ToQColor(run.format.color));
        std::int32_t offset = 0;
        for (std::size_t at = 0; at < run.text.size(); ++offset) {
            if (run.text.compare(at, 2, "\r\n") == 0) lineBreaks.push_back(position + offset);
            NextCodePoint(run.text, at);
        }
        position += offset;
        QString text = ToQString(run.text);
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
        cursor.insertText(text, format);
    }
    return lineBreaks;
}

RichTextEdit::RichTextEdit(RichTextDocument& document, Clipboard& clipboard, QWidget* parent)
    : QTextEdit(parent), document_(document), clipboard_(clipboard) {
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    changed_ = document_.Changed.subscribe([this] { showRuns(); });
    selChange_ = document_.SelChange.subscribe([this] { showSelection(); });
    connect(this, &QTextEdit::selectionChanged, this, [this] { takeSelection(); });
    connect(this, &QTextEdit::cursorPositionChanged, this, [this] { takeSelection(); });
    showRuns();
}

void RichTextEdit::showRuns() {
    syncing_ = true;
    lineBreaks_ = FillTextDocument(*QTextEdit::document(), document_.Runs());
    syncing_ = false;
    showSelection();
}

int RichTextEdit::toView(std::int32_t position) const {
    const auto before = std::upper_bound(lineBreaks_.begin(), lineBreaks_.end(), position - 2) - lineBreaks_.begin();
    return static_cast<int>(position - before);
}

std::int32_t RichTextEdit::toModel(int position) const {
    std::int32_t model = position;
    for (std::size_t i = 0; i < lineBreaks_.size(); ++i) {
        // The pair's single character in the view sits at its model position less the pairs before it.
        if (lineBreaks_[i] - static_cast<std::int32_t>(i) < position) ++model;
        else break;
    }
    return model;
}

void RichTextEdit::showSelection() {
    if (syncing_) return;
    syncing_ = true;
    QTextCursor cursor(QTextEdit::document());
    cursor.setPosition(toView(document_.getSelStart()));
    cursor.setPosition(toView(document_.getSelStart() + document_.getSelLength()), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    syncing_ = false;
}

void RichTextEdit::takeSelection() {
    if (syncing_) return;
    syncing_ = true;
    const QTextCursor cursor = textCursor();
    const std::int32_t start = toModel(cursor.selectionStart());
    const std::int32_t end = toModel(cursor.selectionEnd());
    if (start != document_.getSelStart()) document_.setSelStart(start);
    if (end - start != document_.getSelLength()) document_.setSelLength(end - start);
    syncing_ = false;
}

void RichTextEdit::keyPressEvent(QKeyEvent* event) {
    const std::int16_t typed = KeyAsciiOf(event->key(), event->modifiers(), event->text());
    if (typed == 0) {
        QTextEdit::keyPressEvent(event);  // moving around and selecting
        return;
    }
    const std::int16_t key = document_.UserKeyPress(typed);
    if (key == AsciiCtrlC) CopyRichText(clipboard_, document_);
    else if (key == AsciiCtrlA) selectAll();
    event->accept();
}

void RichTextEdit::mousePressEvent(QMouseEvent* event) {
    QTextEdit::mousePressEvent(event);
    const QPointF at = event->position();
    document_.UserMouseDown(ButtonOf(event->button()), ShiftOf(event->modifiers()),
                            static_cast<float>(ToTwips(static_cast<int>(at.x()))),
                            static_cast<float>(ToTwips(static_cast<int>(at.y()))));
}

void RichTextEdit::contextMenuEvent(QContextMenuEvent* event) { event->accept(); }

}  // namespace qlmib::ui::qt
