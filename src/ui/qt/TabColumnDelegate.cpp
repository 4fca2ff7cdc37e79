#include "TabColumnDelegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "ItemText.h"

namespace qlmib::ui::qt {
namespace {

constexpr QChar kTab = QLatin1Char('\t');

QStyle* StyleOf(const QStyleOptionViewItem& item) {
    return item.widget ? item.widget->style() : QApplication::style();
}

}  // namespace

TabColumnDelegate::TabColumnDelegate(QAbstractItemView& view) : QStyledItemDelegate(&view), model_(*view.model()) {
    // The list view lays itself out again after each of these, which asks
    // for the sizes and paints every row with the columns measured anew.
    const auto forget = [this] { measured_ = false; };
    connect(&model_, &QAbstractItemModel::rowsInserted, this, forget);
    connect(&model_, &QAbstractItemModel::rowsRemoved, this, forget);
    connect(&model_, &QAbstractItemModel::dataChanged, this, forget);
    connect(&model_, &QAbstractItemModel::modelReset, this, forget);
}

const QList<int>& TabColumnDelegate::columnStarts(const QFont& font) const {
    if (measured_ && font == measuredFont_) return starts_;
    const QFontMetrics metrics(font);
    QList<int> widths;
    for (int row = 0, rows = model_.rowCount(); row < rows; ++row) {
        const QStringList fields = model_.index(row, 0).data(Qt::DisplayRole).toString().split(kTab);
        if (widths.size() < fields.size() - 1) widths.resize(fields.size() - 1);
        for (qsizetype i = 0; i + 1 < fields.size(); ++i)
            widths[i] = std::max(widths[i], metrics.horizontalAdvance(fields[i]));
    }
    const int gap = 2 * metrics.averageCharWidth();
    starts_.clear();
    int start = 0;
    for (const int width : widths) starts_.append(start += width + gap);
    measuredFont_ = font;
    measured_ = true;
    return starts_;
}

QSize TabColumnDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const qsizetype tabs = item.text.count(kTab);
    if (tabs == 0) return QStyledItemDelegate::sizeHint(option, index);
    // The style's size for the last field alone, moved to the last column.
    const int lastStart = columnStarts(item.font)[tabs - 1];
    item.text = item.text.sliced(item.text.lastIndexOf(kTab) + 1);
    QSize size = StyleOf(item)->sizeFromContents(QStyle::CT_ItemViewItem, &item, QSize(), item.widget);
    size.rwidth() += lastStart;
    return size;
}

void TabColumnDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    if (!item.text.contains(kTab)) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyle* style = StyleOf(item);
    const QRect area = ItemTextArea(item, style->subElementRect(QStyle::SE_ItemViewItemText, &item, item.widget));
    const QStringList fields = item.text.split(kTab);
    const QList<int>& starts = columnStarts(item.font);

    // The style draws all but the text: background, highlight, icon, focus.
    item.text.clear();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);

    painter->save();
    painter->setClipRect(item.rect, Qt::IntersectClip);
    painter->setPen(ItemTextColour(item));
    painter->setFont(item.font);
    const QFontMetrics metrics(item.font);
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const int left = i == 0 ? 0 : starts[i - 1];
        const bool last = i + 1 == fields.size();
        const int right = last ? area.width() : starts[i];
        const QRect column(area.left() + left, area.top(), std::max(right - left, 0), area.height());
        const QString text = last ? metrics.elidedText(fields[i], item.textElideMode, column.width()) : fields[i];
        DrawItemTextLine(*painter, item, QStyle::visualRect(item.direction, area, column), text);
    }
    painter->restore();
}

}  // namespace qlmib::ui::qt
