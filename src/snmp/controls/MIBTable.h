#pragma once
// The table downloader: fills a grid with an SNMP table (one row per
// instance index, one column per column object) or with a list of objects,
// each cell showing the parsed value. The host can pivot the grid, read
// cells, rows, columns or areas again, sort it, and write a value typed into
// a cell (the agent's own type is probed, the SET read back).
//
// Grid, normal orientation: row 0 is the header row and column 0 the index
// column, both fixed. A data row's datum (and key) is its instance index; a
// column's datum and key are its column object's OID; a cell's datum is the
// value as received (a number when it is one), its text the parsed value.
// Pivoted, rows and columns exchange their roles. Thread affinity: the
// thread of its toolkit.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "qlmib/mibdata/OID.h"
#include "qlmib/snmp/LiveControl.h"
#include "qlmib/ui/GridTypes.h"
#include "qlmib/ui/Label.h"
#include "qlmib/ui/Variant.h"

namespace qlmib {

enum TABLE_ORIENTATION : std::int16_t {
    TABLE_ORIENTATION_NORMAL = 0,   // rows are instances, columns are column objects
    TABLE_ORIENTATION_PIVOTED = 1,  // rows are column objects, columns are instances
};

enum MIBDOWNLOAD_MODE : std::int16_t {
    MIBDOWNLOAD_MODE_TABLE = 0,    // GetTable
    MIBDOWNLOAD_MODE_OIDLIST = 1,  // GetOIDList
};

// The Setting argument of Cell, passed to the grid unchanged.
using CellProperties = ui::CellProperties;

class MIBTable : public LiveControl {
public:
    // `engine` null: a NetSnmpEngine on the toolkit's event loop.
    explicit MIBTable(ui::Toolkit& toolkit, std::unique_ptr<snmp::Engine> engine = nullptr);
    ~MIBTable() override;

    // Names what is downloaded in messages; GetTable and GetOIDList set it when it is "".
    const std::string& getTargetOIDName() const { return targetOIDName_; }
    void setTargetOIDName(std::string_view Name) { targetOIDName_.assign(Name); }
    // Stores 1 while SNMP v2 is disabled in the Settings.
    void setSNMPVersion(std::int16_t Version) override;
    MIBDOWNLOAD_MODE getDownloadMode() const { return downloadMode_; }
    // The table object of GetTable.
    std::shared_ptr<OID> getTableOID();
    // Set by ScanComplete when nothing was downloaded.
    bool getUnSupported() const { return unsupported_; }
    TABLE_ORIENTATION getOrientation() const { return orientation_; }
    // A different value pivots the grid.
    void setOrientation(TABLE_ORIENTATION Orientation);

    // Downloads a table, by name, MODULE:name or OID.
    void GetTable(const std::string& oid);
    // Downloads each object of a comma-separated list (names or OIDs).
    void GetOIDList(const std::string& OIDList);
    // Rebuilds the empty grid: the index column, and in list mode one column per listed object.
    void SetupTable();
    void Clear() { SetupTable(); }
    // Places one answer in its cell, found from the OID: its column number and
    // index. Error "OK", "Set" (a value being set), "ValidateSet" (the
    // read-back of a SET: warns when the agent kept another value) or an error text.
    void PopulateCell(const std::string& oid, const std::string& Value, const std::string& HexValue,
                      const std::string& Error);
    // Ends a download: the "not supported" message and UnSupportedTable when nothing came.
    void ScanComplete();
    // Position (from 1) of the first listed object that `oid` lies under and,
    // unless Tag is "", whose BaseName is Tag; 0 for none.
    std::int32_t FindListedObject(std::string_view oid, std::string_view Tag) const;

    // ---- Display
    void PivotTable();
    void RefreshArea(std::int32_t Row1, std::int32_t Row2, std::int32_t Col1, std::int32_t Col2);
    void RefreshCell();
    // -1: the current row; columns 1 to the last.
    void RefreshRow(std::int32_t Row = -1);
    // The selected rows; StartRow and EndRow above 0 replace the selection's first and last row.
    void RefreshRows(std::int32_t StartRow = -1, std::int32_t EndRow = -1);
    void RefreshCol(std::int32_t Col = -1);
    void RefreshCols(std::int32_t StartCol = -1, std::int32_t EndCol = -1);
    void RefreshSelection();
    // Downloads again what was downloaded last.
    void RefreshTable();
    // Sorts the data rows by column Col with the grid's sort code Method; a
    // column of downloaded values sorts by its cell data, alternately
    // ascending and descending.
    void Sort(std::int32_t Col, std::int16_t Method = ui::SortGenericAscending);
    void AutoSize();
    // Instance OID of the current cell.
    std::string getSelectedOID() const override;
    std::string getSelectedRawValue() const;
    std::string getSelectedParsedValue() const;
    // The column object, pointed at the current row's datum and then at the current column's (each unless "").
    std::shared_ptr<OID> getCurrentOIDObject();
    // A new object for the cell's object OID; the cell's index.
    std::shared_ptr<OID> LookupOID(std::int32_t Row, std::int32_t Col) const;
    std::string LookupIndex(std::int32_t Row, std::int32_t Col) const;
    // The details window for `oid` ("": the current cell's) with the current cell's values.
    void PopupOIDDetails(const std::string& oid = "");

    // ---- The grid's own members
    std::int32_t getRowSel() const { return grid_.getRowSel(); }
    void setRowSel(std::int32_t Row) { grid_.setRowSel(Row); }
    std::int32_t getRows() const { return grid_.getRows(); }
    void setRows(std::int32_t Rows) { grid_.setRows(Rows); }
    std::int32_t getCol() const { return grid_.getCol(); }
    void setCol(std::int32_t Col) { grid_.setCol(Col); }
    std::int32_t getColSel() const { return grid_.getColSel(); }
    void setColSel(std::int32_t Col) { grid_.setColSel(Col); }
    std::int32_t getCols() const { return grid_.getCols(); }
    void setCols(std::int32_t Cols) { grid_.setCols(Cols); }
    std::int32_t getRowHeight(std::int32_t Row) const { return grid_.getRowHeight(Row); }
    void setRowHeight(std::int32_t Row, std::int32_t Height) { grid_.setRowHeight(Row, Height); }
    const ui::Variant& getRowData(std::int32_t Row) const { return grid_.getRowData(Row); }
    void setRowData(std::int32_t Row, ui::Variant Data) { grid_.setRowData(Row, std::move(Data)); }
    void setRowPosition(std::int32_t Row, std::int32_t Position) { grid_.setRowPosition(Row, Position); }
    std::int16_t getColSort(std::int32_t Col) const { return grid_.getColSort(Col); }
    void setColSort(std::int32_t Col, std::int16_t Sort) { grid_.setColSort(Col, Sort); }
    std::int32_t getColWidth(std::int32_t Col) const { return grid_.getColWidth(Col); }
    void setColWidth(std::int32_t Col, std::int32_t Width) { grid_.setColWidth(Col, Width); }
    std::int16_t getColAlignment(std::int32_t Col) const { return grid_.getColAlignment(Col); }
    void setColAlignment(std::int32_t Col, std::int16_t Alignment) { grid_.setColAlignment(Col, Alignment); }
    const ui::Variant& getColData(std::int32_t Col) const { return grid_.getColData(Col); }
    void setColData(std::int32_t Col, ui::Variant Data) { grid_.setColData(Col, std::move(Data)); }
    void setColPosition(std::int32_t Col, std::int32_t Position) { grid_.setColPosition(Col, Position); }
    ui::Variant getCell(std::int32_t Setting, std::int32_t Row, std::int32_t Col) const {
        return grid_.getCell(Setting, Row, Col);
    }
    void setCell(std::int32_t Setting, std::int32_t Row, std::int32_t Col, const ui::Variant& Value) {
        grid_.setCell(Setting, Row, Col, Value);
    }
    // The selected range: TAB between cells, CR between rows.
    std::string Clip() const { return grid_.getClip(); }

    // The message panel over the grid.
    ui::Label Message{"Message"};

    Event<> UnSupportedTable;
    // Before a header shows: Index is the column number (0 for the index
    // column), Value its OID; what the host leaves in ParsedValue is shown.
    Event<std::int32_t /*Index*/, std::string& /*Value*/, std::string& /*ParsedValue*/> CustomHeaderFormating;
    // Before a cell (or an index) shows; what the host leaves in ParsedValue is shown.
    Event<std::int32_t /*Row*/, std::int32_t /*Col*/, std::string& /*Value*/, std::string& /*ParsedValue*/>
        CustomCellFormating;

private:
    void HandleAnswer(const Answer& answer) override;
    void BusyTick() override;
    void EndBusy() override;

    // What one download answer fills: its first `cells` bindings, then perhaps
    // the error of binding `failedAt`; and whether the walk goes on.
    struct DownloadStep {
        size_t cells = 0;
        std::optional<size_t> failedAt;
        bool more = false;
    };
    DownloadStep planDownload(const Answer& answer);
    OID& tableObject();
    bool pivoted() const { return orientation_ == TABLE_ORIENTATION_PIVOTED; }
    void showMessage(const std::string& text);
    // Where a value of column `number` at `index` goes, growing the grid as needed.
    ui::CellRange placeCell(std::int32_t number, std::string_view index, const std::string& baseOID,
                            const std::string& header);
    void placeObject(std::int32_t slot, const std::string& baseOID, const std::string& header);
    std::int32_t indexRow(std::string_view index);
    std::int32_t indexColumn(std::string_view index);
    std::int32_t appendIndex(std::string_view index);
    std::string instanceOID(std::int32_t row, std::int32_t col) const;

    std::string EditableOID(std::int32_t row, std::int32_t col) const override;
    OID& EditedObject() override;
    void CommitEdit(std::int32_t row, std::int32_t col, const std::string& value) override;

    std::string targetOIDName_;
    MIBDOWNLOAD_MODE downloadMode_ = MIBDOWNLOAD_MODE_TABLE;
    std::shared_ptr<OID> table_;
    std::vector<std::shared_ptr<OID>> objects_;
    std::string objectList_;  // as GetOIDList was given it, for RefreshTable
    std::shared_ptr<OID> column_ = std::make_shared<OID>();
    TABLE_ORIENTATION orientation_ = TABLE_ORIENTATION_NORMAL;
    bool unsupported_ = false;
    std::int16_t sortDirection_ = 0;
    std::int32_t sortColumn_ = 0;
    // Pivoted: the column of each index, checked against the column key before use.
    std::unordered_map<std::string, std::int32_t> indexColumns_;
    Subscription resizedTable_, beforeSort_, compare_;
};

}  // namespace qlmib
