// MIBTable: writing a value typed into a cell, with the agent's own type, and
// reading it back.

#include "MIBTable.h"

#include "internal/ValueCells.h"
#include "qlmib/ui/Toolkit.h"

namespace qlmib {

using namespace live;

std::string MIBTable::EditableOID(std::int32_t row, std::int32_t col) const {
    return row < 1 || col < 1 ? std::string() : instanceOID(row, col);
}

OID& MIBTable::EditedObject() { return *column_; }

void MIBTable::CommitEdit(std::int32_t row, std::int32_t col, const std::string& value) {
    if (row >= grid_.getRows() || col >= grid_.getCols()) return;
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
