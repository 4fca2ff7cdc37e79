#pragma once
// The outline grid component: rows and columns with fixed header rows and
// columns, cell texts, data and formats, row keys and outline levels, the
// current cell and the selection, sorting and in-cell editing. It holds every
// datum and rule of the grid; a toolkit view shows it (GridObserver) and turns
// user input into the User* calls, which raise the events. Sizes are twips.
// Rows and columns are numbered from 0; a row or column out of range raises
// Error(ERR_SUBSCRIPT). Thread affinity: the thread that created it.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "qlmib/common/Event.h"
#include "qlmib/ui/Color.h"
#include "qlmib/ui/ComboList.h"
#include "qlmib/ui/FontMetrics.h"
#include "qlmib/ui/GridTypes.h"
#include "qlmib/ui/Variant.h"

namespace qlmib::ui {

// What a view of a grid is told. "About to" calls come before the model
// changes, the others after, so that an item-model adapter can bracket them.
class GridObserver {
public:
    virtual ~GridObserver() = default;
    virtual void rowsAboutToBeInserted(std::int32_t /*first*/, std::int32_t /*count*/) {}
    virtual void rowsInserted(std::int32_t /*first*/, std::int32_t /*count*/) {}
    virtual void rowsAboutToBeRemoved(std::int32_t /*first*/, std::int32_t /*count*/) {}
    virtual void rowsRemoved(std::int32_t /*first*/, std::int32_t /*count*/) {}
    // The same changes seen in the outline: `count` consecutive nodes (each
    // with its descendants) under `parentRow` (-1: the top level) from
    // position `first` among its children. Sent beside the row calls.
    virtual void nodesAboutToBeInserted(std::int32_t /*parentRow*/, std::int32_t /*first*/, std::int32_t /*count*/) {}
    virtual void nodesInserted(std::int32_t /*parentRow*/, std::int32_t /*first*/, std::int32_t /*count*/) {}
    virtual void nodesAboutToBeRemoved(std::int32_t /*parentRow*/, std::int32_t /*first*/, std::int32_t /*count*/) {}
    virtual void nodesRemoved(std::int32_t /*parentRow*/, std::int32_t /*first*/, std::int32_t /*count*/) {}
    // Sent instead of the node calls when rows inserted or removed also
    // change the parents of other rows: the outline is new.
    virtual void outlineAboutToReset() {}
    virtual void outlineReset() {}
    // Rows reordered or given other parents (sort, row moved, outline level
    // changed) or columns moved; the number of rows is unchanged.
    virtual void layoutAboutToChange() {}
    virtual void layoutChanged() {}
    // Column count or fixed rows and columns changed: everything is new.
    virtual void aboutToReset() {}
    virtual void reset() {}
    virtual void cellsChanged(const CellRange& /*cells*/) {}
    // Outline level, collapsed state, hidden flag or height of rows.
    virtual void rowsChanged(std::int32_t /*first*/, std::int32_t /*last*/) {}
    // Width, alignment, hidden flag or sort setting of columns.
    virtual void columnsChanged(std::int32_t /*first*/, std::int32_t /*last*/) {}
    virtual void currentCellChanged() {}
    virtual void selectionChanged() {}
    // Redraw setting, font, focus rectangle, highlight or another look setting.
    virtual void appearanceChanged() {}
    virtual void scrollTo(std::int32_t /*row*/, std::int32_t /*col*/) {}
    virtual void editStarted() {}
    virtual void editEnded() {}
};

class GridModel {
public:
    GridModel();
    ~GridModel();
    GridModel(const GridModel&) = delete;
    GridModel& operator=(const GridModel&) = delete;

    void addObserver(GridObserver* observer);
    void removeObserver(GridObserver* observer);

    // ---- Shape
    std::int32_t getRows() const { return static_cast<std::int32_t>(rows_.size()); }
    // New rows are empty, at outline level 0; removed rows go from the end.
    void setRows(std::int32_t count);
    std::int32_t getCols() const { return static_cast<std::int32_t>(columns_.size()); }
    void setCols(std::int32_t count);
    std::int32_t getFixedRows() const { return fixedRows_; }
    void setFixedRows(std::int32_t count);
    std::int32_t getFixedCols() const { return fixedCols_; }
    void setFixedCols(std::int32_t count);

    // Inserts a row before `row` (-1: at the end) whose cells take the TAB
    // separated texts of `item`. Returns the new row.
    std::int32_t AddItem(std::string_view item, std::int32_t row = -1);
    void RemoveItem(std::int32_t row);

    // ---- Cells
    const std::string& getTextMatrix(std::int32_t row, std::int32_t col) const;
    void setTextMatrix(std::int32_t row, std::int32_t col, std::string_view text);
    // The current cell's text.
    const std::string& getText() const { return getTextMatrix(row_, col_); }
    void setText(std::string_view text) { setTextMatrix(row_, col_, text); }
    const Variant& getCellData(std::int32_t row, std::int32_t col) const;
    void setCellData(std::int32_t row, std::int32_t col, Variant data);
    // Empty when the cell uses the grid's colour.
    std::optional<Color> getCellForeColor(std::int32_t row, std::int32_t col) const;
    void setCellForeColor(std::int32_t row, std::int32_t col, std::optional<Color> color);
    std::optional<Color> getCellBackColor(std::int32_t row, std::int32_t col) const;
    void setCellBackColor(std::int32_t row, std::int32_t col, std::optional<Color> color);
    bool getCellFontBold(std::int32_t row, std::int32_t col) const;
    void setCellFontBold(std::int32_t row, std::int32_t col, bool bold);
    // Key of the picture in the view's image list; "" for none.
    const std::string& getCellPicture(std::int32_t row, std::int32_t col) const;
    void setCellPicture(std::int32_t row, std::int32_t col, std::string_view imageKey);
    std::int16_t getCellAlignment(std::int32_t row, std::int32_t col) const;
    void setCellAlignment(std::int32_t row, std::int32_t col, std::int16_t alignment);
    // One property of cell (row, col), or of every cell of the block to
    // (row2, col2) when setting (-1: the same row or column). Supported:
    // CellText, CellTextDisplay, CellData, CellForeColor and CellBackColor (a
    // colour number; empty resets to the grid's colour), CellFontBold,
    // CellPicture, CellAlignment. Others raise Error(ERR_INVALID_CALL).
    Variant getCell(std::int32_t setting, std::int32_t row, std::int32_t col) const;
    void setCell(std::int32_t setting, std::int32_t row, std::int32_t col, const Variant& value,
                 std::int32_t row2 = -1, std::int32_t col2 = -1);

    // ---- Rows
    const Variant& getRowData(std::int32_t row) const;
    void setRowData(std::int32_t row, Variant data);
    const std::string& getRowKey(std::int32_t row) const;
    void setRowKey(std::int32_t row, std::string_view key);
    // The first row with this key, or -1. Constant time.
    std::int32_t FindRow(std::string_view key) const;
    std::int32_t getRowHeight(std::int32_t row) const;
    void setRowHeight(std::int32_t row, std::int32_t twips);
    bool getRowHidden(std::int32_t row) const;
    void setRowHidden(std::int32_t row, bool hidden);
    // Moves a row to another position.
    void setRowPosition(std::int32_t row, std::int32_t position);

    // ---- Outline: a row's children are the rows after it with a greater level.
    // Parents, children and positions among siblings come from an index kept
    // up to date on every change: none of these calls scans the rows.
    std::int16_t getRowOutlineLevel(std::int32_t row) const;
    void setRowOutlineLevel(std::int32_t row, std::int16_t level);
    bool getIsCollapsed(std::int32_t row) const;
    // Sets the state without raising events.
    void setIsCollapsed(std::int32_t row, bool collapsed);
    // Adds a node as the last child of `parentRow` (-1: a new root at the end),
    // with `text` in the outline column and `key` as its row key. Returns its row.
    std::int32_t AddNode(std::int32_t parentRow, std::string_view text, std::string_view key = {});
    bool HasChildren(std::int32_t row) const;
    std::int32_t ParentRow(std::int32_t row) const;       // -1 for a root
    std::int32_t FirstChildRow(std::int32_t row) const;   // -1 without children
    std::int32_t NextSiblingRow(std::int32_t row) const;  // -1 for the last child
    // Children of a node (-1: the top-level nodes, fixed rows included).
    std::int32_t ChildCount(std::int32_t parentRow) const;
    std::int32_t ChildRow(std::int32_t parentRow, std::int32_t index) const;
    // Position of a node among its parent's children.
    std::int32_t ChildIndex(std::int32_t row) const;
    // An identity of the row that survives rows moving around it, for views
    // that must find a row again; valid while the row exists.
    std::uintptr_t RowId(std::int32_t row) const;
    std::int32_t RowOfId(std::uintptr_t id) const;
    // The row after the node's last descendant.
    std::int32_t SubtreeEnd(std::int32_t row) const;
    // Not hidden and under no collapsed node.
    bool IsRowVisible(std::int32_t row) const;
    // Collapses every node at `level` or deeper and expands the others;
    // a negative level expands all. Raises no events.
    void Outline(std::int16_t level);
    std::int32_t getOutlineCol() const { return outlineCol_; }
    void setOutlineCol(std::int32_t col);
    // How views show the outline: OutlineBarNone shows a plain table.
    std::int16_t getOutlineBar() const { return outlineBar_; }
    void setOutlineBar(std::int16_t setting);

    // ---- Columns
    const Variant& getColData(std::int32_t col) const;
    void setColData(std::int32_t col, Variant data);
    const std::string& getColKey(std::int32_t col) const;
    void setColKey(std::int32_t col, std::string_view key);
    // The first column with this key, or -1.
    std::int32_t ColIndex(std::string_view key) const;
    // -1 means the default width.
    std::int32_t getColWidth(std::int32_t col) const;
    void setColWidth(std::int32_t col, std::int32_t twips);
    std::int16_t getColAlignment(std::int32_t col) const;
    void setColAlignment(std::int32_t col, std::int16_t alignment);
    // Alignment of the column's cells in the fixed rows.
    std::int16_t getFixedAlignment(std::int32_t col) const;
    void setFixedAlignment(std::int32_t col, std::int16_t alignment);
    std::int16_t getColSort(std::int32_t col) const;
    void setColSort(std::int32_t col, std::int16_t sort);
    bool getColHidden(std::int32_t col) const;
    void setColHidden(std::int32_t col, bool hidden);
    // Moves a column, with its cells, to another position.
    void setColPosition(std::int32_t col, std::int32_t position);

    // ---- Look
    const Font& getFont() const { return font_; }
    void setFontName(std::string_view name);
    void setFontSize(std::int16_t points);
    // The metrics AutoSize measures with; the fixed metrics until a toolkit sets its own.
    void setFontMetrics(const FontMetrics& metrics) { metrics_ = &metrics; }
    const FontMetrics& fontMetrics() const { return *metrics_; }
    std::int16_t getRedraw() const { return redraw_; }
    void setRedraw(std::int16_t redraw);
    // Asks views to repaint now.
    void Refresh();
    std::int16_t getFocusRect() const { return focusRect_; }
    void setFocusRect(std::int16_t setting);
    std::int16_t getHighLight() const { return highLight_; }
    void setHighLight(std::int16_t setting);
    std::int16_t getEditable() const { return editable_; }
    void setEditable(std::int16_t setting);
    std::int16_t getSelectionMode() const { return selectionMode_; }
    void setSelectionMode(std::int16_t setting);
    std::int16_t getExplorerBar() const { return explorerBar_; }
    void setExplorerBar(std::int16_t setting);
    std::int16_t getAutoSizeMode() const { return autoSizeMode_; }
    void setAutoSizeMode(std::int16_t mode);
    // Sizes columns col1..col2 (-1: col1 alone) to their texts, or in
    // row-height mode the rows to the texts of those columns.
    void AutoSize(std::int32_t col1, std::int32_t col2 = -1);
    // The alignment a cell is drawn with: its own, else its column's (the
    // fixed alignment in fixed rows), with AlignGeneral resolved by its text.
    std::int16_t DisplayAlignment(std::int32_t row, std::int32_t col) const;
    // The indent of one outline level, which AutoSize allows for and views draw.
    static constexpr std::int32_t kOutlineIndent = 240;
    // Default row height: one line of the grid's font plus a margin.
    std::int32_t DefaultRowHeight() const;

    // ---- Current cell and selection
    std::int32_t getRow() const { return row_; }
    void setRow(std::int32_t row);  // also collapses RowSel onto it
    std::int32_t getCol() const { return col_; }
    void setCol(std::int32_t col);  // also collapses ColSel onto it
    std::int32_t getRowSel() const { return rowSel_; }
    void setRowSel(std::int32_t row);
    std::int32_t getColSel() const { return colSel_; }
    void setColSel(std::int32_t col);
    // Current cell (row, col) and the selection's other corner (-1: the current cell).
    void Select(std::int32_t row, std::int32_t col, std::int32_t rowSel = -1, std::int32_t colSel = -1);
    // The selection, normalised; all -1 when the grid has no cell.
    CellRange GetSelection() const;
    // Texts of the selected cells: TAB between cells, CR between rows.
    std::string getClip() const;
    // Asks views to scroll the cell into view.
    void ShowCell(std::int32_t row, std::int32_t col);
    std::int32_t getTopRow() const { return topRow_; }
    void setTopRow(std::int32_t row);
    // The cell under the mouse, as the view last reported it.
    std::int32_t getMouseRow() const { return mouseRow_; }
    std::int32_t getMouseCol() const { return mouseCol_; }
    void setMouseCell(std::int32_t row, std::int32_t col);

    // ---- Sorting
    // Sorts the selected rows (never fixed rows) by the selected columns,
    // left to right, with a SortSettings code. Raises OperationStarted,
    // BeforeSort (the handler may change or cancel the order with SortNone),
    // Compare for SortCustom, AfterSort and OperationEnded. The sort is stable.
    void setSort(std::int16_t order);

    // ---- Editing
    // Starts in-cell editing of (row, col) (-1: the current cell): raises
    // BeforeEdit and StartEdit, either of which may cancel. The editor starts
    // with the cell's text as it stands after StartEdit. Returns whether it started.
    bool EditCell(std::int32_t row = -1, std::int32_t col = -1);
    bool getEditing() const { return editing_; }
    // The cell being edited.
    std::int32_t getEditRow() const { return editRow_; }
    std::int32_t getEditCol() const { return editCol_; }
    const std::string& getEditText() const { return editText_; }
    void setEditText(std::string_view text);
    // The drop-down list for the next edit; "" for free text.
    const std::string& getComboList() const { return comboList_; }
    void setComboList(std::string_view list);
    const std::vector<ComboItem>& ComboItems() const { return comboItems_; }
    std::int32_t getComboIndex() const { return comboIndex_; }
    // Chooses an entry: the editor text becomes its text.
    void setComboIndex(std::int32_t index);
    // Data of the chosen entry ("" when none is chosen).
    std::string getComboData() const;
    // Ends the edit: the cell takes the editor text and AfterEdit is raised.
    void CommitEdit();
    // Ends the edit without changing the cell.
    void CancelEdit();

    // ---- Operations that views bracket (a mouse selection, for instance)
    void BeginOperation();
    void EndOperation();

    // ---- User input, as a view reports it
    // Raises KeyPress; returns KeyAscii as the handlers left it (0: swallowed).
    std::int16_t UserKeyPress(std::int16_t keyAscii);
    // Raises KeyDown; returns KeyCode as the handlers left it.
    std::int16_t UserKeyDown(std::int16_t keyCode, std::int16_t shift);
    // Records the cell under the mouse, then raises MouseDown.
    void UserMouseDown(std::int16_t button, std::int16_t shift, float x, float y, std::int32_t row,
                       std::int32_t col);
    void UserDoubleClick();
    // Opens or closes a node as a click on its button does: raises
    // BeforeCollapse (cancellable) and AfterCollapse.
    void ToggleNode(std::int32_t row);
    // A click on a column header: sorts every data row by that column with
    // its ColSort, or alternately ascending and descending.
    void UserSortByHeader(std::int32_t col);
    // A column dragged to another position: moves it and raises AfterMoveColumn.
    void UserMoveColumn(std::int32_t col, std::int32_t position);

    // ---- Events
    Event<std::int32_t /*OldRow*/, std::int32_t /*OldCol*/, std::int32_t /*NewRow*/, std::int32_t /*NewCol*/>
        AfterRowColChange;
    Event<> SelChange;
    Event<std::int32_t /*Row*/, std::int16_t /*State*/, bool& /*Cancel*/> BeforeCollapse;
    Event<std::int32_t /*Row*/, std::int16_t /*State*/> AfterCollapse;
    Event<> DblClick;
    Event<std::int16_t& /*KeyAscii*/> KeyPress;
    Event<std::int16_t& /*KeyCode*/, std::int16_t& /*Shift*/> KeyDown;
    Event<std::int16_t& /*Button*/, std::int16_t& /*Shift*/, float& /*X*/, float& /*Y*/> MouseDown;
    Event<std::int32_t /*Col*/, std::int16_t& /*Order*/> BeforeSort;
    Event<std::int32_t /*Col*/, std::int16_t /*Order*/> AfterSort;
    // Cmp: -1 when Row1 comes first, 1 when Row2 does, 0 when equal.
    Event<std::int32_t /*Row1*/, std::int32_t /*Row2*/, std::int16_t& /*Cmp*/> Compare;
    Event<std::int32_t /*Row*/, std::int32_t /*Col*/, bool& /*Cancel*/> BeforeEdit;
    Event<std::int32_t /*Row*/, std::int32_t /*Col*/, bool& /*Cancel*/> StartEdit;
    Event<std::int32_t /*Row*/, std::int32_t /*Col*/> AfterEdit;
    Event<std::int32_t /*Col*/, std::int32_t /*Position*/> AfterMoveColumn;
    Event<> OperationStarted;
    Event<> OperationEnded;

private:
    struct CellFormat;
    struct Cell {
        std::string text;
        std::unique_ptr<CellFormat> format;  // only for cells with data or formatting
    };
    struct Row;
    struct Column {
        Variant data;
        std::string key;
        std::int32_t width = -1;
        std::int16_t alignment = AlignGeneral;
        std::int16_t fixedAlignment = AlignGeneral;
        std::int16_t sort = SortNone;
        bool hidden = false;
    };

    Row& row(std::int32_t index);
    const Row& row(std::int32_t index) const;
    Column& column(std::int32_t index);
    const Column& column(std::int32_t index) const;
    Cell& cell(std::int32_t r, std::int32_t c);
    const Cell& cell(std::int32_t r, std::int32_t c) const;
    CellFormat& format(std::int32_t r, std::int32_t c);
    const CellFormat* formatOrNull(std::int32_t r, std::int32_t c) const;
    void checkRow(std::int32_t r) const;
    void checkCol(std::int32_t c) const;

    std::unique_ptr<Row> makeRow() const;
    void insertRow(std::int32_t position, std::unique_ptr<Row> row);
    void removeRows(std::int32_t first, std::int32_t count);
    void renumber(std::int32_t from);
    // Outline index upkeep.
    std::vector<Row*>& siblings(Row* parent);
    const std::vector<Row*>& siblings(const Row* parent) const;
    void attach(Row& r, Row* parent, std::int32_t childIndex);
    void reindexSiblings(std::vector<Row*>& list, std::int32_t from);
    void rebuildOutline();
    bool removesWholeNodes(std::int32_t first, std::int32_t count) const;
    template <class Change>
    void changeOutline(Change&& change);
    void followInsert(std::int32_t first, std::int32_t count);
    void followRemove(std::int32_t first, std::int32_t count);
    void indexKey(Row& r);
    void unindexKey(Row& r);
    void clampCursor();
    void moveCursor(std::int32_t row, std::int32_t col, std::int32_t rowSel, std::int32_t colSel);
    void sortRows(std::int32_t first, std::int32_t last, std::int32_t col1, std::int32_t col2,
                  std::int16_t order);
    int compareRows(const Row& a, const Row& b, std::int32_t col1, std::int32_t col2, std::int16_t order);
    void cellChanged(std::int32_t r, std::int32_t c);

    template <class F>
    void notify(F&& f) {
        for (auto* o : observers_) f(*o);
    }

    std::vector<std::unique_ptr<Row>> rows_;
    std::vector<Column> columns_;
    std::unordered_multimap<std::string, Row*> keys_;
    std::vector<Row*> roots_;
    std::vector<GridObserver*> observers_;

    std::int32_t fixedRows_ = 0, fixedCols_ = 0, outlineCol_ = 0;
    std::int32_t row_ = -1, col_ = -1, rowSel_ = -1, colSel_ = -1;
    std::int32_t topRow_ = 0, mouseRow_ = -1, mouseCol_ = -1;
    bool cursorPlaced_ = false;
    Font font_;
    const FontMetrics* metrics_;
    std::int16_t redraw_ = RedrawBuffered, focusRect_ = FocusRectLight, highLight_ = HighLightAlways;
    std::int16_t editable_ = EditableNone, selectionMode_ = SelectionFree, explorerBar_ = ExplorerBarNone;
    std::int16_t autoSizeMode_ = AutoSizeColWidth, outlineBar_ = OutlineBarNone;

    std::int32_t lastHeaderSortCol_ = -1;
    std::int16_t lastHeaderSortOrder_ = SortNone;

    bool editing_ = false;
    std::int32_t editRow_ = -1, editCol_ = -1;
    std::string editText_, comboList_;
    std::vector<ComboItem> comboItems_;
    std::int32_t comboIndex_ = -1;

    int operationDepth_ = 0;
};

}  // namespace qlmib::ui
