#pragma once
// Paints and sizes the cells of a grid view: the focus rectangle and the
// highlight as the grid's settings say, each row at the grid's height for
// it, and a plain one-line cell with one text layout instead of the style's
// two (a table page is all new cells). Thread affinity: the GUI thread.

#include <QFont>
#include <QStyledItemDelegate>
#include <array>
#include <utility>
#include <vector>

namespace qlmib::ui {
class GridModel;
}

namespace qlmib::ui::qt {

class QtGridWidget;

class GridItemDelegate : public QStyledItemDelegate {
public:
    GridItemDelegate(const QtGridWidget& owner, const GridModel& grid, QObject* parent);

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    // Draws a cell with text alone; false when the style must draw it.
    bool paintPlainText(QPainter* painter, const QStyleOptionViewItem& option) const;

    bool fitsSurely(const QString& text, const QFont& font, int width) const;

    const QtGridWidget& owner_;
    const GridModel& grid_;
    mutable std::vector<std::pair<QFont, std::array<qreal, 128>>> widths_;
};

}  // namespace qlmib::ui::qt
