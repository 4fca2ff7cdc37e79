#pragma once
// The live browser: walks an agent's MIB with GET-NEXT or GET-BULK and lists
// one grid row per object instance, in columns the host chooses from twelve
// fields (OID, names, module, index, access, status, type, raw type, raw
// value, parsed value, description). Rows can be read again, and a value
// typed into a cell is written with a SET and read back. Every answer is
// looked up in the MIB database and rendered by the value parser.
//
// Grid: row 0 is the header; each row's datum is its instance OID; each
// column's datum and key are its field identifier; Raw Value and Value cells
// keep the raw value received as their cell datum. Thread affinity: the
// thread of its toolkit.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "qlmib/snmp/LiveControl.h"

namespace qlmib {

class OID;

class MIBBrowser : public LiveControl {
public:
    // `engine` null: a NetSnmpEngine on the toolkit's event loop.
    explicit MIBBrowser(ui::Toolkit& toolkit, std::unique_ptr<snmp::Engine> engine = nullptr);
    ~MIBBrowser() override;

    // The columns as field identifiers joined by ","; assigning a different
    // text rebuilds the grid.
    std::string getCols() const;
    void setCols(std::string_view Cols);
    // The reusable lookup object, first pointed at the current row's OID.
    std::shared_ptr<OID> getCurrentOIDObject();
    // Caption of field Index; "" outside 0 to 11.
    static std::string Fields(std::int32_t Index);
    // The current row's OID.
    std::string getSelectedOID() const override;
    // The current row's raw value: of its Raw Value and Value columns, the last one decides.
    std::string getSelectedRawValue() const;
    std::string getSelectedParsedValue() const;

    // Walks the subtree under `oid`.
    void GetOID(const std::string& oid);
    // Lists the instance after `oid` ("x" or "": after CurrentOID) and up to
    // Count further ones.
    void GetNextOID(std::int16_t Count = 1, const std::string& oid = "x");
    // Rebuilds the empty grid from the column list.
    void SetupTable();
    void Clear() { SetupTable(); }
    // Appends a row for ResponseOID (nothing when it is "") and makes it current.
    void AddValue(const std::string& ResponseOID, const std::string& Value, const std::string& HexValue,
                  const std::string& Error, std::int32_t RawType);
    // Fills one row; Error "OK" (no error), "Set" (being set) or an error text.
    // A negative RawType leaves the Raw Type cell as it is.
    void PopulateRow(const std::string& Value, std::int32_t Row, const std::string& HexValue,
                     const std::string& Error = "OK", std::int32_t RawType = -1);
    // Row -1: the current row.
    void RefreshRow(std::int32_t Row = -1);
    void RefreshSelection();
    void RefreshAll();
    // Answer handlers, public so that hosts may feed answers themselves.
    // NodeID is the request's tag, "Refresh,<row>" or "CheckSet,<row>".
    void RefreshResponse(const std::string& NodeID, const std::string& Value, const std::string& HexValue,
                         const std::string& Error);
    void ValueAfterSet(const std::string& NodeID, const std::string& Value, const std::string& Error);
    // Starts in-cell editing of the row's value (Row -1: the current row).
    void EditRow(std::int32_t Row = -1);
    // A new object for the row's OID.
    std::shared_ptr<OID> LookupOID(std::int32_t Row) const;
    std::string LookupIndex(std::int32_t Row) const;
    // The number after the last "." of an OID; 0 when it is not a number.
    static std::int32_t OIDIndex(std::string_view oid);
    // The details window for `oid` ("": the current row's) with the current row's values.
    void PopupOIDDetails(const std::string& oid = "");

    // After the user moved a column: the new column list.
    Event<const std::string& /*ColumnList*/> MoveColumn;

private:
    // The twelve fields, by identifier.
    enum Field : std::int32_t {
        FieldOID, FieldName, FieldFullName, FieldMIB, FieldIndex, FieldAccess, FieldStatus, FieldType,
        FieldRawType, FieldRawValue, FieldValue, FieldDescription, FieldCount,
    };
    static bool isValueField(std::int32_t field) { return field == FieldRawValue || field == FieldValue; }

    void HandleAnswer(const Answer& answer) override;
    void BusyTick() override;
    void EndBusy() override;

    // What one answer of a walk adds: its first `rows` bindings as rows, then
    // perhaps one more row for binding `lastRowAt`; and whether the walk goes on.
    struct WalkStep {
        size_t rows = 0;
        enum { None, Unsupported, Failure } last = None;
        size_t lastRowAt = 0;
        bool more = false;
    };
    WalkStep planSubtree(const Answer& answer);
    WalkStep planNext(const Answer& answer);
    void placeRows(const Answer& answer, const WalkStep& step);
    OID& object();
    std::int32_t fieldAt(std::int32_t col) const;
    std::string rowOID(std::int32_t row) const;
    bool isDataRow(std::int32_t row) const { return row >= 1 && row < grid_.getRows(); }
    void showLastRow();

    std::string EditableOID(std::int32_t row, std::int32_t col) const override;
    OID& EditedObject() override;
    void CommitEdit(std::int32_t row, std::int32_t col, const std::string& value) override;

    std::vector<std::string> columns_;
    std::shared_ptr<OID> object_;
    std::string walkRoot_;
    bool inSubtree_ = false;
    std::int16_t remaining_ = 0;
    bool noFollow_ = false;
    Subscription columnMoved_;
};

}  // namespace qlmib
