#include "QtGridWidget.h"

#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTableView>
#include <QTreeView>
#include <QVBoxLayout>

#include <utility>

#include "Conversions.h"
#include "GridItemDelegate.h"
#include "GridItemModel.h"
#include "qlmib/ui/GridView.h"
#include "qlmib/ui/InputCodes.h"
#include "qlmib/ui/Toolkit.h"

namespace qlmib::ui::qt {
namespace {

constexpr double kTwipsPerInch = 1440.0;

// Letters, digits and the named keys share their numbers with Qt's; the rest are mapped.
std::int16_t keyCode(int key) {
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z))
        return static_cast<std::int16_t>(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return static_cast<std::int16_t>(112 + key - Qt::Key_F1);
    switch (key) {
        case Qt::Key_Backspace: return KeyBack;
        case Qt::Key_Tab: return KeyTab;
        case Qt::Key_Return:
        case Qt::Key_Enter: return KeyReturn;
        case Qt::Key_Shift: return KeyShift;
        case Qt::Key_Control: return KeyControl;
        case Qt::Key_Alt: return KeyMenu;
        case Qt::Key_Escape: return KeyEscape;
        case Qt::Key_Space: return KeySpace;
        case Qt::Key_PageUp: return KeyPageUp;
        case Qt::Key_PageDown: return KeyPageDown;
        case Qt::Key_End: return KeyEnd;
        case Qt::Key_Home: return KeyHome;
        case Qt::Key_Left: return KeyArrowLeft;
        case Qt::Key_Up: return KeyArrowUp;
        case Qt::Key_Right: return KeyArrowRight;
        case Qt::Key_Down: return KeyArrowDown;
        case Qt::Key_Insert: return KeyInsert;
        case Qt::Key_Delete: return KeyDelete;
        default: return 0;
    }
}

// Sets a flag for the lifetime of a scope, so that the view's signals raised
// by our own changes are not taken for user input.
class Guard {
public:
    explicit Guard(bool& flag) : flag_(flag), old_(flag) { flag_ = true; }
    ~Guard() { flag_ = old_; }
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;

private:
    bool& flag_;
    bool old_;
};

}  // namespace

QtGridWidget::QtGridWidget(GridView& view, Toolkit& /*toolkit*/, QWidget* parent)
    : QWidget(parent), view_(&view), grid_(&view.model()) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    createView();
    viewChanged_ = view.Changed.subscribe([this] {
        if (model_) model_->setImages(view_->getImages());
    });
    viewDestroying_ = view.Destroying.subscribe([this] { releaseGrid(); });
}

QtGridWidget::~QtGridWidget() { releaseGrid(); }

// The grid goes away with its view: nothing may reach it afterwards.
void QtGridWidget::releaseGrid() {
    if (!grid_) return;
    dropView();
    grid_->removeObserver(this);
    grid_ = nullptr;
    view_ = nullptr;
    viewChanged_ = {};
    viewDestroying_ = {};
}

int QtGridWidget::toPixelsX(std::int32_t twips) const { return qRound(twips * logicalDpiX() / kTwipsPerInch); }
int QtGridWidget::toPixelsY(std::int32_t twips) const { return qRound(twips * logicalDpiY() / kTwipsPerInch); }
float QtGridWidget::toTwipsX(int pixels) const { return static_cast<float>(pixels * kTwipsPerInch / logicalDpiX()); }
float QtGridWidget::toTwipsY(int pixels) const { return static_cast<float>(pixels * kTwipsPerInch / logicalDpiY()); }

// The view is forgotten before it is deleted: its destructor still sends
// events through our filter.
void QtGridWidget::dropView() {
    closeEditor();
    redrawOff_ = false;
    snapshot_ = {};
    auto* view = std::exchange(itemView_, nullptr);
    viewport_ = nullptr;
    tree_ = nullptr;
    table_ = nullptr;
    delete view;
    delete std::exchange(model_, nullptr);
}

void QtGridWidget::createView() {
    dropView();
    shownOutlineBar_ = grid_->getOutlineBar();
    const bool tree = shownOutlineBar_ != OutlineBarNone;
    model_ = new GridItemModel(*grid_, tree ? GridItemModel::Mode::Tree : GridItemModel::Mode::Table, this);
    model_->setImages(view_->getImages());
    // The widget hears of a change after the item model has announced it.
    grid_->removeObserver(this);
    grid_->addObserver(this);
    QHeaderView* header = nullptr;
    if (tree) {
        tree_ = new QTreeView(this);
        // While every row has the grid's default height the view lays out
        // large trees fast; a row of its own height ends that (syncRows).
        tree_->setUniformRowHeights(true);
        tree_->setExpandsOnDoubleClick(false);
        tree_->setRootIsDecorated(true);
        tree_->setIndentation(std::max(toPixelsX(GridModel::kOutlineIndent), 8));
        tree_->setItemsExpandable(true);
        itemView_ = tree_;
        header = tree_->header();
        header->setStretchLastSection(false);
        // Only the rows in view are measured when the tree column grows.
        header->setResizeContentsPrecision(0);
        connect(tree_, &QTreeView::expanded, this, [this](const QModelIndex& i) {
            fitTreeColumnSoon();
            viewExpandedChanged(i, true);
        });
        connect(tree_, &QTreeView::collapsed, this, [this](const QModelIndex& i) { viewExpandedChanged(i, false); });
    } else {
        table_ = new QTableView(this);
        table_->setWordWrap(false);
        table_->setCornerButtonEnabled(false);
        table_->verticalHeader()->setMinimumSectionSize(1);
        table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        itemView_ = table_;
        header = table_->horizontalHeader();
    }
    itemView_->setItemDelegate(new GridItemDelegate(*this, *grid_, itemView_));
    itemView_->setModel(model_);
    itemView_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    itemView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    itemView_->setDragEnabled(false);
    itemView_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    header->setSectionsClickable(true);
    header->setMinimumSectionSize(1);
    layout()->addWidget(itemView_);
    viewport_ = itemView_->viewport();
    viewport_->installEventFilter(this);
    viewport_->setMouseTracking(true);
    itemView_->installEventFilter(this);
    connect(itemView_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { viewCurrentChanged(current); });
    connect(header, &QHeaderView::sectionClicked, this, [this](int section) { headerClicked(section); });
    connect(header, &QHeaderView::sectionMoved, this,
            [this](int logical, int from, int to) { headerMoved(logical, from, to); });
    connect(itemView_->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { scrolled(); });
    connect(itemView_->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (redrawOff_) takeSnapshot();
    });
    if (table_) {
        // Rows reach a table view when the item model announces them, which
        // may be later than the grid adds them (redraw off).
        connect(model_, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex&, int first, int last) {
            const auto fixed = grid_->getFixedRows();
            rowsArrived(first + fixed, last - first + 1);
        });
    }
    syncAll();
}

// ---- Reading the grid into the view

void QtGridWidget::syncAll() {
    Guard guard(syncing_);
    syncLook();
    if (grid_->getCols() > 0) syncColumns(0, grid_->getCols() - 1);
    fitTreeColumnSoon();
    if (grid_->getRows() > 0) syncRows(0, grid_->getRows() - 1);
    syncCurrent();
}

void QtGridWidget::syncLook() {
    const auto& font = grid_->getFont();
    itemView_->setFont(QFont(QString::fromStdString(font.Name), font.Size));
    const auto bar = grid_->getExplorerBar();
    QHeaderView* header = tree_ ? tree_->header() : table_->horizontalHeader();
    header->setSectionsMovable((bar & ExplorerBarMove) != 0);
    header->setSortIndicatorShown(false);
    if (table_) {
        // A new default size resets every row's own height: those come back after it.
        const auto rowHeight = std::max(toPixelsY(grid_->DefaultRowHeight()), 1);
        if (table_->verticalHeader()->defaultSectionSize() != rowHeight) {
            table_->verticalHeader()->setDefaultSectionSize(rowHeight);
            if (grid_->getRows() > 0) syncRows(0, grid_->getRows() - 1);
        }
        table_->verticalHeader()->setVisible(grid_->getFixedCols() > 0);
        table_->horizontalHeader()->setVisible(grid_->getFixedRows() > 0);
    } else {
        tree_->setHeaderHidden(grid_->getFixedRows() == 0);
    }
    const bool off = grid_->getRedraw() == RedrawNone;
    if (off && !redrawOff_) freeze();
    else if (!off && redrawOff_) thaw();
    else if (!off) itemView_->viewport()->update();
}

void QtGridWidget::freeze() {
    redrawOff_ = true;
    takeSnapshot();
}

// Before its picture was taken the view painted live: nothing shown is stale.
void QtGridWidget::thaw() {
    redrawOff_ = false;
    if (std::exchange(snapshot_, {}).isNull()) return;
    itemView_->update();
    for (auto* part : itemView_->findChildren<QWidget*>()) part->update();
}

// The view paints live until its first picture is taken.
void QtGridWidget::takeSnapshot() {
    if (snapshotPosted_) return;
    snapshotPosted_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            snapshotPosted_ = false;
            if (!redrawOff_ || !itemView_ || !itemView_->isVisible()) return;
            // Rows announced since the last layout are laid out first.
            itemView_->indexAt(QPoint());
            snapshot_ = {};  // the grab must paint live, not from the old picture
            snapshot_ = itemView_->grab();
            // Every part of the view (viewport, headers, scroll bars) paints its piece of it.
            for (auto* part : itemView_->findChildren<QWidget*>()) part->installEventFilter(this);
        },
        Qt::QueuedConnection);
}

bool QtGridWidget::paintSnapshot(QObject* watched) {
    auto* part = qobject_cast<QWidget*>(watched);
    if (!redrawOff_ || snapshot_.isNull() || !part || (part != itemView_ && !itemView_->isAncestorOf(part))) return false;
    if (editor_ && (part == editor_ || editor_->isAncestorOf(part))) return false;
    if (snapshot_.deviceIndependentSize().toSize() != itemView_->size()) {
        takeSnapshot();
        return false;
    }
    const auto dpr = snapshot_.devicePixelRatio();
    const QRectF source(QPointF(part->mapTo(itemView_, QPoint(0, 0))) * dpr, QSizeF(part->size()) * dpr);
    QPainter painter(part);
    painter.drawPixmap(QRectF(QPointF(0, 0), QSizeF(part->size())), snapshot_, source);
    return true;
}

// Deep nodes' names are not cut: the tree column grows to the widest row in
// view (the grid's width stays as set), and a horizontal scroll bar appears
// when it outgrows the view.
void QtGridWidget::fitTreeColumnSoon() {
    if (!tree_ || treeFitPosted_) return;
    treeFitPosted_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            treeFitPosted_ = false;
            if (!tree_) return;
            auto* header = tree_->header();
            constexpr int treeColumn = 0;
            if (header->count() == 0 || header->isSectionHidden(treeColumn)) return;
            // Through the base class, where it is public; the tree view adds the indentation.
            const int wanted = itemView_->sizeHintForColumn(treeColumn);
            if (wanted > header->sectionSize(treeColumn)) header->resizeSection(treeColumn, wanted);
        },
        Qt::QueuedConnection);
}

void QtGridWidget::syncColumns(std::int32_t first, std::int32_t last) {
    QHeaderView* header = tree_ ? tree_->header() : table_->horizontalHeader();
    for (auto c = first; c <= last && c < grid_->getCols(); ++c) {
        const int section = model_->section(c);
        if (section < 0) continue;
        header->setSectionHidden(section, grid_->getColHidden(c));
        const auto width = grid_->getColWidth(c);
        header->resizeSection(section, width < 0 ? header->defaultSectionSize() : std::max(toPixelsX(width), 1));
    }
}

void QtGridWidget::syncRows(std::int32_t first, std::int32_t last) {
    const auto defaultHeight = grid_->DefaultRowHeight();
    for (auto r = std::max(first, grid_->getFixedRows()); r <= last && r < grid_->getRows(); ++r) {
        const auto index = model_->indexOf(r, grid_->getFixedCols());
        if (!index.isValid() && grid_->getCols() > grid_->getFixedCols()) continue;
        if (table_) {
            const int qtRow = r - grid_->getFixedRows();
            if (qtRow >= model_->rowCount()) break;
            if (table_->isRowHidden(qtRow) != grid_->getRowHidden(r)) table_->setRowHidden(qtRow, grid_->getRowHidden(r));
            const auto height = grid_->getRowHeight(r);
            if (height != defaultHeight) table_->setRowHeight(qtRow, std::max(toPixelsY(height), 1));
        } else {
            if (tree_->isRowHidden(index.row(), index.parent()) != grid_->getRowHidden(r))
                tree_->setRowHidden(index.row(), index.parent(), grid_->getRowHidden(r));
            if (tree_->uniformRowHeights() && grid_->getRowHeight(r) != defaultHeight)
                tree_->setUniformRowHeights(false);
        }
    }
    syncExpanded(first, last);
}

// Nodes open in the view exactly when they are open in the grid. A parent
// must be expanded before its children can show, so rows go top-down.
void QtGridWidget::syncExpanded(std::int32_t first, std::int32_t last) {
    if (!tree_) return;
    Guard guard(syncing_);
    for (auto r = std::max(first, grid_->getFixedRows()); r <= last && r < grid_->getRows(); ++r) {
        if (!grid_->HasChildren(r)) continue;
        const auto index = model_->indexOf(r, grid_->getFixedCols());
        if (!index.isValid()) continue;
        const bool open = !grid_->getIsCollapsed(r);
        if (tree_->isExpanded(index) != open) tree_->setExpanded(index, open);
    }
}

void QtGridWidget::syncCurrent() {
    // With redraw off the current cell waits for redraw to come back on
    // (appearanceChanged): moving it makes Qt lay out every row, once per
    // row that a walk adds.
    if (grid_->getRedraw() == RedrawNone) return;
    Guard guard(syncing_);
    auto* selection = itemView_->selectionModel();
    const auto current = model_->indexOf(grid_->getRow(), std::max(grid_->getCol(), grid_->getFixedCols()));
    selection->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    const auto range = grid_->GetSelection();
    QItemSelection selected;
    // Without highlight nothing is selected in the view, which would still
    // paint a selected tree row's branch area.
    if (range.row1 >= 0 && grid_->getHighLight() != HighLightNever) {
        const auto col1 = std::max(range.col1, grid_->getFixedCols());
        if (table_) {
            selected.select(model_->indexOf(range.row1, col1), model_->indexOf(range.row2, range.col2));
        } else {
            // Tree rows of one selection may sit under different parents.
            for (auto r = range.row1; r <= range.row2; ++r)
                selected.select(model_->indexOf(r, col1), model_->indexOf(r, range.col2));
        }
    }
    selection->select(selected, QItemSelectionModel::ClearAndSelect);
}

// ---- Grid notifications

// A tree view hears of rows only when the item model has announced them as
// nodes, which the grid does right after the rows: until then Qt still holds
// the old rows, and asking it about them would reach rows that are gone.
void QtGridWidget::nodesInserted(std::int32_t parentRow, std::int32_t, std::int32_t) {
    fitTreeColumnSoon();
    // A node's first child makes it a parent, shown open unless collapsed.
    if (parentRow >= 0) syncExpanded(parentRow, parentRow);
    if (const auto rows = std::exchange(treeRowsInserted_, std::nullopt)) rowsArrived(rows->first, rows->second);
}

void QtGridWidget::rowsInserted(std::int32_t first, std::int32_t count) {
    if (tree_) treeRowsInserted_ = {first, count};
}

void QtGridWidget::rowsArrived(std::int32_t first, std::int32_t count) {
    syncRows(first, first + count - 1);
    if (grid_->getRow() >= first) syncCurrent();
}

void QtGridWidget::nodesRemoved(std::int32_t, std::int32_t, std::int32_t) {
    if (const auto first = std::exchange(treeRowsRemoved_, std::nullopt)) rowsLeft(*first);
}

void QtGridWidget::rowsRemoved(std::int32_t first, std::int32_t) {
    if (tree_) treeRowsRemoved_ = first;
    else rowsLeft(first);
}

void QtGridWidget::rowsLeft(std::int32_t first) {
    if (grid_->getRow() >= first - 1) syncCurrent();
}

void QtGridWidget::outlineReset() {
    treeRowsInserted_.reset();
    treeRowsRemoved_.reset();
    syncAll();
}

void QtGridWidget::layoutChanged() { syncAll(); }

void QtGridWidget::reset() {
    closeEditor();
    syncAll();
}

void QtGridWidget::rowsChanged(std::int32_t first, std::int32_t last) { syncRows(first, last); }

void QtGridWidget::columnsChanged(std::int32_t first, std::int32_t last) {
    syncColumns(first, last);
    fitTreeColumnSoon();
}

void QtGridWidget::currentCellChanged() { syncCurrent(); }

void QtGridWidget::selectionChanged() { syncCurrent(); }

void QtGridWidget::appearanceChanged() {
    if (grid_->getOutlineBar() != shownOutlineBar_ &&
        (grid_->getOutlineBar() == OutlineBarNone || shownOutlineBar_ == OutlineBarNone)) {
        createView();
        return;
    }
    shownOutlineBar_ = grid_->getOutlineBar();
    Guard guard(syncing_);
    syncLook();
    syncCurrent();
}

void QtGridWidget::scrollTo(std::int32_t row, std::int32_t col) {
    if (syncing_) return;
    Guard guard(syncing_);
    const auto index = model_->indexOf(row, std::max(col, grid_->getFixedCols()));
    if (index.isValid()) itemView_->scrollTo(index);
}

void QtGridWidget::editStarted() {
    closeEditor();
    const auto r = grid_->getEditRow(), c = grid_->getEditCol();
    const auto index = model_->indexOf(r, c);
    if (!index.isValid()) return;
    itemView_->scrollTo(index);
    QWidget* editor = nullptr;
    if (!grid_->ComboItems().empty()) {
        auto* combo = new QComboBox(itemView_->viewport());
        for (const auto& item : grid_->ComboItems()) combo->addItem(QString::fromStdString(item.text));
        combo->setCurrentIndex(grid_->getComboIndex());
        connect(combo, &QComboBox::activated, this, [this](int chosen) {
            if (grid_ && grid_->getEditing()) grid_->setComboIndex(chosen);
        });
        editor = combo;
    } else {
        auto* line = new QLineEdit(itemView_->viewport());
        line->setText(QString::fromStdString(grid_->getEditText()));
        line->selectAll();
        connect(line, &QLineEdit::textEdited, this, [this](const QString& text) {
            if (grid_ && grid_->getEditing()) grid_->setEditText(text.toStdString());
        });
        editor = line;
    }
    editor->setFont(itemView_->font());
    editor->setGeometry(itemView_->visualRect(index));
    editor->installEventFilter(this);
    editor->show();
    editor->setFocus();
    editor_ = editor;
}

void QtGridWidget::editEnded() { closeEditor(); }

void QtGridWidget::closeEditor() {
    if (!editor_ || closingEditor_) return;
    Guard guard(closingEditor_);
    QWidget* editor = editor_;
    editor_ = nullptr;
    editor->removeEventFilter(this);
    // The view takes the focus first: a focused widget that hides passes it
    // on as a Tab would, which moves the view's current cell.
    if (itemView_) itemView_->setFocus();
    editor->hide();
    editor->deleteLater();
}

void QtGridWidget::commitEditor() {
    if (!editor_ || !grid_->getEditing()) return;
    if (auto* line = qobject_cast<QLineEdit*>(editor_.data())) grid_->setEditText(line->text().toStdString());
    grid_->CommitEdit();
}

// ---- Input

bool QtGridWidget::eventFilter(QObject* watched, QEvent* event) {
    if (!grid_) return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::Paint && paintSnapshot(watched)) return true;
    if (editor_ && watched == editor_) {
        if (event->type() == QEvent::KeyPress) {
            const auto key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                commitEditor();
                return true;
            }
            if (key == Qt::Key_Escape) {
                grid_->CancelEdit();
                return true;
            }
        } else if (event->type() == QEvent::FocusOut && !closingEditor_) {
            // A drop-down's own list takes the focus while open: not an end of editing.
            auto* combo = qobject_cast<QComboBox*>(editor_.data());
            if (!combo || !combo->view()->isVisible()) commitEditor();
        }
        return QWidget::eventFilter(watched, event);
    }
    // Compared by pointer: a view being destroyed is no longer a scroll area to ask.
    if (viewport_ && watched == viewport_) {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
                mousePressed(static_cast<QMouseEvent*>(event));
                return true;
            case QEvent::MouseButtonDblClick:
                mouseDoubleClicked(static_cast<QMouseEvent*>(event));
                return true;
            case QEvent::MouseMove:
                mouseMoved(static_cast<QMouseEvent*>(event));
                return false;
            default:
                return false;
        }
    }
    if (watched == itemView_ && event->type() == QEvent::KeyPress) return keyPressed(static_cast<QKeyEvent*>(event));
    return QWidget::eventFilter(watched, event);
}

void QtGridWidget::mousePressed(QMouseEvent* event) {
    itemView_->setFocus(Qt::MouseFocusReason);
    const auto pos = event->position().toPoint();
    const auto index = itemView_->indexAt(pos);
    const auto r = model_->gridRow(index), c = model_->gridCol(index);
    // A click on a node's button opens or closes it and touches nothing else.
    if (tree_ && index.isValid() && index.column() == 0 && model_->hasChildren(index.siblingAtColumn(0))) {
        const auto cell = tree_->visualRect(index);
        if (pos.x() < cell.left() && pos.x() >= cell.left() - tree_->indentation()) {
            grid_->ToggleNode(r);
            return;
        }
    }
    // The control sees the press before the current cell moves (a press
    // inside the selection may start a drag of it).
    const auto shift = ShiftOf(event->modifiers());
    grid_->UserMouseDown(ButtonOf(event->button()), shift, toTwipsX(pos.x()), toTwipsY(pos.y()), r, c);
    if (!grid_ || event->button() != Qt::LeftButton || r < 0 || c < 0) return;
    if ((shift & ShiftMask) && grid_->getRow() >= 0) grid_->Select(grid_->getRow(), grid_->getCol(), r, c);
    else grid_->Select(r, c);
}

void QtGridWidget::mouseDoubleClicked(QMouseEvent* event) {
    const auto index = itemView_->indexAt(event->position().toPoint());
    grid_->UserDoubleClick();
    if (!grid_ || !index.isValid() || grid_->getEditing() || grid_->getEditable() != EditableKeyboardMouse) return;
    grid_->EditCell(model_->gridRow(index), model_->gridCol(index));
}

void QtGridWidget::mouseMoved(QMouseEvent* event) {
    const auto index = itemView_->indexAt(event->position().toPoint());
    grid_->setMouseCell(model_->gridRow(index), model_->gridCol(index));
}

bool QtGridWidget::keyPressed(QKeyEvent* event) {
    auto code = keyCode(event->key());
    if (code != 0 && grid_->UserKeyDown(code, ShiftOf(event->modifiers())) == 0) return true;
    if (!grid_) return true;
    if (const auto ascii = KeyAsciiOf(event->key(), event->modifiers(), event->text()); ascii != 0) {
        if (grid_->UserKeyPress(ascii) == 0 || !grid_) return true;
        // Typed characters belong to the control: the view would search its items with them.
        if (ascii == AsciiCtrlC || ascii >= AsciiSpace) return true;
    }
    if (code == KeyF2 && grid_->getEditable() != EditableNone && !grid_->getEditing()) {
        grid_->EditCell();
        return true;
    }
    return false;  // navigation keys move the current cell through the view
}

void QtGridWidget::viewExpandedChanged(const QModelIndex& index, bool expanded) {
    if (syncing_) return;
    const auto r = model_->gridRow(index);
    // The grid decides (a handler may load children or refuse); the view follows it.
    {
        Guard guard(syncing_);
        tree_->setExpanded(index, !expanded);
    }
    if (grid_->getIsCollapsed(r) == expanded) grid_->ToggleNode(r);
}

void QtGridWidget::viewCurrentChanged(const QModelIndex& current) {
    if (syncing_ || !current.isValid()) return;
    const auto r = model_->gridRow(current), c = model_->gridCol(current);
    if (r != grid_->getRow() || c != grid_->getCol()) grid_->Select(r, c);
}

void QtGridWidget::headerClicked(int section) {
    if (syncing_ || !(grid_->getExplorerBar() & ExplorerBarSort)) return;
    grid_->UserSortByHeader(model_->gridCol(section));
}

void QtGridWidget::headerMoved(int logical, int oldVisual, int newVisual) {
    if (syncing_) return;
    QHeaderView* header = tree_ ? tree_->header() : table_->horizontalHeader();
    {
        // The grid moves the column's data; the view keeps its sections in order.
        Guard guard(syncing_);
        header->moveSection(newVisual, oldVisual);
    }
    grid_->UserMoveColumn(model_->gridCol(logical), model_->gridCol(newVisual));
}

void QtGridWidget::scrolled() {
    if (redrawOff_) takeSnapshot();
    fitTreeColumnSoon();
    if (syncing_) return;
    const auto top = model_->gridRow(itemView_->indexAt(QPoint(0, 0)));
    if (top < 0 || top == grid_->getTopRow()) return;
    Guard guard(syncing_);
    grid_->setTopRow(top);
}

}  // namespace qlmib::ui::qt
