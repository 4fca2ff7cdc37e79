#include "ItemText.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QStyle>
#include <QWidget>

namespace qlmib::ui::qt {

QRect ItemTextArea(const QStyleOptionViewItem& cell, const QRect& bounds) {
    const QStyle* style = cell.widget ? cell.widget->style() : QApplication::style();
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, cell.widget) + 1;
    return bounds.adjusted(margin, 0, -margin, 0);
}

QColor ItemTextColour(const QStyleOptionViewItem& cell) {
    auto group = (cell.state & QStyle::State_Enabled) ? QPalette::Normal : QPalette::Disabled;
    if (group == QPalette::Normal && !(cell.state & QStyle::State_Active)) group = QPalette::Inactive;
    return cell.palette.color(group,
                              (cell.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text);
}

// Where the style puts its one-line layout: the line's height aligned in the area.
void DrawItemTextLine(QPainter& painter, const QStyleOptionViewItem& cell, const QRect& area, const QString& text) {
    const QFontMetrics metrics(cell.font);
    const QSize size(area.width(), metrics.ascent() + metrics.descent());
    const QRect line = QStyle::alignedRect(cell.direction, cell.displayAlignment, size, area);
    painter.drawText(line, Qt::TextSingleLine |
                               (QStyle::visualAlignment(cell.direction, cell.displayAlignment) & Qt::AlignHorizontal_Mask) |
                               Qt::AlignTop,
                     text);
}

}  // namespace qlmib::ui::qt
