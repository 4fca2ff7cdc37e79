// MIBTable: writing a value typed into a cell, with the agent's own type, and
// reading it back.

#include "MIBTable.h"

#include "internal/ValueCells.h"
#include "qlmib/ui/Toolkit.h"

namespace qlmib {

using namespace live;

void MIBTable::beforeEdit(std::int32_t row, std::int32_t col, bool& cancel) {
    const std::string oid = row < 1 || col < 1 ? std::string() : instanceOID(row, col);
    if (oid.empty()) {
        cancel = true;
        return;
    }
    PointAt(*column_, oid);
    if (column_->getAccess() != ACCESS_RW) {
        cancel = true;
        return;
    }
    grid_.setComboList(column_->getEnumerated().empty() ? std::string() : column_->EnumList());
}

void MIBTable::startEdit(std::int32_t row, std::int32_t col) {
    // Without a list the raw value is edited, not the parsed text.
    if (grid_.getComboList().empty()) grid_.setTextMatrix(row, col, grid_.getCellData(row, col).toString());
}

void MIBTable::afterEdit(std::int32_t row, std::int32_t col) {
    const ui::BusyPointer busy(toolkit_);
    const bool chosen = !grid_.getComboList().empty() && grid_.getComboIndex() >= 0;
    const std::string value = chosen ? grid_.getComboData() : grid_.getTextMatrix(row, col);
    Activate(250);
    toolkit_.DoEvents();
    if (row >= grid_.getRows() || col >= grid_.getCols()) return;  // the grid was rebuilt meanwhile
    const std::string oid = instanceOID(row, col);
    if (oid.empty()) return;
    grid_.setCellData(row, col, value);
    PopulateCell(oid, value, HexOf(value), std::string(kBeingSet));
    const std::string number = std::to_string(row);
    // The agent's type rather than the MIB's: a SET must match what the agent holds.
    const int type = ProbeValueType(oid, "GetType," + number, column_->getTypeInteger());
    SetAndReadBack(oid, type, value, "", "CheckSet," + number);
}

}  // namespace qlmib
