#include "GridItemModel.h"

#include <QBrush>
#include <QFont>

#include "PictureIcon.h"
#include "qlmib/ui/ImageList.h"
#include "qlmib/ui/Utf8.h"

namespace qlmib::ui::qt {
namespace {

// Bytes that are not UTF-8 show as Latin-1, as everywhere in the library.
QString toQString(std::string_view text) {
    bool ascii = true;
    for (const char c : text) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii) return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    std::u32string points;
    for (std::size_t at = 0; at < text.size();) points += NextCodePoint(text, at);
    return QString::fromUcs4(points.data(), static_cast<qsizetype>(points.size()));
}

QColor toQColor(Color c) { return QColor(c.red, c.green, c.blue); }

// The alignment codes run left, centre, right in threes of top, centre, bottom.
Qt::Alignment toQtAlignment(std::int16_t code) {
    static constexpr Qt::Alignment horizontal[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    static constexpr Qt::Alignment vertical[] = {Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom};
    if (code < 0 || code > AlignRightBottom) code = AlignLeftCenter;
    return horizontal[code / 3] | vertical[code % 3];
}

}  // namespace

GridItemModel::GridItemModel(GridModel& grid, Mode mode, QObject* parent)
    : QAbstractItemModel(parent), grid_(grid), mode_(mode) {
    shownRows_ = tableRows();
    grid_.addObserver(this);
}

GridItemModel::~GridItemModel() { grid_.removeObserver(this); }

void GridItemModel::setImages(const ImageList* images) {
    images_ = images;
    icons_.clear();
    if (rowCount() > 0 && columnCount() > 0) Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

// ---- Mapping

std::int32_t GridItemModel::tableRows() const { return std::max(grid_.getRows() - grid_.getFixedRows(), 0); }

std::int32_t GridItemModel::fixedRoots() const {
    const auto fixed = grid_.getFixedRows();
    if (fixed == 0) return 0;
    // Top-level nodes stand in row order: find the first one below the fixed rows.
    std::int32_t lo = 0, hi = grid_.ChildCount(-1);
    while (lo < hi) {
        const auto mid = lo + (hi - lo) / 2;
        if (grid_.ChildRow(-1, mid) < fixed) lo = mid + 1;
        else hi = mid;
    }
    return lo;
}

std::int32_t GridItemModel::gridRow(const QModelIndex& index) const {
    if (!index.isValid()) return -1;
    if (mode_ == Mode::Table) return index.row() + grid_.getFixedRows();
    if (index.internalId() == 0) return grid_.ChildRow(-1, index.row() + fixedRoots());
    return grid_.ChildRow(grid_.RowOfId(index.internalId()), index.row());
}

std::int32_t GridItemModel::gridCol(int section) const { return section + grid_.getFixedCols(); }

std::int32_t GridItemModel::gridCol(const QModelIndex& index) const {
    return index.isValid() ? gridCol(index.column()) : -1;
}

int GridItemModel::section(std::int32_t gridCol) const { return gridCol - grid_.getFixedCols(); }

QModelIndex GridItemModel::indexOf(std::int32_t row, std::int32_t col) const {
    if (row < grid_.getFixedRows() || row >= grid_.getRows() || section(col) < 0 || col >= grid_.getCols())
        return {};
    if (mode_ == Mode::Table) {
        if (row >= announcedRows()) return {};
        return createIndex(row - grid_.getFixedRows(), section(col));
    }
    const auto parentRow = grid_.ParentRow(row);
    if (parentRow < 0) return createIndex(grid_.ChildIndex(row) - fixedRoots(), section(col), quintptr(0));
    if (parentRow < grid_.getFixedRows()) return {};
    return createIndex(grid_.ChildIndex(row), section(col), quintptr(grid_.RowId(parentRow)));
}

QModelIndex GridItemModel::index(int row, int column, const QModelIndex& parent) const {
    if (row < 0 || column < 0 || row >= rowCount(parent) || column >= columnCount(parent)) return {};
    if (mode_ == Mode::Table || !parent.isValid()) return createIndex(row, column, quintptr(0));
    return createIndex(row, column, quintptr(grid_.RowId(gridRow(parent))));
}

QModelIndex GridItemModel::parent(const QModelIndex& child) const {
    if (mode_ == Mode::Table || !child.isValid() || child.internalId() == 0) return {};
    return indexOf(grid_.RowOfId(child.internalId()), gridCol(0));
}

int GridItemModel::rowCount(const QModelIndex& parent) const {
    if (mode_ == Mode::Table) return parent.isValid() ? 0 : shownRows_;
    if (!parent.isValid()) return grid_.ChildCount(-1) - fixedRoots();
    if (parent.column() != 0) return 0;
    return grid_.ChildCount(gridRow(parent));
}

int GridItemModel::columnCount(const QModelIndex& parent) const {
    if (mode_ == Mode::Table && parent.isValid()) return 0;
    return std::max(grid_.getCols() - grid_.getFixedCols(), 0);
}

bool GridItemModel::hasChildren(const QModelIndex& parent) const {
    return rowCount(parent) > 0 && columnCount(parent) > 0;
}

// ---- Data

QIcon GridItemModel::icon(const std::string& key) const {
    const auto name = QString::fromStdString(key);
    if (const auto found = icons_.constFind(name); found != icons_.constEnd()) return *found;
    QIcon made;
    if (images_ && images_->Exists(key)) made = PictureIcon(images_->Item(key));
    icons_.insert(name, made);
    return made;
}

QVariant GridItemModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const auto r = gridRow(index), c = gridCol(index);
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return toQString(grid_.getTextMatrix(r, c));
        case Qt::DecorationRole: {
            const auto& key = grid_.getCellPicture(r, c);
            if (key.empty()) return {};
            const auto found = icon(key);
            return found.isNull() ? QVariant() : QVariant(found);
        }
        case Qt::ForegroundRole:
            if (const auto color = grid_.getCellForeColor(r, c)) return QBrush(toQColor(*color));
            return {};
        case Qt::BackgroundRole:
            if (const auto color = grid_.getCellBackColor(r, c)) return QBrush(toQColor(*color));
            return {};
        case Qt::FontRole: {
            if (!grid_.getCellFontBold(r, c)) return {};
            QFont font(QString::fromStdString(grid_.getFont().Name), grid_.getFont().Size);
            font.setBold(true);
            return font;
        }
        case Qt::TextAlignmentRole:
            // As an int: Qt 6.4's delegate reads the alignment with toInt().
            return static_cast<int>(toQtAlignment(grid_.DisplayAlignment(r, c)));
        default:
            return {};
    }
}

QVariant GridItemModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole && role != Qt::TextAlignmentRole) return {};
    QStringList lines;
    std::int32_t alignmentRow = 0, alignmentCol = 0;
    if (orientation == Qt::Horizontal) {
        const auto c = gridCol(section);
        if (section < 0 || c >= grid_.getCols()) return {};
        for (std::int32_t r = 0; r < grid_.getFixedRows() && r < grid_.getRows(); ++r)
            lines << toQString(grid_.getTextMatrix(r, c));
        alignmentCol = c;
    } else {
        if (mode_ == Mode::Tree) return {};
        const auto r = section + grid_.getFixedRows();
        if (section < 0 || r >= grid_.getRows()) return {};
        for (std::int32_t c = 0; c < grid_.getFixedCols() && c < grid_.getCols(); ++c)
            lines << toQString(grid_.getTextMatrix(r, c));
        alignmentRow = r;
    }
    if (role == Qt::TextAlignmentRole) {
        if (lines.isEmpty()) return {};
        return static_cast<int>(toQtAlignment(grid_.DisplayAlignment(alignmentRow, alignmentCol)));
    }
    if (lines.isEmpty()) return orientation == Qt::Vertical ? QVariant(section + 1) : QVariant();
    return lines.join(orientation == Qt::Horizontal ? QStringLiteral("\n") : QStringLiteral(" "));
}

Qt::ItemFlags GridItemModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (mode_ == Mode::Tree && index.column() == 0 && rowCount(index) == 0) flags |= Qt::ItemNeverHasChildren;
    return flags;
}

// ---- Notifications

void GridItemModel::beginChange(Pending kind, const QModelIndex& parent, int first, int last) {
    pending_ = kind;
    switch (kind) {
        case Pending::Insert: beginInsertRows(parent, first, last); break;
        case Pending::Remove: beginRemoveRows(parent, first, last); break;
        case Pending::Reset: beginResetModel(); break;
        case Pending::None:
        case Pending::Deferred: break;
    }
}

void GridItemModel::endChange() {
    const auto kind = pending_;
    pending_ = Pending::None;
    // Every row of the grid is announced once a change of rows ends (the
    // deferred ones were announced before it began), except deferred appends.
    if (mode_ == Mode::Table && kind != Pending::Deferred) shownRows_ = tableRows();
    switch (kind) {
        case Pending::Insert: endInsertRows(); break;
        case Pending::Remove: endRemoveRows(); break;
        case Pending::Reset: endResetModel(); break;
        case Pending::None:
        case Pending::Deferred: break;
    }
}

void GridItemModel::showAppendedRows() {
    if (mode_ != Mode::Table || pending_ != Pending::None) return;
    const auto rows = tableRows();
    if (rows <= shownRows_) return;
    beginInsertRows({}, shownRows_, rows - 1);
    shownRows_ = rows;
    endInsertRows();
}

void GridItemModel::appearanceChanged() {
    if (grid_.getRedraw() != RedrawNone) showAppendedRows();
}

bool GridItemModel::tableSpan(std::int32_t first, int& qtFirst) const {
    qtFirst = first - grid_.getFixedRows();
    return qtFirst >= 0;
}

bool GridItemModel::treeSpan(std::int32_t parentRow, std::int32_t first, QModelIndex& parent, int& qtFirst) const {
    if (parentRow < 0) {
        // A change among the fixed rows moves rows into or out of the header.
        const auto roots = grid_.ChildCount(-1);
        const auto firstRow = first < roots ? grid_.ChildRow(-1, first) : grid_.getRows();
        if (firstRow < grid_.getFixedRows()) return false;
        qtFirst = first - fixedRoots();
        parent = {};
        return qtFirst >= 0;
    }
    if (parentRow < grid_.getFixedRows()) return false;
    parent = indexOf(parentRow, gridCol(0));
    qtFirst = first;
    return parent.isValid() || columnCount() == 0;
}

void GridItemModel::beginRows(Pending kind, bool mapped, const QModelIndex& parent, int qtFirst, std::int32_t count) {
    if (mapped && columnCount() > 0) beginChange(kind, parent, qtFirst, qtFirst + count - 1);
    else beginChange(Pending::Reset, {}, 0, 0);
}

void GridItemModel::rowsAboutToBeInserted(std::int32_t first, std::int32_t count) {
    if (mode_ != Mode::Table) return;
    if (grid_.getRedraw() == RedrawNone && first == grid_.getRows() && first >= grid_.getFixedRows()) {
        pending_ = Pending::Deferred;
        return;
    }
    showAppendedRows();
    int qtFirst = 0;
    const bool mapped = tableSpan(first, qtFirst);
    beginRows(Pending::Insert, mapped, {}, qtFirst, count);
}

void GridItemModel::rowsInserted(std::int32_t, std::int32_t) {
    if (mode_ == Mode::Table) endChange();
}

void GridItemModel::rowsAboutToBeRemoved(std::int32_t first, std::int32_t count) {
    if (mode_ != Mode::Table) return;
    if (first >= announcedRows()) {
        pending_ = Pending::Deferred;
        return;
    }
    showAppendedRows();
    int qtFirst = 0;
    const bool mapped = tableSpan(first, qtFirst);
    beginRows(Pending::Remove, mapped, {}, qtFirst, count);
}

void GridItemModel::rowsRemoved(std::int32_t, std::int32_t) {
    if (mode_ == Mode::Table) endChange();
}

void GridItemModel::nodesAboutToBeInserted(std::int32_t parentRow, std::int32_t first, std::int32_t count) {
    if (mode_ != Mode::Tree) return;
    QModelIndex parent;
    int qtFirst = 0;
    const bool mapped = treeSpan(parentRow, first, parent, qtFirst);
    beginRows(Pending::Insert, mapped, parent, qtFirst, count);
}

void GridItemModel::nodesInserted(std::int32_t, std::int32_t, std::int32_t) {
    if (mode_ == Mode::Tree) endChange();
}

void GridItemModel::nodesAboutToBeRemoved(std::int32_t parentRow, std::int32_t first, std::int32_t count) {
    if (mode_ != Mode::Tree) return;
    QModelIndex parent;
    int qtFirst = 0;
    const bool mapped = treeSpan(parentRow, first, parent, qtFirst);
    beginRows(Pending::Remove, mapped, parent, qtFirst, count);
}

void GridItemModel::nodesRemoved(std::int32_t, std::int32_t, std::int32_t) {
    if (mode_ == Mode::Tree) endChange();
}

void GridItemModel::outlineAboutToReset() {
    if (mode_ == Mode::Tree) beginChange(Pending::Reset, {}, 0, 0);
}

void GridItemModel::outlineReset() {
    if (mode_ == Mode::Tree) endChange();
}

void GridItemModel::aboutToReset() { beginResetModel(); }

void GridItemModel::reset() {
    icons_.clear();
    shownRows_ = tableRows();
    endResetModel();
}

// Rows keep their identity through a layout change: each persistent index is
// found again from its row's id.
void GridItemModel::layoutAboutToChange() {
    showAppendedRows();
    Q_EMIT layoutAboutToBeChanged();
    layoutFrom_ = persistentIndexList();
    layoutRows_.clear();
    layoutRows_.reserve(static_cast<size_t>(layoutFrom_.size()));
    for (const auto& from : layoutFrom_) layoutRows_.emplace_back(grid_.RowId(gridRow(from)), from.column());
}

void GridItemModel::layoutChanged() {
    QModelIndexList to;
    to.reserve(layoutFrom_.size());
    for (const auto& [id, column] : layoutRows_) to << indexOf(grid_.RowOfId(id), gridCol(column));
    changePersistentIndexList(layoutFrom_, to);
    layoutFrom_.clear();
    layoutRows_.clear();
    Q_EMIT QAbstractItemModel::layoutChanged();
}

void GridItemModel::cellsChanged(const CellRange& changed) {
    // Only the fixed cells are headers; the rest are items, mapped one block at a time.
    if (changed.row1 < grid_.getFixedRows()) {
        columnsChanged(changed.col1, changed.col2);
        return;
    }
    // Rows Qt has not been told of are read when they are announced.
    auto cells = changed;
    if (mode_ == Mode::Table) cells.row2 = std::min(cells.row2, announcedRows() - 1);
    if (cells.row1 > cells.row2) return;
    if (section(cells.col2) < 0) {
        if (mode_ == Mode::Table)
            Q_EMIT headerDataChanged(Qt::Vertical, cells.row1 - grid_.getFixedRows(), cells.row2 - grid_.getFixedRows());
        return;
    }
    const auto col1 = std::max(cells.col1, grid_.getFixedCols());
    if (mode_ == Mode::Table) {
        Q_EMIT dataChanged(indexOf(cells.row1, col1), indexOf(cells.row2, cells.col2));
        return;
    }
    for (auto r = cells.row1; r <= cells.row2; ++r) {
        const auto first = indexOf(r, col1);
        if (first.isValid()) Q_EMIT dataChanged(first, indexOf(r, cells.col2));
    }
}

void GridItemModel::rowsChanged(std::int32_t first, std::int32_t last) {
    // Heights and hidden flags are the view's business; a change of levels
    // came as a layout change. Row data may still look different (a level
    // moves the outline column's text), so the cells are repainted.
    if (columnCount() == 0) return;
    const auto from = std::max(first, grid_.getFixedRows());
    if (mode_ == Mode::Table) last = std::min(last, announcedRows() - 1);
    if (from > last) return;
    if (mode_ == Mode::Table) {
        Q_EMIT dataChanged(indexOf(from, grid_.getFixedCols()), indexOf(last, grid_.getCols() - 1));
        return;
    }
    // The tree repaints only visible rows; one signal per row keeps parents right.
    if (last - from > 1000) {
        Q_EMIT layoutAboutToBeChanged();
        Q_EMIT QAbstractItemModel::layoutChanged();
        return;
    }
    for (auto r = from; r <= last; ++r) {
        const auto left = indexOf(r, grid_.getFixedCols());
        if (left.isValid()) Q_EMIT dataChanged(left, indexOf(r, grid_.getCols() - 1));
    }
}

void GridItemModel::columnsChanged(std::int32_t first, std::int32_t last) {
    const auto from = std::max(section(first), 0), to = section(last);
    if (to >= from) Q_EMIT headerDataChanged(Qt::Horizontal, from, to);
}

}  // namespace qlmib::ui::qt
