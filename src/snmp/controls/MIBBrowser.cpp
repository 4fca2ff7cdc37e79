#include "MIBBrowser.h"

#include <charconv>
#include <iterator>

#include "internal/Answers.h"
#include "internal/ValueCells.h"
#include "qlmib/mibdata/CommonFunctions.h"
#include "qlmib/mibdata/OID.h"
#include "qlmib/mibdata/TextNumbers.h"
#include "qlmib/tree/OIDDetailsForm.h"
#include "qlmib/ui/Toolkit.h"

namespace qlmib {

using namespace live;

namespace {

struct FieldLayout {
    const char* caption;
    int widthInX;  // the column is as wide as this many letters X
    std::int16_t alignment;
};

// By identifier: field 0 first.
constexpr FieldLayout kFields[] = {
    {"OID", 30, ui::AlignLeftCenter},        {"OID Name", 19, ui::AlignLeftCenter},
    {"Full OID Name", 35, ui::AlignLeftCenter}, {"MIB", 21, ui::AlignLeftCenter},
    {"Index", 20, ui::AlignLeftCenter},      {"Access", 17, ui::AlignLeftCenter},
    {"Status", 17, ui::AlignLeftCenter},     {"Type", 17, ui::AlignLeftCenter},
    {"Raw Type", 15, ui::AlignCenterCenter}, {"Raw Value", 29, ui::AlignLeftCenter},
    {"Value", 29, ui::AlignLeftCenter},      {"Description", 42, ui::AlignLeftCenter},
};

constexpr const char* kUnsupported = "** unsupported OID **";

constexpr auto kFieldCount = static_cast<std::int32_t>(std::size(kFields));

// A field identifier: a whole number from 0 to 11, blanks around it allowed.
std::int32_t fieldOf(std::string_view identifier) {
    identifier = TrimBlanks(identifier);
    std::int32_t field = -1;
    const auto [end, ec] = std::from_chars(identifier.data(), identifier.data() + identifier.size(), field);
    const bool whole = ec == std::errc() && end == identifier.data() + identifier.size();
    return whole && field >= 0 && field < kFieldCount ? field : -1;
}

}  // namespace

MIBBrowser::MIBBrowser(ui::Toolkit& toolkit, std::unique_ptr<snmp::Engine> engine)
    : LiveControl(toolkit, std::move(engine), "MIBBrowser", false), columns_{"3", "1", "9"} {
    columnMoved_ = grid_.AfterMoveColumn.subscribe([this](std::int32_t, std::int32_t) {
        columns_.clear();
        for (std::int32_t c = 0; c < grid_.getCols(); ++c) columns_.push_back(grid_.getColData(c).toString());
        MoveColumn(getCols());
    });
    SetupTable();
}

MIBBrowser::~MIBBrowser() = default;

// ---- Properties

std::string MIBBrowser::getCols() const {
    std::string text;
    for (size_t i = 0; i < columns_.size(); ++i) {
        if (i) text += ',';
        text += columns_[i];
    }
    return text;
}

void MIBBrowser::setCols(std::string_view Cols) {
    if (Cols == getCols()) return;
    columns_ = SplitAtCommas(Cols);
    SetupTable();
}

OID& MIBBrowser::object() {
    if (!object_) object_ = std::make_shared<OID>();
    return *object_;
}

std::shared_ptr<OID> MIBBrowser::getCurrentOIDObject() {
    auto& current = object();
    const std::string oid = getSelectedOID();
    if (!oid.empty()) current.setOID(oid);
    return object_;
}

std::string MIBBrowser::Fields(std::int32_t Index) {
    return Index >= 0 && Index < kFieldCount ? kFields[Index].caption : "";
}

std::int32_t MIBBrowser::fieldAt(std::int32_t col) const { return fieldOf(grid_.getColKey(col)); }

std::string MIBBrowser::rowOID(std::int32_t row) const { return grid_.getRowData(row).toString(); }

std::string MIBBrowser::getSelectedOID() const {
    const auto row = grid_.getRow();
    return row >= 0 ? rowOID(row) : std::string();
}

std::string MIBBrowser::getSelectedRawValue() const {
    std::string raw;
    const auto row = grid_.getRow();
    if (row < 0) return raw;
    for (std::int32_t c = 0; c < grid_.getCols(); ++c) {
        const auto field = fieldAt(c);
        if (field == FieldRawValue) raw = grid_.getTextMatrix(row, c);
        else if (field == FieldValue) raw = grid_.getCellData(row, c).toString();
    }
    return raw;
}

std::string MIBBrowser::getSelectedParsedValue() const {
    const auto row = grid_.getRow();
    if (row < 0) return {};
    for (std::int32_t c = 0; c < grid_.getCols(); ++c)
        if (fieldAt(c) == FieldValue) return grid_.getTextMatrix(row, c);
    return {};
}

std::shared_ptr<OID> MIBBrowser::LookupOID(std::int32_t Row) const {
    auto found = std::make_shared<OID>();
    found->setFullName(rowOID(Row));
    return found;
}

std::string MIBBrowser::LookupIndex(std::int32_t Row) const {
    const auto found = LookupOID(Row);
    return found->getOID().empty() ? std::string() : found->getIndex();
}

std::int32_t MIBBrowser::OIDIndex(std::string_view oid) { return OID::OIDIndex(oid); }

// ---- Grid

void MIBBrowser::SetupTable() {
    const auto count = static_cast<std::int32_t>(columns_.size());
    grid_.setRows(1);
    grid_.setCols(count);
    PrepareGrid(0, ui::ExplorerBarMove);
    const auto& metrics = grid_.fontMetrics();
    for (std::int32_t c = 0; c < count; ++c) {
        const std::string& identifier = columns_[static_cast<size_t>(c)];
        grid_.setColData(c, identifier);
        grid_.setColKey(c, identifier);
        const auto field = fieldOf(identifier);
        if (field < 0) {
            grid_.setTextMatrix(0, c, "");
            grid_.setColWidth(c, -1);
            continue;
        }
        const auto& layout = kFields[field];
        grid_.setTextMatrix(0, c, layout.caption);
        grid_.setFixedAlignment(c, ui::AlignCenterCenter);
        const std::string letters(static_cast<size_t>(layout.widthInX), 'X');
        grid_.setColWidth(c, metrics.TextWidth(letters, grid_.getFont()));
        grid_.setColAlignment(c, layout.alignment);
    }
    if (count > 0) grid_.setCol(0);
    grid_.Refresh();
}

void MIBBrowser::AddValue(const std::string& ResponseOID, const std::string& Value, const std::string& HexValue,
                          const std::string& Error, std::int32_t RawType) {
    if (ResponseOID.empty()) return;
    const auto row = grid_.getRows();
    grid_.setRows(row + 1);
    grid_.setRowData(row, ResponseOID);
    PopulateRow(Value, row, HexValue, Error, RawType);
    grid_.setRow(row);
}

void MIBBrowser::PopulateRow(const std::string& Value, std::int32_t Row, const std::string& HexValue,
                             const std::string& Error, std::int32_t RawType) {
    auto& found = object();
    PointAt(found, grid_.getRowData(Row).text());
    const auto& oid = found.getOID();
    if (!oid.empty() && grid_.getRowData(Row).text() != oid) grid_.setRowData(Row, oid);
    const auto access = found.getAccess();
    // A physical address is shown by its octets from the Raw Value column on.
    std::string_view value = Value;
    for (std::int32_t c = 0; c < grid_.getCols(); ++c) {
        switch (fieldAt(c)) {
            case FieldOID: grid_.setTextMatrix(Row, c, found.getOID()); break;
            case FieldName: grid_.setTextMatrix(Row, c, found.getName()); break;
            case FieldFullName: grid_.setTextMatrix(Row, c, found.getFullName()); break;
            case FieldMIB: grid_.setTextMatrix(Row, c, found.getMIB()); break;
            case FieldIndex: grid_.setTextMatrix(Row, c, found.getIndex()); break;
            case FieldAccess: grid_.setTextMatrix(Row, c, found.getAccessString()); break;
            case FieldStatus: grid_.setTextMatrix(Row, c, found.getStatusString()); break;
            case FieldType: grid_.setTextMatrix(Row, c, found.getTypeString()); break;
            case FieldDescription: grid_.setTextMatrix(Row, c, found.getDescription()); break;
            case FieldRawType:
                if (RawType >= 0) grid_.setTextMatrix(Row, c, std::to_string(RawType));
                break;
            case FieldRawValue:
                if (!IsFailure(Error) && EqualsNoCase(found.getTypeString(), "PhysAddress")) value = HexValue;
                if (!IsFailure(Error)) grid_.setCellData(Row, c, value);
                ShowValue(grid_, Row, c, value, Error, access);
                break;
            case FieldValue:
                grid_.setCellData(Row, c, value);
                ShowValue(grid_, Row, c, IsFailure(Error) ? std::string() : ParsedValue(found, value, HexValue), Error,
                          access);
                break;
            default: break;
        }
    }
}

// ---- Walks

void MIBBrowser::GetOID(const std::string& oid) {
    walkRoot_ = oid;
    inSubtree_ = false;
    ForgetLookups();
    SendRequest("", oid);
    Activate(getSNMPVersion() == 2 ? 200 : 500);
}

void MIBBrowser::GetNextOID(std::int16_t Count, const std::string& oid) {
    walkRoot_.clear();
    const std::string from = oid == "x" || oid.empty() ? getCurrentOID() : oid;
    remaining_ = Count;
    ForgetLookups();
    SendSingle(Command::GetNext, "", from, true);
    Activate(250);
}

void MIBBrowser::HandleAnswer(const Answer& answer) {
    if (answer.oids.empty()) return;
    if (answer.tag.starts_with("CheckSet,")) return ValueAfterSet(answer.tag, answer.values[0], answer.errorText);
    if (answer.tag.starts_with("Refresh,"))
        return RefreshResponse(answer.tag, answer.values[0], answer.hexValues[0], answer.errorText);
    const auto step = walkRoot_.empty() ? planNext(answer) : planSubtree(answer);
    // Continue is raised once the answer's rows are placed. Without a
    // subscriber nobody can tell when the check ran, so the next request goes
    // out first and the agent prepares its answer while the rows are rendered.
    const bool sendFirst = step.more && !Continue.hasSubscribers();
    if (sendFirst && !CheckContinue()) SendRequest("", getCurrentOID());
    placeRows(answer, step);
    if (step.more && !sendFirst && !CheckContinue()) SendRequest("", getCurrentOID());
}

void MIBBrowser::placeRows(const Answer& answer, const WalkStep& step) {
    const AnswerWork work(*this);
    for (size_t i = 0; i < step.rows; ++i)
        AddValue(answer.oids[i], answer.values[i], answer.hexValues[i], answer.errorText, answer.rawTypes[i]);
    const auto at = step.lastRowAt;
    if (step.last == WalkStep::Unsupported) AddValue(walkRoot_, "", answer.hexValues[at], kUnsupported, 0);
    else if (step.last == WalkStep::Failure)
        AddValue(answer.oids[at], "", answer.values[at], answer.errorText, answer.rawTypes[at]);
}

MIBBrowser::WalkStep MIBBrowser::planSubtree(const Answer& answer) {
    WalkStep step;
    for (size_t i = 0; i < answer.oids.size(); ++i) {
        const std::string& oid = answer.oids[i];
        if (!IsUnder(oid, walkRoot_)) {
            if (!inSubtree_) {
                step.last = WalkStep::Unsupported;
                step.lastRowAt = i;
                setCurrentOID(oid);
            }
            step.more = false;  // the walk has left the subtree
            return step;
        }
        inSubtree_ = true;
        if (answer.errorCode != snmp::ENGINE_OK) {
            step.last = WalkStep::Failure;
            step.lastRowAt = i;
            setCurrentOID(oid);
            step.more = false;
            return step;
        }
        step.rows = i + 1;
        setCurrentOID(oid);
        step.more = true;
    }
    return step;
}

MIBBrowser::WalkStep MIBBrowser::planNext(const Answer& answer) {
    WalkStep step;
    for (size_t i = 0; i < answer.oids.size(); ++i) {
        if (answer.errorCode != snmp::ENGINE_OK) {
            step.last = WalkStep::Failure;
            step.lastRowAt = i;
            step.more = false;
            return step;
        }
        step.rows = i + 1;
        // The last row listed does not move CurrentOID: the next GetNextOID() lists it again.
        if (remaining_ < 1) {
            step.more = false;
            return step;
        }
        --remaining_;
        step.more = true;
        setCurrentOID(answer.oids[i]);
    }
    return step;
}

// ---- Busy state

void MIBBrowser::showLastRow() {
    if (noFollow_ || grid_.getRows() < 2) return;
    const auto last = grid_.getRows() - 1;
    grid_.setRow(last);
    grid_.ShowCell(last, std::max(grid_.getCol(), 0));
}

void MIBBrowser::BusyTick() {
    grid_.setRedraw(ui::RedrawBuffered);
    grid_.setRedraw(ui::RedrawNone);
    showLastRow();
}

void MIBBrowser::EndBusy() {
    StopTimer();
    Active(false);
    ClearActive();
    for (std::int32_t c = 0; c < grid_.getCols(); ++c) {
        if (!isValueField(fieldAt(c))) continue;
        grid_.setAutoSizeMode(ui::AutoSizeRowHeight);
        grid_.AutoSize(c);
    }
    grid_.setRedraw(ui::RedrawBuffered);
    showLastRow();
    if (grid_.getCols() > 0) grid_.AutoSize(0, grid_.getCols() - 1);
    ReportSelection();
}

// ---- Details

void MIBBrowser::PopupOIDDetails(const std::string& oid) {
    const std::string target = oid.empty() ? getSelectedOID() : oid;
    if (target.empty()) return;
    OIDDetailsForm::Open(toolkit_).ShowOIDDetails(target, getSelectedRawValue(), getSelectedParsedValue());
}

}  // namespace qlmib
