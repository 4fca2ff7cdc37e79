#pragma once
// Where and in which colour the style draws the one-line text of an item
// view cell, for delegates that draw the text themselves.

#include <QColor>
#include <QRect>
#include <QStyleOptionViewItem>

class QPainter;

namespace qlmib::ui::qt {

// The style's text rectangle of `cell` (`bounds`) less its margins at the sides.
QRect ItemTextArea(const QStyleOptionViewItem& cell, const QRect& bounds);

// The pen for the cell's text: selected or not, enabled, active window.
QColor ItemTextColour(const QStyleOptionViewItem& cell);

// One line of `text` in `area`, aligned as the cell says; the painter's pen
// and font are the caller's.
void DrawItemTextLine(QPainter& painter, const QStyleOptionViewItem& cell, const QRect& area, const QString& text);

}  // namespace qlmib::ui::qt
