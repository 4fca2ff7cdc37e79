// MIBBrowser: reading rows again, and writing a value typed into a cell.

#include "MIBBrowser.h"

#include "internal/Answers.h"
#include "internal/ValueCells.h"
#include "qlmib/mibdata/OID.h"
#include "qlmib/ui/Toolkit.h"

namespace qlmib {

using namespace live;

// ---- Refresh

void MIBBrowser::RefreshRow(std::int32_t Row) {
    if (Row == -1) Row = grid_.getRow();
    if (!isDataRow(Row)) return;
    noFollow_ = true;
    Activate(250);
    SendSingle(Command::Get, "Refresh," + std::to_string(Row), rowOID(Row), true);
    for (std::int32_t c = 0; c < grid_.getCols(); ++c) {
        if (isValueField(fieldAt(c))) grid_.setCellForeColor(Row, c, kBeingSetColor);
    }
}

void MIBBrowser::RefreshSelection() {
    noFollow_ = true;
    const auto selection = grid_.GetSelection();
    for (auto row = selection.row1; row >= 0 && row <= selection.row2; ++row) RefreshRow(row);
}

void MIBBrowser::RefreshAll() {
    noFollow_ = true;
    for (std::int32_t row = 1; row < grid_.getRows(); ++row) RefreshRow(row);
    grid_.setRedraw(ui::RedrawBuffered);
}

void MIBBrowser::RefreshResponse(const std::string& NodeID, const std::string& Value, const std::string& HexValue,
                                 const std::string& Error) {
    const auto row = TagRow(NodeID);
    if (isDataRow(row)) PopulateRow(Value, row, HexValue, Error, -1);
}

// ---- Editing

void MIBBrowser::EditRow(std::int32_t Row) {
    if (Row == -1) Row = grid_.getRow();
    if (!isDataRow(Row)) return;
    for (std::int32_t c = 0; c < grid_.getCols(); ++c) {
        if (!isValueField(fieldAt(c))) continue;
        grid_.Select(Row, c);
        grid_.EditCell(Row, c);
    }
}

std::string MIBBrowser::EditableOID(std::int32_t row, std::int32_t col) const {
    return isDataRow(row) && isValueField(fieldAt(col)) ? rowOID(row) : std::string();
}

OID& MIBBrowser::EditedObject() { return object(); }

void MIBBrowser::CommitEdit(std::int32_t row, std::int32_t col, const std::string& value) {
    if (!isDataRow(row)) return;
    grid_.setCellData(row, col, value);
    PopulateRow(value, row, HexOf(value), std::string(kBeingSet), -1);
    const std::string tag = "CheckSet," + std::to_string(row);
    const auto& found = object();
    SetAndReadBack(found.getOID().empty() ? rowOID(row) : found.getOID(), found.getTypeInteger(), value, tag, tag);
}

void MIBBrowser::ValueAfterSet(const std::string& NodeID, const std::string& Value, const std::string& /*Error*/) {
    const auto row = TagRow(NodeID);
    if (!isDataRow(row)) return;
    std::string shown;
    bool mismatch = false;
    for (std::int32_t c = 0; c < grid_.getCols(); ++c) {
        if (!isValueField(fieldAt(c))) continue;
        shown = grid_.getTextMatrix(row, c);
        mismatch = grid_.getCellData(row, c).toString() != Value;
        break;
    }
    // The value read back is shown as an answer without error, whatever the read-back's error.
    PopulateRow(Value, row, HexOf(Value), std::string(kAnswerOK), -1);
    if (mismatch)
        toolkit_.MsgBox("Could not change " + object().getName() + " to \"" + shown + "\".", ui::MsgBoxExclamation);
}

}  // namespace qlmib
