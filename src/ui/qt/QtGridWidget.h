#pragma once
// A grid view on screen: a QTreeView when the grid shows an outline bar,
// else a QTableView, over a GridItemModel. It turns mouse, keyboard, header
// and scroll-bar input into the grid's User* calls and its other setters, so
// the control's events fire from real input, and shows the grid's look
// (fonts, column widths in twips, hidden rows and columns, focus rectangle,
// highlight, redraw off) and its in-cell editor. Thread affinity: the GUI thread.

#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include <optional>
#include <utility>

#include "qlmib/common/Event.h"
#include "qlmib/ui/GridModel.h"

class QAbstractItemView;
class QTreeView;
class QTableView;
class QComboBox;
class QLineEdit;

namespace qlmib::ui {
class GridView;
class Toolkit;
}  // namespace qlmib::ui

namespace qlmib::ui::qt {

class GridItemModel;

class QtGridWidget : public QWidget, private GridObserver {
    Q_OBJECT
public:
    // The controls reach the toolkit themselves (menus, drags); the widget
    // takes it so that every view is made the same way.
    QtGridWidget(ui::GridView& view, ui::Toolkit& toolkit, QWidget* parent = nullptr);
    ~QtGridWidget() override;

    // The Qt view now shown (a QTreeView or a QTableView) and its model.
    QAbstractItemView* itemView() const { return itemView_; }
    GridItemModel* itemModel() const { return model_; }
    // The open in-cell editor, if any: a QLineEdit or a QComboBox.
    QWidget* editor() const { return editor_; }

    // Twips and pixels at this widget's resolution.
    int toPixelsX(std::int32_t twips) const;
    int toPixelsY(std::int32_t twips) const;
    float toTwipsX(int pixels) const;
    float toTwipsY(int pixels) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createView();
    void dropView();
    void releaseGrid();
    void mousePressed(QMouseEvent* event);
    void mouseDoubleClicked(QMouseEvent* event);
    void mouseMoved(QMouseEvent* event);
    // Returns whether the view must not see the key.
    bool keyPressed(QKeyEvent* event);
    void viewExpandedChanged(const QModelIndex& index, bool expanded);
    void viewCurrentChanged(const QModelIndex& current);
    void headerClicked(int section);
    void headerMoved(int logical, int oldVisual, int newVisual);
    void scrolled();
    void commitEditor();
    void closeEditor();

    // Reads the grid into the view.
    void syncAll();
    void syncLook();
    void syncColumns(std::int32_t first, std::int32_t last);
    void syncRows(std::int32_t first, std::int32_t last);
    void syncExpanded(std::int32_t first, std::int32_t last);
    void syncCurrent();
    void fitTreeColumnSoon();
    // Redraw off: the view shows the picture it had at the end of the turn
    // in which redraw went off (after the control's own scrolling), so
    // repaints cost a copy and a grab is never blank.
    void freeze();
    void thaw();
    void takeSnapshot();
    // Paints a part of the frozen view from the picture; false when it paints itself.
    bool paintSnapshot(QObject* watched);

    // GridObserver: what the view must follow beyond the item model.
    void nodesInserted(std::int32_t parentRow, std::int32_t first, std::int32_t count) override;
    void rowsInserted(std::int32_t first, std::int32_t count) override;
    void rowsRemoved(std::int32_t first, std::int32_t count) override;
    void nodesRemoved(std::int32_t parentRow, std::int32_t first, std::int32_t count) override;
    void rowsArrived(std::int32_t first, std::int32_t count);
    void rowsLeft(std::int32_t first);
    void outlineReset() override;
    void layoutChanged() override;
    void reset() override;
    void rowsChanged(std::int32_t first, std::int32_t last) override;
    void columnsChanged(std::int32_t first, std::int32_t last) override;
    void currentCellChanged() override;
    void selectionChanged() override;
    void appearanceChanged() override;
    void scrollTo(std::int32_t row, std::int32_t col) override;
    void editStarted() override;
    void editEnded() override;

    GridView* view_;
    GridModel* grid_;
    GridItemModel* model_ = nullptr;
    QAbstractItemView* itemView_ = nullptr;
    QWidget* viewport_ = nullptr;
    // Rows a tree view takes in once the item model has announced them as nodes.
    std::optional<std::pair<std::int32_t, std::int32_t>> treeRowsInserted_;
    std::optional<std::int32_t> treeRowsRemoved_;  // itemView_'s, kept for the event filter
    QTreeView* tree_ = nullptr;
    QTableView* table_ = nullptr;
    QPointer<QWidget> editor_;
    bool syncing_ = false;
    bool closingEditor_ = false;
    std::int16_t shownOutlineBar_ = OutlineBarNone;
    bool redrawOff_ = false;
    bool snapshotPosted_ = false;
    bool treeFitPosted_ = false;
    QPixmap snapshot_;
    Subscription viewChanged_, viewDestroying_;
};

}  // namespace qlmib::ui::qt
