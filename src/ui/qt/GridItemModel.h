#pragma once
// The Qt item model over a GridModel. It only maps indexes: every datum and
// rule stays in the GridModel, whose notifications it forwards as Qt's
// begin/end signals. As a tree, top-level items are the outline's top-level
// nodes below the fixed rows and an item's children are its node's children;
// as a table, items are the cells below the fixed rows and right of the fixed
// columns, and the fixed cells make the headers. Thread affinity: the GUI thread.

#include <QAbstractItemModel>
#include <QHash>
#include <QIcon>

#include "qlmib/ui/GridModel.h"

namespace qlmib::ui {
class ImageList;
}

namespace qlmib::ui::qt {

class GridItemModel : public QAbstractItemModel, private GridObserver {
    Q_OBJECT
public:
    enum class Mode { Tree, Table };

    GridItemModel(GridModel& grid, Mode mode, QObject* parent = nullptr);
    ~GridItemModel() override;

    GridModel& grid() const { return grid_; }
    Mode mode() const { return mode_; }
    // Pictures for the cells' picture keys (null: none). Not owned.
    void setImages(const ImageList* images);

    // The grid row and column of an item, and back (invalid for a fixed or
    // hidden-by-structure row, or a row not yet announced to Qt).
    std::int32_t gridRow(const QModelIndex& index) const;
    std::int32_t gridCol(const QModelIndex& index) const;
    std::int32_t gridCol(int section) const;
    int section(std::int32_t gridCol) const;
    QModelIndex indexOf(std::int32_t gridRow, std::int32_t gridCol) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    // What a pending GridModel change becomes in Qt, decided before it happens.
    // Deferred: rows appended, or removed among those appended, that Qt has
    // not been told of.
    enum class Pending { None, Insert, Remove, Reset, Deferred };

    void rowsAboutToBeInserted(std::int32_t first, std::int32_t count) override;
    void rowsInserted(std::int32_t first, std::int32_t count) override;
    void rowsAboutToBeRemoved(std::int32_t first, std::int32_t count) override;
    void rowsRemoved(std::int32_t first, std::int32_t count) override;
    void nodesAboutToBeInserted(std::int32_t parentRow, std::int32_t first, std::int32_t count) override;
    void nodesInserted(std::int32_t parentRow, std::int32_t first, std::int32_t count) override;
    void nodesAboutToBeRemoved(std::int32_t parentRow, std::int32_t first, std::int32_t count) override;
    void nodesRemoved(std::int32_t parentRow, std::int32_t first, std::int32_t count) override;
    void outlineAboutToReset() override;
    void outlineReset() override;
    void appearanceChanged() override;
    void layoutAboutToChange() override;
    void layoutChanged() override;
    void aboutToReset() override;
    void reset() override;
    void cellsChanged(const CellRange& cells) override;
    void rowsChanged(std::int32_t first, std::int32_t last) override;
    void columnsChanged(std::int32_t first, std::int32_t last) override;

    void beginChange(Pending kind, const QModelIndex& parent, int first, int last);
    // Rows that map into Qt (`mapped`) change as `kind`; others reset the model.
    void beginRows(Pending kind, bool mapped, const QModelIndex& parent, int qtFirst, std::int32_t count);
    void endChange();
    // Rows appended to a table while the grid's redraw is off reach Qt in one
    // range when redraw comes back on, or before any other change of rows:
    // Qt then lays out the view once per redraw instead of once per answer.
    // Until then the view shows the rows it had. Announces them now.
    void showAppendedRows();
    // Grid rows below the fixed rows: what a table shows once announced.
    std::int32_t tableRows() const;
    // Grid rows a table has announced to Qt, fixed rows included.
    std::int32_t announcedRows() const { return grid_.getFixedRows() + shownRows_; }
    // Top-level nodes that are fixed rows, which a tree does not show.
    std::int32_t fixedRoots() const;
    // The Qt parent and first Qt row of grid rows or nodes about to change;
    // false when the change touches fixed rows (the model then resets).
    bool tableSpan(std::int32_t first, int& qtFirst) const;
    bool treeSpan(std::int32_t parentRow, std::int32_t first, QModelIndex& parent, int& qtFirst) const;
    QIcon icon(const std::string& key) const;

    GridModel& grid_;
    Mode mode_;
    const ImageList* images_ = nullptr;
    mutable QHash<QString, QIcon> icons_;
    Pending pending_ = Pending::None;
    int shownRows_ = 0;  // table rows Qt knows of
    QModelIndexList layoutFrom_;
    std::vector<std::pair<std::uintptr_t, int>> layoutRows_;  // row ids and columns of layoutFrom_
};

}  // namespace qlmib::ui::qt
