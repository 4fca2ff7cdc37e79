// MIBTable: pivoting, reading cells again, sorting, and the current cell.

#include "MIBTable.h"

#include <algorithm>
#include <optional>

#include "internal/ValueCells.h"
#include "qlmib/tree/OIDDetailsForm.h"
#include "qlmib/ui/Toolkit.h"

namespace qlmib {

using namespace live;

void MIBTable::setOrientation(TABLE_ORIENTATION Orientation) {
    if (Orientation != orientation_) PivotTable();
}

void MIBTable::PivotTable() {
    struct CellCopy {
        std::string text;
        ui::Variant data;
        std::optional<ui::Color> fore, back;
    };
    const auto rows = grid_.getRows(), cols = grid_.getCols();
    std::vector<ui::Variant> rowData(static_cast<size_t>(rows)), colData(static_cast<size_t>(cols));
    std::vector<CellCopy> cells;
    cells.reserve(static_cast<size_t>(rows) * static_cast<size_t>(cols));
    for (std::int32_t r = 0; r < rows; ++r) {
        rowData[static_cast<size_t>(r)] = grid_.getRowData(r);
        for (std::int32_t c = 0; c < cols; ++c)
            cells.push_back({grid_.getTextMatrix(r, c), grid_.getCellData(r, c), grid_.getCellForeColor(r, c),
                             grid_.getCellBackColor(r, c)});
    }
    for (std::int32_t c = 0; c < cols; ++c) colData[static_cast<size_t>(c)] = grid_.getColData(c);

    SetupTable();
    const auto flipped = pivoted() ? TABLE_ORIENTATION_NORMAL : TABLE_ORIENTATION_PIVOTED;
    // Every cell below and right of the corner starts afresh.
    grid_.setRows(1);
    grid_.setCols(1);
    grid_.setRows(cols);
    grid_.setCols(rows);
    for (std::int32_t r = 1; r < rows; ++r) {
        const auto& datum = rowData[static_cast<size_t>(r)];
        grid_.setColData(r, datum);
        grid_.setColKey(r, datum.toString());
        grid_.setColAlignment(r, ui::AlignLeftCenter);
        grid_.setColSort(r, ui::SortCustom);
    }
    for (std::int32_t c = 1; c < cols; ++c) {
        const auto& datum = colData[static_cast<size_t>(c)];
        grid_.setRowData(c, datum);
        // Rows are found by their index in the normal orientation.
        if (flipped == TABLE_ORIENTATION_NORMAL) grid_.setRowKey(c, datum.toString());
    }
    for (std::int32_t r = 0; r < rows; ++r) {
        for (std::int32_t c = 0; c < cols; ++c) {
            auto& cell = cells[static_cast<size_t>(r) * static_cast<size_t>(cols) + static_cast<size_t>(c)];
            grid_.setTextMatrix(c, r, cell.text);
            if (!cell.data.isEmpty()) grid_.setCellData(c, r, std::move(cell.data));
            if (cell.fore) grid_.setCellForeColor(c, r, cell.fore);
            if (cell.back) grid_.setCellBackColor(c, r, cell.back);
        }
    }
    AutoSize();
    orientation_ = flipped;
    ReportSelection();
}

// ---- Reading again

std::string MIBTable::instanceOID(std::int32_t row, std::int32_t col) const {
    const std::string rowDatum = grid_.getRowData(row).toString(), colDatum = grid_.getColData(col).toString();
    if (rowDatum.empty() || colDatum.empty()) return {};
    return pivoted() ? rowDatum + "." + colDatum : colDatum + "." + rowDatum;
}

void MIBTable::RefreshArea(std::int32_t Row1, std::int32_t Row2, std::int32_t Col1, std::int32_t Col2) {
    const auto row1 = std::max(std::min(Row1, Row2), 0), row2 = std::min(std::max(Row1, Row2), grid_.getRows() - 1);
    const auto col1 = std::max(std::min(Col1, Col2), 0), col2 = std::min(std::max(Col1, Col2), grid_.getCols() - 1);
    std::vector<std::string> oids;
    for (auto r = row1; r <= row2; ++r) {
        for (auto c = col1; c <= col2; ++c) {
            auto oid = instanceOID(r, c);
            if (oid.empty()) continue;
            grid_.setCellForeColor(r, c, kBeingSetColor);
            oids.push_back(std::move(oid));
        }
    }
    if (oids.empty()) return;
    toolkit_.DoEvents();
    Activate(500);
    for (const auto& oid : oids) {
        SendSingle(Command::Get, "Refresh", oid, true);
        toolkit_.DoEvents();
    }
}

void MIBTable::RefreshCell() { RefreshArea(grid_.getRow(), grid_.getRow(), grid_.getCol(), grid_.getCol()); }

void MIBTable::RefreshRow(std::int32_t Row) {
    if (Row == -1) Row = grid_.getRow();
    RefreshArea(Row, Row, 1, grid_.getCols() - 1);
}

void MIBTable::RefreshRows(std::int32_t StartRow, std::int32_t EndRow) {
    const auto selection = grid_.GetSelection();
    RefreshArea(StartRow > 0 ? StartRow : selection.row1, EndRow > 0 ? EndRow : selection.row2, 1,
                grid_.getCols() - 1);
}

void MIBTable::RefreshCol(std::int32_t Col) {
    if (Col == -1) Col = grid_.getCol();
    RefreshArea(1, grid_.getRows() - 1, Col, Col);
}

void MIBTable::RefreshCols(std::int32_t StartCol, std::int32_t EndCol) {
    const auto selection = grid_.GetSelection();
    RefreshArea(1, grid_.getRows() - 1, StartCol > 0 ? StartCol : selection.col1,
                EndCol > 0 ? EndCol : selection.col2);
}

void MIBTable::RefreshSelection() {
    const auto s = grid_.GetSelection();
    RefreshArea(s.row1, s.row2, s.col1, s.col2);
}

void MIBTable::RefreshTable() {
    if (downloadMode_ == MIBDOWNLOAD_MODE_OIDLIST) GetOIDList(objectList_);
    else GetTable(tableObject().getOID());
}

// ---- Sorting and sizing

void MIBTable::Sort(std::int32_t Col, std::int16_t Method) {
    if (grid_.getRows() < 2 || Col < 0 || Col >= grid_.getCols()) return;
    grid_.setRow(1);
    grid_.setRowSel(grid_.getRows() - 1);
    grid_.setCol(Col);
    grid_.setSort(Method);
    grid_.setRow(0);
}

void MIBTable::AutoSize() {
    if (grid_.getCols() > 0) grid_.AutoSize(0, grid_.getCols() - 1);
}

// ---- The current cell

std::string MIBTable::getSelectedOID() const {
    if (grid_.getRow() < 0 || grid_.getCol() < 0) return {};
    return instanceOID(grid_.getRow(), grid_.getCol());
}

std::string MIBTable::getSelectedRawValue() const {
    if (grid_.getRow() < 0 || grid_.getCol() < 0) return {};
    return grid_.getCellData(grid_.getRow(), grid_.getCol()).toString();
}

std::string MIBTable::getSelectedParsedValue() const {
    if (grid_.getRow() < 0 || grid_.getCol() < 0) return {};
    return grid_.getTextMatrix(grid_.getRow(), grid_.getCol());
}

std::shared_ptr<OID> MIBTable::getCurrentOIDObject() {
    const auto row = grid_.getRow(), col = grid_.getCol();
    for (const auto& datum : {row >= 0 ? grid_.getRowData(row).toString() : std::string(),
                              col >= 0 ? grid_.getColData(col).toString() : std::string()})
        if (!datum.empty()) column_->setOID(datum);
    return column_;
}

std::shared_ptr<OID> MIBTable::LookupOID(std::int32_t Row, std::int32_t Col) const {
    auto found = std::make_shared<OID>();
    found->setFullName((pivoted() ? grid_.getRowData(Row) : grid_.getColData(Col)).toString());
    return found;
}

std::string MIBTable::LookupIndex(std::int32_t Row, std::int32_t Col) const {
    return (pivoted() ? grid_.getColData(Col) : grid_.getRowData(Row)).toString();
}

void MIBTable::PopupOIDDetails(const std::string& oid) {
    const std::string target = oid.empty() ? getSelectedOID() : oid;
    if (target.empty()) return;
    OIDDetailsForm::Open(toolkit_).ShowOIDDetails(target, getSelectedRawValue(), getSelectedParsedValue());
}

}  // namespace qlmib
