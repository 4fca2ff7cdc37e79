#pragma once
// Paints the items of a list view whose texts hold tab-separated fields in
// columns: each column as wide as its widest field among all items, plus a
// gap, so that fields line up whatever their length (Qt's own tab stops are
// a fixed distance apart). Texts without a tab are the style's, untouched.
// The columns are measured again, once, after the items or the font change.
// Thread affinity: the GUI thread.

#include <QFont>
#include <QList>
#include <QStyledItemDelegate>

class QAbstractItemView;

namespace qlmib::ui::qt {

class TabColumnDelegate : public QStyledItemDelegate {
public:
    // Serves `view` and its model, which must be set already and stay.
    explicit TabColumnDelegate(QAbstractItemView& view);

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    // Left edge of each column after the first, from the start of the text.
    const QList<int>& columnStarts(const QFont& font) const;

    const QAbstractItemModel& model_;
    mutable QList<int> starts_;
    mutable QFont measuredFont_;
    mutable bool measured_ = false;
};

}  // namespace qlmib::ui::qt
