#include "GridItemDelegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QPainter>
#include <algorithm>

#include "GridItemModel.h"
#include "ItemText.h"
#include "QtGridWidget.h"

namespace qlmib::ui::qt {

GridItemDelegate::GridItemDelegate(const QtGridWidget& owner, const GridModel& grid, QObject* parent)
    : QStyledItemDelegate(parent), owner_(owner), grid_(grid) {}

QSize GridItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    auto size = QStyledItemDelegate::sizeHint(option, index);
    const auto* model = qobject_cast<const GridItemModel*>(index.model());
    const auto row = model ? model->gridRow(index) : -1;
    size.setHeight(std::max(owner_.toPixelsY(row >= 0 ? grid_.getRowHeight(row) : grid_.DefaultRowHeight()), 1));
    return size;
}

void GridItemDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    if (grid_.getFocusRect() == FocusRectNone) option->state &= ~QStyle::State_HasFocus;
    const bool focused = owner_.itemView() && owner_.itemView()->hasFocus();
    if (grid_.getHighLight() == HighLightNever || (grid_.getHighLight() == HighLightWithFocus && !focused))
        option->state &= ~QStyle::State_Selected;
}

void GridItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    if (!paintPlainText(painter, cell)) QStyledItemDelegate::paint(painter, option, index);
}

// Whether printable ASCII text fits a width, from the widths of its characters
// with a margin for kerning; text that might not fit (elided) or that has
// line breaks or other characters takes the style's way.
bool GridItemDelegate::fitsSurely(const QString& text, const QFont& font, int width) const {
    auto found = std::find_if(widths_.begin(), widths_.end(), [&](const auto& known) { return known.first == font; });
    if (found == widths_.end()) {
        std::array<qreal, 128> advances{};
        const QFontMetricsF metrics(font);
        for (int c = 32; c < 128; ++c) advances[static_cast<size_t>(c)] = metrics.horizontalAdvance(QChar(c));
        widths_.emplace_back(font, advances);
        found = widths_.end() - 1;
    }
    qreal sum = 0;
    for (const QChar c : text) {
        if (c.unicode() < 32 || c.unicode() >= 128) return false;
        sum += found->second[c.unicode()];
    }
    return sum * 1.05 + 2 <= width;
}

// The style's own steps for such a cell (background panel, text inside the
// focus margins, aligned, elided when too wide), with the text laid out once.
bool GridItemDelegate::paintPlainText(QPainter* painter, const QStyleOptionViewItem& cell) const {
    const auto drawnByStyle = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDecoration |
                              QStyleOptionViewItem::WrapText;
    if ((cell.features & drawnByStyle) || (cell.state & (QStyle::State_HasFocus | QStyle::State_Editing))) return false;
    const QWidget* widget = cell.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    const QRect textRect = ItemTextArea(cell, cell.rect);

    if (!fitsSurely(cell.text, cell.font, textRect.width())) return false;

    painter->save();
    painter->setClipRect(cell.rect, Qt::IntersectClip);
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &cell, painter, widget);
    if (!cell.text.isEmpty()) {
        painter->setPen(ItemTextColour(cell));
        painter->setFont(cell.font);
        DrawItemTextLine(*painter, cell, textRect, cell.text);
    }
    painter->restore();
    return true;
}

}  // namespace qlmib::ui::qt
