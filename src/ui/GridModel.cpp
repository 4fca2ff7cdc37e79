#include "GridModel.h"

#include <algorithm>

#include "qlmib/common/Error.h"
#include "qlmib/common/Numbers.h"

namespace qlmib::ui {

struct GridModel::CellFormat {
    Variant data;
    std::optional<Color> fore, back;
    std::string picture;
    std::int16_t alignment = AlignGeneral;
    bool bold = false;
};

struct GridModel::Row {
    std::vector<Cell> cells;
    std::string key;
    Variant data;
    std::int32_t position = 0;  // index in rows_, kept current by renumber()
    std::int32_t height = -1;   // -1: the default height
    std::int16_t level = 0;
    bool collapsed = false;
    bool hidden = false;
    // Outline index: the nearest row above with a lower level, and the rows
    // whose parent this is, in row order.
    Row* parent = nullptr;
    std::vector<Row*> children;
    std::int32_t childIndex = 0;
};

namespace {

const std::string kEmptyText;
const Variant kEmptyVariant;

[[noreturn]] void outOfRange() { throw Error(ERR_SUBSCRIPT, "Subscript out of range"); }

int lowerAscii(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; }

int compareNoCase(std::string_view a, std::string_view b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const int x = lowerAscii(static_cast<unsigned char>(a[i]));
        const int y = lowerAscii(static_cast<unsigned char>(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

int sign(int c) { return c < 0 ? -1 : (c > 0 ? 1 : 0); }

int compareNumbers(double a, double b) { return a < b ? -1 : (b < a ? 1 : 0); }

int compareTexts(std::string_view a, std::string_view b, std::int16_t order) {
    switch (order) {
        case SortGenericAscending:
        case SortGenericDescending: {
            const auto x = WholeNumber(a);
            const auto y = WholeNumber(b);
            if (x && y) return compareNumbers(*x, *y);
            if (x.has_value() != y.has_value()) return x ? -1 : 1;
            return compareNoCase(a, b);
        }
        case SortNumericAscending:
        case SortNumericDescending:
            return compareNumbers(LeadingNumber(a), LeadingNumber(b));
        case SortStringNoCaseAscending:
        case SortStringNoCaseDescending:
            return compareNoCase(a, b);
        case SortStringAscending:
        case SortStringDescending:
            return sign(a.compare(b));
        default:
            return 0;
    }
}

bool descending(std::int16_t order) {
    return order == SortGenericDescending || order == SortNumericDescending ||
           order == SortStringNoCaseDescending || order == SortStringDescending;
}

// A bottom-up merge sort: stable, and safe with a comparison that a host
// callback makes inconsistent (std::stable_sort may then read out of range).
template <class Less>
void mergeSort(std::vector<std::int32_t>& items, Less less) {
    std::vector<std::int32_t> buffer(items.size());
    for (size_t width = 1; width < items.size(); width *= 2) {
        for (size_t lo = 0; lo < items.size(); lo += 2 * width) {
            const size_t mid = std::min(lo + width, items.size());
            const size_t hi = std::min(lo + 2 * width, items.size());
            size_t a = lo, b = mid, out = lo;
            while (a < mid && b < hi) buffer[out++] = less(items[b], items[a]) ? items[b++] : items[a++];
            while (a < mid) buffer[out++] = items[a++];
            while (b < hi) buffer[out++] = items[b++];
        }
        items.swap(buffer);
    }
}

std::vector<std::string_view> splitTabs(std::string_view item) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (true) {
        const size_t tab = item.find('\t', start);
        parts.push_back(item.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos) return parts;
        start = tab + 1;
    }
}

}  // namespace

GridModel::GridModel() : metrics_(&FixedFontMetrics::Instance()) {}

GridModel::~GridModel() = default;

void GridModel::addObserver(GridObserver* observer) { observers_.push_back(observer); }

void GridModel::removeObserver(GridObserver* observer) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

// ---- Access helpers

void GridModel::checkRow(std::int32_t r) const {
    if (r < 0 || r >= getRows()) outOfRange();
}

void GridModel::checkCol(std::int32_t c) const {
    if (c < 0 || c >= getCols()) outOfRange();
}

GridModel::Row& GridModel::row(std::int32_t index) {
    checkRow(index);
    return *rows_[static_cast<size_t>(index)];
}

const GridModel::Row& GridModel::row(std::int32_t index) const {
    checkRow(index);
    return *rows_[static_cast<size_t>(index)];
}

GridModel::Column& GridModel::column(std::int32_t index) {
    checkCol(index);
    return columns_[static_cast<size_t>(index)];
}

const GridModel::Column& GridModel::column(std::int32_t index) const {
    checkCol(index);
    return columns_[static_cast<size_t>(index)];
}

GridModel::Cell& GridModel::cell(std::int32_t r, std::int32_t c) {
    checkCol(c);
    return row(r).cells[static_cast<size_t>(c)];
}

const GridModel::Cell& GridModel::cell(std::int32_t r, std::int32_t c) const {
    checkCol(c);
    return row(r).cells[static_cast<size_t>(c)];
}

GridModel::CellFormat& GridModel::format(std::int32_t r, std::int32_t c) {
    auto& target = cell(r, c);
    if (!target.format) target.format = std::make_unique<CellFormat>();
    return *target.format;
}

const GridModel::CellFormat* GridModel::formatOrNull(std::int32_t r, std::int32_t c) const {
    return cell(r, c).format.get();
}

void GridModel::cellChanged(std::int32_t r, std::int32_t c) {
    if (!observers_.empty()) notify([&](GridObserver& o) { o.cellsChanged({r, c, r, c}); });
}

// ---- Shape

std::unique_ptr<GridModel::Row> GridModel::makeRow() const {
    auto r = std::make_unique<Row>();
    r->cells.resize(columns_.size());
    return r;
}

void GridModel::renumber(std::int32_t from) {
    for (auto i = static_cast<size_t>(std::max(from, 0)); i < rows_.size(); ++i)
        rows_[i]->position = static_cast<std::int32_t>(i);
}

void GridModel::indexKey(Row& r) {
    if (!r.key.empty()) keys_.emplace(r.key, &r);
}

void GridModel::unindexKey(Row& r) {
    if (r.key.empty()) return;
    auto [first, last] = keys_.equal_range(r.key);
    for (auto it = first; it != last; ++it) {
        if (it->second == &r) {
            keys_.erase(it);
            return;
        }
    }
}

// ---- Outline index

std::vector<GridModel::Row*>& GridModel::siblings(Row* parent) { return parent ? parent->children : roots_; }

const std::vector<GridModel::Row*>& GridModel::siblings(const Row* parent) const {
    return parent ? parent->children : roots_;
}

void GridModel::reindexSiblings(std::vector<Row*>& list, std::int32_t from) {
    for (auto i = static_cast<size_t>(from); i < list.size(); ++i) list[i]->childIndex = static_cast<std::int32_t>(i);
}

void GridModel::attach(Row& r, Row* parent, std::int32_t childIndex) {
    auto& list = siblings(parent);
    r.parent = parent;
    list.insert(list.begin() + childIndex, &r);
    reindexSiblings(list, childIndex);
}

void GridModel::rebuildOutline() {
    roots_.clear();
    std::vector<Row*> path;  // the open ancestors of the next row
    for (auto& r : rows_) {
        r->children.clear();
        while (!path.empty() && path.back()->level >= r->level) path.pop_back();
        auto& list = siblings(path.empty() ? nullptr : path.back());
        r->parent = path.empty() ? nullptr : path.back();
        r->childIndex = static_cast<std::int32_t>(list.size());
        list.push_back(r.get());
        path.push_back(r.get());
    }
}

// Whether rows first..first+count-1 are whole consecutive siblings with all
// their descendants, so that removing them re-parents no other row.
bool GridModel::removesWholeNodes(std::int32_t first, std::int32_t count) const {
    const auto level = rows_[static_cast<size_t>(first)]->level;
    for (auto r = first + 1; r < first + count; ++r)
        if (rows_[static_cast<size_t>(r)]->level < level) return false;
    const auto next = first + count;
    return next >= getRows() || rows_[static_cast<size_t>(next)]->level <= level;
}

// Runs a change that gives rows other parents without changing their number.
template <class Change>
void GridModel::changeOutline(Change&& change) {
    notify([](GridObserver& o) { o.layoutAboutToChange(); });
    change();
    rebuildOutline();
    notify([](GridObserver& o) { o.layoutChanged(); });
}

// The current cell and the selection stay on their rows when rows come or go
// above them.
void GridModel::followInsert(std::int32_t first, std::int32_t count) {
    if (!cursorPlaced_) return;
    for (auto* value : {&row_, &rowSel_})
        if (*value >= first) *value += count;
}

void GridModel::followRemove(std::int32_t first, std::int32_t count) {
    if (!cursorPlaced_) return;
    for (auto* value : {&row_, &rowSel_}) {
        if (*value >= first + count) *value -= count;
        else if (*value >= first) *value = first;
    }
}

void GridModel::insertRow(std::int32_t position, std::unique_ptr<Row> r) {
    // The new row's parent is the nearest row above with a lower level; it
    // follows the sibling whose subtree ends just above it.
    Row* parent = nullptr;
    std::int32_t childIndex = 0;
    if (position > 0) {
        Row* above = rows_[static_cast<size_t>(position - 1)].get();
        Row* previousSibling = nullptr;
        while (above && above->level >= r->level) {
            previousSibling = above;
            above = above->parent;
        }
        parent = above;
        childIndex = previousSibling ? previousSibling->childIndex + 1 : 0;
    }
    // Rows below that are deeper than the new row become its descendants.
    const bool adopts = position < getRows() && rows_[static_cast<size_t>(position)]->level > r->level;
    const auto parentRow = parent ? parent->position : -1;
    notify([&](GridObserver& o) { o.rowsAboutToBeInserted(position, 1); });
    notify([&](GridObserver& o) {
        if (adopts) o.outlineAboutToReset();
        else o.nodesAboutToBeInserted(parentRow, childIndex, 1);
    });
    indexKey(*r);
    Row& added = *r;
    rows_.insert(rows_.begin() + position, std::move(r));
    renumber(position);
    if (adopts) rebuildOutline();
    else attach(added, parent, childIndex);
    followInsert(position, 1);
    clampCursor();
    notify([&](GridObserver& o) { o.rowsInserted(position, 1); });
    notify([&](GridObserver& o) {
        if (adopts) o.outlineReset();
        else o.nodesInserted(parentRow, childIndex, 1);
    });
}

void GridModel::removeRows(std::int32_t first, std::int32_t count) {
    if (editing_ && editRow_ >= first && editRow_ < first + count) CancelEdit();
    const bool whole = removesWholeNodes(first, count);
    Row* parent = rows_[static_cast<size_t>(first)]->parent;
    const auto parentRow = parent ? parent->position : -1;
    const auto firstChild = rows_[static_cast<size_t>(first)]->childIndex;
    std::int32_t nodes = 0;
    for (auto r = first; r < first + count; ++r)
        if (rows_[static_cast<size_t>(r)]->parent == parent) ++nodes;
    notify([&](GridObserver& o) { o.rowsAboutToBeRemoved(first, count); });
    notify([&](GridObserver& o) {
        if (whole) o.nodesAboutToBeRemoved(parentRow, firstChild, nodes);
        else o.outlineAboutToReset();
    });
    for (auto r = first; r < first + count; ++r) unindexKey(*rows_[static_cast<size_t>(r)]);
    if (whole) {
        auto& list = siblings(parent);
        list.erase(list.begin() + firstChild, list.begin() + firstChild + nodes);
        reindexSiblings(list, firstChild);
    }
    rows_.erase(rows_.begin() + first, rows_.begin() + first + count);
    renumber(first);
    if (!whole) rebuildOutline();
    followRemove(first, count);
    clampCursor();
    notify([&](GridObserver& o) { o.rowsRemoved(first, count); });
    notify([&](GridObserver& o) {
        if (whole) o.nodesRemoved(parentRow, firstChild, nodes);
        else o.outlineReset();
    });
}

void GridModel::setRows(std::int32_t count) {
    count = std::max(count, 0);
    const std::int32_t old = getRows();
    if (count > old) {
        // New rows are top-level nodes after all others.
        const auto firstRoot = static_cast<std::int32_t>(roots_.size());
        notify([&](GridObserver& o) { o.rowsAboutToBeInserted(old, count - old); });
        notify([&](GridObserver& o) { o.nodesAboutToBeInserted(-1, firstRoot, count - old); });
        // Geometric growth: hosts often add one row at a time.
        if (static_cast<size_t>(count) > rows_.capacity())
            rows_.reserve(std::max(static_cast<size_t>(count), rows_.capacity() * 2));
        for (std::int32_t i = old; i < count; ++i) {
            rows_.push_back(makeRow());
            rows_.back()->position = i;
            rows_.back()->childIndex = static_cast<std::int32_t>(roots_.size());
            roots_.push_back(rows_.back().get());
        }
        clampCursor();
        notify([&](GridObserver& o) { o.rowsInserted(old, count - old); });
        notify([&](GridObserver& o) { o.nodesInserted(-1, firstRoot, count - old); });
    } else if (count < old) {
        removeRows(count, old - count);
    }
}

void GridModel::setCols(std::int32_t count) {
    count = std::max(count, 0);
    if (count == getCols()) return;
    notify([](GridObserver& o) { o.aboutToReset(); });
    columns_.resize(static_cast<size_t>(count));
    for (auto& r : rows_) r->cells.resize(static_cast<size_t>(count));
    clampCursor();
    notify([](GridObserver& o) { o.reset(); });
}

void GridModel::setFixedRows(std::int32_t count) {
    notify([](GridObserver& o) { o.aboutToReset(); });
    fixedRows_ = std::max(count, 0);
    clampCursor();
    notify([](GridObserver& o) { o.reset(); });
}

void GridModel::setFixedCols(std::int32_t count) {
    notify([](GridObserver& o) { o.aboutToReset(); });
    fixedCols_ = std::max(count, 0);
    clampCursor();
    notify([](GridObserver& o) { o.reset(); });
}

std::int32_t GridModel::AddItem(std::string_view item, std::int32_t position) {
    if (position < 0) position = getRows();
    if (position > getRows()) outOfRange();
    auto r = makeRow();
    const auto parts = splitTabs(item);
    for (size_t c = 0; c < parts.size() && c < r->cells.size(); ++c) r->cells[c].text = parts[c];
    insertRow(position, std::move(r));
    return position;
}

void GridModel::RemoveItem(std::int32_t index) {
    checkRow(index);
    removeRows(index, 1);
}

// ---- Cells

const std::string& GridModel::getTextMatrix(std::int32_t r, std::int32_t c) const { return cell(r, c).text; }

void GridModel::setTextMatrix(std::int32_t r, std::int32_t c, std::string_view text) {
    cell(r, c).text.assign(text);
    cellChanged(r, c);
}

const Variant& GridModel::getCellData(std::int32_t r, std::int32_t c) const {
    const auto* f = formatOrNull(r, c);
    return f ? f->data : kEmptyVariant;
}

void GridModel::setCellData(std::int32_t r, std::int32_t c, Variant data) {
    format(r, c).data = std::move(data);
}

std::optional<Color> GridModel::getCellForeColor(std::int32_t r, std::int32_t c) const {
    const auto* f = formatOrNull(r, c);
    return f ? f->fore : std::nullopt;
}

void GridModel::setCellForeColor(std::int32_t r, std::int32_t c, std::optional<Color> color) {
    format(r, c).fore = color;
    cellChanged(r, c);
}

std::optional<Color> GridModel::getCellBackColor(std::int32_t r, std::int32_t c) const {
    const auto* f = formatOrNull(r, c);
    return f ? f->back : std::nullopt;
}

void GridModel::setCellBackColor(std::int32_t r, std::int32_t c, std::optional<Color> color) {
    format(r, c).back = color;
    cellChanged(r, c);
}

bool GridModel::getCellFontBold(std::int32_t r, std::int32_t c) const {
    const auto* f = formatOrNull(r, c);
    return f && f->bold;
}

void GridModel::setCellFontBold(std::int32_t r, std::int32_t c, bool bold) {
    if (!bold && !formatOrNull(r, c)) return;
    format(r, c).bold = bold;
    cellChanged(r, c);
}

const std::string& GridModel::getCellPicture(std::int32_t r, std::int32_t c) const {
    const auto* f = formatOrNull(r, c);
    return f ? f->picture : kEmptyText;
}

void GridModel::setCellPicture(std::int32_t r, std::int32_t c, std::string_view imageKey) {
    format(r, c).picture.assign(imageKey);
    cellChanged(r, c);
}

std::int16_t GridModel::getCellAlignment(std::int32_t r, std::int32_t c) const {
    const auto* f = formatOrNull(r, c);
    return f ? f->alignment : static_cast<std::int16_t>(AlignGeneral);
}

void GridModel::setCellAlignment(std::int32_t r, std::int32_t c, std::int16_t alignment) {
    format(r, c).alignment = alignment;
    cellChanged(r, c);
}

Variant GridModel::getCell(std::int32_t setting, std::int32_t r, std::int32_t c) const {
    switch (setting) {
        case CellText:
        case CellTextDisplay:
            return getTextMatrix(r, c);
        case CellData:
            return getCellData(r, c);
        case CellForeColor: {
            const auto color = getCellForeColor(r, c);
            return color ? Variant(static_cast<double>(color->ToOle())) : Variant();
        }
        case CellBackColor: {
            const auto color = getCellBackColor(r, c);
            return color ? Variant(static_cast<double>(color->ToOle())) : Variant();
        }
        case CellFontBold:
            return getCellFontBold(r, c) ? Variant(-1) : Variant(0);
        case CellPicture:
            return getCellPicture(r, c);
        case CellAlignment:
            return Variant(static_cast<int>(getCellAlignment(r, c)));
        default:
            throw Error(ERR_INVALID_CALL, "Cell property " + std::to_string(setting) + " is not supported");
    }
}

void GridModel::setCell(std::int32_t setting, std::int32_t r1, std::int32_t c1, const Variant& value,
                        std::int32_t r2, std::int32_t c2) {
    if (r2 < 0) r2 = r1;
    if (c2 < 0) c2 = c1;
    checkRow(r1), checkRow(r2), checkCol(c1), checkCol(c2);
    const auto colour = [&]() -> std::optional<Color> {
        if (value.isEmpty()) return std::nullopt;
        return Color::FromOle(static_cast<std::uint32_t>(value.number()));
    };
    for (auto r = std::min(r1, r2); r <= std::max(r1, r2); ++r) {
        for (auto c = std::min(c1, c2); c <= std::max(c1, c2); ++c) {
            switch (setting) {
                case CellText:
                case CellTextDisplay: setTextMatrix(r, c, value.toString()); break;
                case CellData: setCellData(r, c, value); break;
                case CellForeColor: setCellForeColor(r, c, colour()); break;
                case CellBackColor: setCellBackColor(r, c, colour()); break;
                case CellFontBold: setCellFontBold(r, c, value.number() != 0); break;
                case CellPicture: setCellPicture(r, c, value.toString()); break;
                case CellAlignment: setCellAlignment(r, c, static_cast<std::int16_t>(value.number())); break;
                default:
                    throw Error(ERR_INVALID_CALL, "Cell property " + std::to_string(setting) + " is not supported");
            }
        }
    }
}

// ---- Rows

const Variant& GridModel::getRowData(std::int32_t r) const { return row(r).data; }

void GridModel::setRowData(std::int32_t r, Variant data) { row(r).data = std::move(data); }

const std::string& GridModel::getRowKey(std::int32_t r) const { return row(r).key; }

void GridModel::setRowKey(std::int32_t r, std::string_view key) {
    auto& target = row(r);
    unindexKey(target);
    target.key.assign(key);
    indexKey(target);
}

std::int32_t GridModel::FindRow(std::string_view key) const {
    if (key.empty()) return -1;
    auto [first, last] = keys_.equal_range(std::string(key));
    std::int32_t found = -1;
    for (auto it = first; it != last; ++it)
        if (found < 0 || it->second->position < found) found = it->second->position;
    return found;
}

std::int32_t GridModel::getRowHeight(std::int32_t r) const {
    const auto h = row(r).height;
    return h < 0 ? DefaultRowHeight() : h;
}

void GridModel::setRowHeight(std::int32_t r, std::int32_t twips) {
    row(r).height = std::max(twips, 0);
    notify([&](GridObserver& o) { o.rowsChanged(r, r); });
}

bool GridModel::getRowHidden(std::int32_t r) const { return row(r).hidden; }

void GridModel::setRowHidden(std::int32_t r, bool hidden) {
    row(r).hidden = hidden;
    notify([&](GridObserver& o) { o.rowsChanged(r, r); });
}

void GridModel::setRowPosition(std::int32_t r, std::int32_t position) {
    checkRow(r);
    checkRow(position);
    if (r == position) return;
    changeOutline([&] {
        auto moving = std::move(rows_[static_cast<size_t>(r)]);
        rows_.erase(rows_.begin() + r);
        rows_.insert(rows_.begin() + position, std::move(moving));
        renumber(std::min(r, position));
    });
}

// ---- Outline

std::int16_t GridModel::getRowOutlineLevel(std::int32_t r) const { return row(r).level; }

void GridModel::setRowOutlineLevel(std::int32_t r, std::int16_t level) {
    auto& target = row(r);
    level = std::max<std::int16_t>(level, 0);
    if (target.level == level) return;
    changeOutline([&] { target.level = level; });
    notify([&](GridObserver& o) { o.rowsChanged(r, r); });
}

bool GridModel::getIsCollapsed(std::int32_t r) const { return row(r).collapsed; }

void GridModel::setIsCollapsed(std::int32_t r, bool collapsed) {
    auto& target = row(r);
    if (target.collapsed == collapsed) return;
    target.collapsed = collapsed;
    notify([&](GridObserver& o) { o.rowsChanged(r, r); });
}

std::int32_t GridModel::AddNode(std::int32_t parentRow, std::string_view text, std::string_view key) {
    auto r = makeRow();
    std::int32_t position = getRows();
    if (parentRow >= 0) {
        r->level = static_cast<std::int16_t>(row(parentRow).level + 1);
        position = SubtreeEnd(parentRow);
    }
    if (outlineCol_ < getCols()) r->cells[static_cast<size_t>(outlineCol_)].text = text;
    r->key = key;
    insertRow(position, std::move(r));
    return position;
}

bool GridModel::HasChildren(std::int32_t r) const { return !row(r).children.empty(); }

std::int32_t GridModel::ParentRow(std::int32_t r) const {
    const auto* parent = row(r).parent;
    return parent ? parent->position : -1;
}

std::int32_t GridModel::FirstChildRow(std::int32_t r) const { return HasChildren(r) ? r + 1 : -1; }

std::int32_t GridModel::NextSiblingRow(std::int32_t r) const {
    const auto& target = row(r);
    const auto& list = siblings(target.parent);
    const auto next = static_cast<size_t>(target.childIndex) + 1;
    return next < list.size() ? list[next]->position : -1;
}

std::int32_t GridModel::SubtreeEnd(std::int32_t r) const {
    const Row* last = &row(r);
    while (!last->children.empty()) last = last->children.back();
    return last->position + 1;
}

bool GridModel::IsRowVisible(std::int32_t r) const {
    if (row(r).hidden) return false;
    for (const Row* above = rows_[static_cast<size_t>(r)]->parent; above; above = above->parent)
        if (above->collapsed) return false;
    return true;
}

std::int32_t GridModel::ChildCount(std::int32_t parentRow) const {
    return static_cast<std::int32_t>(siblings(parentRow < 0 ? nullptr : &row(parentRow)).size());
}

std::int32_t GridModel::ChildRow(std::int32_t parentRow, std::int32_t index) const {
    const auto& list = siblings(parentRow < 0 ? nullptr : &row(parentRow));
    if (index < 0 || static_cast<size_t>(index) >= list.size()) outOfRange();
    return list[static_cast<size_t>(index)]->position;
}

std::int32_t GridModel::ChildIndex(std::int32_t r) const { return row(r).childIndex; }

std::uintptr_t GridModel::RowId(std::int32_t r) const { return reinterpret_cast<std::uintptr_t>(&row(r)); }

std::int32_t GridModel::RowOfId(std::uintptr_t id) const { return reinterpret_cast<const Row*>(id)->position; }

void GridModel::Outline(std::int16_t level) {
    for (std::int32_t r = 0; r < getRows(); ++r) {
        if (!HasChildren(r)) continue;
        rows_[static_cast<size_t>(r)]->collapsed = level >= 0 && rows_[static_cast<size_t>(r)]->level >= level;
    }
    if (getRows() > 0) notify([&](GridObserver& o) { o.rowsChanged(0, getRows() - 1); });
}

void GridModel::setOutlineCol(std::int32_t col) {
    outlineCol_ = std::max(col, 0);
    notify([](GridObserver& o) { o.appearanceChanged(); });
}

void GridModel::setOutlineBar(std::int16_t setting) {
    outlineBar_ = setting;
    notify([](GridObserver& o) { o.appearanceChanged(); });
}

// ---- Columns

const Variant& GridModel::getColData(std::int32_t c) const { return column(c).data; }

void GridModel::setColData(std::int32_t c, Variant data) { column(c).data = std::move(data); }

const std::string& GridModel::getColKey(std::int32_t c) const { return column(c).key; }

void GridModel::setColKey(std::int32_t c, std::string_view key) { column(c).key.assign(key); }

std::int32_t GridModel::ColIndex(std::string_view key) const {
    for (std::int32_t c = 0; c < getCols(); ++c)
        if (columns_[static_cast<size_t>(c)].key == key) return c;
    return -1;
}

std::int32_t GridModel::getColWidth(std::int32_t c) const { return column(c).width; }

void GridModel::setColWidth(std::int32_t c, std::int32_t twips) {
    column(c).width = std::max(twips, -1);
    notify([&](GridObserver& o) { o.columnsChanged(c, c); });
}

std::int16_t GridModel::getColAlignment(std::int32_t c) const { return column(c).alignment; }

void GridModel::setColAlignment(std::int32_t c, std::int16_t alignment) {
    column(c).alignment = alignment;
    notify([&](GridObserver& o) { o.columnsChanged(c, c); });
}

std::int16_t GridModel::getFixedAlignment(std::int32_t c) const { return column(c).fixedAlignment; }

void GridModel::setFixedAlignment(std::int32_t c, std::int16_t alignment) {
    column(c).fixedAlignment = alignment;
    notify([&](GridObserver& o) { o.columnsChanged(c, c); });
}

std::int16_t GridModel::getColSort(std::int32_t c) const { return column(c).sort; }

void GridModel::setColSort(std::int32_t c, std::int16_t sort) {
    column(c).sort = sort;
    notify([&](GridObserver& o) { o.columnsChanged(c, c); });
}

bool GridModel::getColHidden(std::int32_t c) const { return column(c).hidden; }

void GridModel::setColHidden(std::int32_t c, bool hidden) {
    column(c).hidden = hidden;
    notify([&](GridObserver& o) { o.columnsChanged(c, c); });
}

void GridModel::setColPosition(std::int32_t c, std::int32_t position) {
    checkCol(c);
    checkCol(position);
    if (c == position) return;
    notify([](GridObserver& o) { o.layoutAboutToChange(); });
    const auto move = [&](auto& items) {
        auto moving = std::move(items[static_cast<size_t>(c)]);
        items.erase(items.begin() + c);
        items.insert(items.begin() + position, std::move(moving));
    };
    move(columns_);
    for (auto& r : rows_) move(r->cells);
    notify([](GridObserver& o) { o.layoutChanged(); });
}

// ---- Look

void GridModel::setFontName(std::string_view name) {
    font_.Name.assign(name);
    notify([](GridObserver& o) { o.appearanceChanged(); });
}

void GridModel::setFontSize(std::int16_t points) {
    font_.Size = std::max<std::int16_t>(points, 1);
    notify([](GridObserver& o) { o.appearanceChanged(); });
}

void GridModel::setRedraw(std::int16_t redraw) {
    redraw_ = redraw;
    notify([](GridObserver& o) { o.appearanceChanged(); });
}

void GridModel::Refresh() {
    notify([](GridObserver& o) { o.appearanceChanged(); });
}

void GridModel::setFocusRect(std::int16_t setting) {
    focusRect_ = setting;
    notify([](GridObserver& o) { o.appearanceChanged(); });
}

void GridModel::setHighLight(std::int16_t setting) {
    highLight_ = setting;
    notify([](GridObserver& o) { o.appearanceChanged(); });
}

void GridModel::setEditable(std::int16_t setting) { editable_ = setting; }

void GridModel::setSelectionMode(std::int16_t setting) { selectionMode_ = setting; }

void GridModel::setExplorerBar(std::int16_t setting) {
    explorerBar_ = setting;
    notify([](GridObserver& o) { o.appearanceChanged(); });
}

void GridModel::setAutoSizeMode(std::int16_t mode) { autoSizeMode_ = mode; }

std::int16_t GridModel::DisplayAlignment(std::int32_t r, std::int32_t c) const {
    auto alignment = getCellAlignment(r, c);
    if (alignment == AlignGeneral) alignment = r < fixedRows_ ? column(c).fixedAlignment : column(c).alignment;
    if (alignment != AlignGeneral) return alignment;
    return WholeNumber(getTextMatrix(r, c)) ? AlignRightCenter : AlignLeftCenter;
}

std::int32_t GridModel::DefaultRowHeight() const { return metrics_->TextHeight(font_) + 45; }

void GridModel::AutoSize(std::int32_t col1, std::int32_t col2) {
    if (col2 < 0) col2 = col1;
    checkCol(col1);
    checkCol(col2);
    if (col1 > col2) std::swap(col1, col2);
    constexpr std::int32_t kMargin = 120;   // both sides of a cell's text
    constexpr std::int32_t kIndent = kOutlineIndent;  // one outline level, or a picture
    if (autoSizeMode_ == AutoSizeRowHeight) {
        const auto lineHeight = metrics_->TextHeight(font_);
        for (std::int32_t r = 0; r < getRows(); ++r) {
            std::int32_t lines = 1;
            for (auto c = col1; c <= col2; ++c) {
                const auto& text = cell(r, c).text;
                lines = std::max<std::int32_t>(lines, static_cast<std::int32_t>(
                                                          1 + std::count(text.begin(), text.end(), '\n')));
            }
            rows_[static_cast<size_t>(r)]->height = lines * lineHeight + 45;
        }
        if (getRows() > 0) notify([&](GridObserver& o) { o.rowsChanged(0, getRows() - 1); });
        return;
    }
    Font plain = font_, bold = font_;
    plain.Bold = false;
    bold.Bold = true;
    for (auto c = col1; c <= col2; ++c) {
        std::int32_t widest = 0;
        for (std::int32_t r = 0; r < getRows(); ++r) {
            const auto& target = *rows_[static_cast<size_t>(r)];
            const auto& item = target.cells[static_cast<size_t>(c)];
            std::int32_t width = metrics_->TextWidth(item.text, item.format && item.format->bold ? bold : plain);
            if (item.format && !item.format->picture.empty()) width += kIndent;
            if (c == outlineCol_ && r >= fixedRows_) width += (target.level + 1) * kIndent;
            widest = std::max(widest, width);
        }
        columns_[static_cast<size_t>(c)].width = widest + kMargin;
    }
    notify([&](GridObserver& o) { o.columnsChanged(col1, col2); });
}

// ---- Current cell and selection

void GridModel::clampCursor() {
    // Until code or the user places it, the cursor sits on the first row and
    // column below the fixed ones; an emptied grid forgets where it was.
    if (getRows() == 0) cursorPlaced_ = false;
    const auto clamp = [&](std::int32_t& value, std::int32_t count, std::int32_t first) {
        if (count == 0) value = -1;
        else if (value < 0 || !cursorPlaced_) value = std::min(first, count - 1);
        else value = std::min(value, count - 1);
    };
    clamp(row_, getRows(), fixedRows_);
    clamp(rowSel_, getRows(), row_);
    clamp(col_, getCols(), fixedCols_);
    clamp(colSel_, getCols(), col_);
}

void GridModel::moveCursor(std::int32_t r, std::int32_t c, std::int32_t rs, std::int32_t cs) {
    const auto oldRow = row_, oldCol = col_, oldRowSel = rowSel_, oldColSel = colSel_;
    cursorPlaced_ = true;
    row_ = r, col_ = c, rowSel_ = rs, colSel_ = cs;
    const bool cellMoved = oldRow != row_ || oldCol != col_;
    const bool selectionMoved = cellMoved || oldRowSel != rowSel_ || oldColSel != colSel_;
    if (cellMoved) notify([](GridObserver& o) { o.currentCellChanged(); });
    if (selectionMoved) notify([](GridObserver& o) { o.selectionChanged(); });
    if (cellMoved) AfterRowColChange(oldRow, oldCol, row_, col_);
    if (selectionMoved) SelChange();
}

void GridModel::setRow(std::int32_t r) {
    checkRow(r);
    moveCursor(r, col_, r, colSel_);
}

void GridModel::setCol(std::int32_t c) {
    checkCol(c);
    moveCursor(row_, c, rowSel_, c);
}

void GridModel::setRowSel(std::int32_t r) {
    checkRow(r);
    moveCursor(row_, col_, r, colSel_);
}

void GridModel::setColSel(std::int32_t c) {
    checkCol(c);
    moveCursor(row_, col_, rowSel_, c);
}

void GridModel::Select(std::int32_t r, std::int32_t c, std::int32_t rs, std::int32_t cs) {
    if (rs < 0) rs = r;
    if (cs < 0) cs = c;
    checkRow(r), checkRow(rs), checkCol(c), checkCol(cs);
    moveCursor(r, c, rs, cs);
}

CellRange GridModel::GetSelection() const {
    if (row_ < 0 || col_ < 0) return {};
    return {std::min(row_, rowSel_), std::min(col_, colSel_), std::max(row_, rowSel_), std::max(col_, colSel_)};
}

std::string GridModel::getClip() const {
    const auto s = GetSelection();
    std::string clip;
    if (s.row1 < 0) return clip;
    for (auto r = s.row1; r <= s.row2; ++r) {
        if (r > s.row1) clip += '\r';
        const auto& cells = rows_[static_cast<size_t>(r)]->cells;
        for (auto c = s.col1; c <= s.col2; ++c) {
            if (c > s.col1) clip += '\t';
            clip += cells[static_cast<size_t>(c)].text;
        }
    }
    return clip;
}

void GridModel::ShowCell(std::int32_t r, std::int32_t c) {
    checkRow(r);
    checkCol(c);
    notify([&](GridObserver& o) { o.scrollTo(r, c); });
}

void GridModel::setTopRow(std::int32_t r) {
    checkRow(r);
    topRow_ = r;
    notify([&](GridObserver& o) { o.scrollTo(r, std::max(col_, 0)); });
}

void GridModel::setMouseCell(std::int32_t r, std::int32_t c) {
    mouseRow_ = r;
    mouseCol_ = c;
}

// ---- Sorting

int GridModel::compareRows(const Row& a, const Row& b, std::int32_t col1, std::int32_t col2, std::int16_t order) {
    if (order == SortCustom) {
        std::int16_t cmp = 0;
        Compare(a.position, b.position, cmp);
        return sign(cmp);
    }
    for (auto c = col1; c <= col2; ++c) {
        std::int16_t columnOrder = order;
        if (order == SortUseColSort) columnOrder = columns_[static_cast<size_t>(c)].sort;
        if (columnOrder == SortCustom) {
            std::int16_t cmp = 0;
            Compare(a.position, b.position, cmp);
            if (cmp != 0) return sign(cmp);
            continue;
        }
        int cmp = compareTexts(a.cells[static_cast<size_t>(c)].text, b.cells[static_cast<size_t>(c)].text,
                               columnOrder);
        if (descending(columnOrder)) cmp = -cmp;
        if (cmp != 0) return cmp;
    }
    return 0;
}

void GridModel::sortRows(std::int32_t first, std::int32_t last, std::int32_t col1, std::int32_t col2,
                         std::int16_t order) {
    BeginOperation();
    BeforeSort(col1, order);
    if (order != SortNone && first < last) {
        std::vector<std::int32_t> items;
        items.reserve(static_cast<size_t>(last - first + 1));
        for (auto r = first; r <= last; ++r) items.push_back(r);
        // Compare sees rows where they stand: nothing moves until the order is known.
        mergeSort(items, [&](std::int32_t x, std::int32_t y) {
            return compareRows(*rows_[static_cast<size_t>(x)], *rows_[static_cast<size_t>(y)], col1, col2, order) < 0;
        });
        changeOutline([&] {
            std::vector<std::unique_ptr<Row>> sorted;
            sorted.reserve(items.size());
            for (auto r : items) sorted.push_back(std::move(rows_[static_cast<size_t>(r)]));
            std::move(sorted.begin(), sorted.end(), rows_.begin() + first);
            renumber(first);
        });
    }
    if (order != SortNone) AfterSort(col1, order);
    EndOperation();
}

void GridModel::setSort(std::int16_t order) {
    const auto s = GetSelection();
    if (s.row1 < 0) return;
    sortRows(std::max(s.row1, fixedRows_), s.row2, s.col1, s.col2, order);
}

void GridModel::UserSortByHeader(std::int32_t c) {
    checkCol(c);
    std::int16_t order = column(c).sort;
    if (order == SortNone || order == SortUseColSort) {
        order = (lastHeaderSortCol_ == c && lastHeaderSortOrder_ == SortGenericAscending) ? SortGenericDescending
                                                                                           : SortGenericAscending;
    }
    lastHeaderSortCol_ = c;
    lastHeaderSortOrder_ = order;
    sortRows(fixedRows_, getRows() - 1, c, c, order);
}

// ---- Editing

bool GridModel::EditCell(std::int32_t r, std::int32_t c) {
    if (r < 0) r = row_;
    if (c < 0) c = col_;
    checkRow(r);
    checkCol(c);
    if (editing_) CancelEdit();
    bool cancel = false;
    BeforeEdit(r, c, cancel);
    if (cancel) return false;
    StartEdit(r, c, cancel);
    if (cancel) return false;
    editing_ = true;
    editRow_ = r;
    editCol_ = c;
    editText_ = getTextMatrix(r, c);
    comboIndex_ = -1;
    for (size_t i = 0; i < comboItems_.size(); ++i) {
        if (comboItems_[i].text == editText_) {
            comboIndex_ = static_cast<std::int32_t>(i);
            break;
        }
    }
    notify([](GridObserver& o) { o.editStarted(); });
    return true;
}

void GridModel::setEditText(std::string_view text) { editText_.assign(text); }

void GridModel::setComboList(std::string_view list) {
    comboList_.assign(list);
    comboItems_ = ParseComboList(list);
    comboIndex_ = -1;
}

void GridModel::setComboIndex(std::int32_t index) {
    if (index < -1 || index >= static_cast<std::int32_t>(comboItems_.size())) outOfRange();
    comboIndex_ = index;
    if (index >= 0) editText_ = comboItems_[static_cast<size_t>(index)].text;
}

std::string GridModel::getComboData() const {
    return comboIndex_ >= 0 ? comboItems_[static_cast<size_t>(comboIndex_)].data : std::string();
}

void GridModel::CommitEdit() {
    if (!editing_) return;
    editing_ = false;
    const auto r = editRow_, c = editCol_;
    notify([](GridObserver& o) { o.editEnded(); });
    if (r < getRows() && c < getCols()) {
        setTextMatrix(r, c, editText_);
        AfterEdit(r, c);
    }
}

void GridModel::CancelEdit() {
    if (!editing_) return;
    editing_ = false;
    notify([](GridObserver& o) { o.editEnded(); });
}

// ---- Operations and input

void GridModel::BeginOperation() {
    if (operationDepth_++ == 0) OperationStarted();
}

void GridModel::EndOperation() {
    if (operationDepth_ > 0 && --operationDepth_ == 0) OperationEnded();
}

std::int16_t GridModel::UserKeyPress(std::int16_t keyAscii) {
    KeyPress(keyAscii);
    return keyAscii;
}

std::int16_t GridModel::UserKeyDown(std::int16_t keyCode, std::int16_t shift) {
    KeyDown(keyCode, shift);
    return keyCode;
}

void GridModel::UserMouseDown(std::int16_t button, std::int16_t shift, float x, float y, std::int32_t r,
                              std::int32_t c) {
    setMouseCell(r, c);
    MouseDown(button, shift, x, y);
}

void GridModel::UserDoubleClick() { DblClick(); }

void GridModel::ToggleNode(std::int32_t r) {
    const Row* target = &row(r);
    const std::int16_t state = target->collapsed ? OutlineExpanded : OutlineCollapsed;
    bool cancel = false;
    BeforeCollapse(r, state, cancel);
    if (cancel) return;
    // The handler may have loaded or removed rows: find the node again.
    const auto it = std::find_if(rows_.begin(), rows_.end(), [&](const auto& p) { return p.get() == target; });
    if (it == rows_.end()) return;
    const auto position = static_cast<std::int32_t>(it - rows_.begin());
    setIsCollapsed(position, state == OutlineCollapsed);
    AfterCollapse(position, state);
}

void GridModel::UserMoveColumn(std::int32_t c, std::int32_t position) {
    setColPosition(c, position);
    AfterMoveColumn(c, position);
}

}  // namespace qlmib::ui
