// MIBTable: setting up the grid, downloading, and placing every answer in its cell.

#include "MIBTable.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "internal/Answers.h"
#include "internal/ValueCells.h"
#include "qlmib/mibdata/CommonFunctions.h"
#include "qlmib/mibdata/TextNumbers.h"
#include "qlmib/snmp/Settings.h"
#include "qlmib/ui/Toolkit.h"

namespace qlmib {

using namespace live;

namespace {

constexpr std::int32_t kColumnWidthInX = 15;
constexpr std::int32_t kIndexWidthInX = 17;

std::string textOfX(std::int32_t count) { return std::string(static_cast<size_t>(count), 'X'); }

// A value is kept as a number when it is one, so that numeric columns sort by
// value; numbers a double cannot hold exactly stay text.
ui::Variant cellDatum(const std::string& value) {
    const auto number = WholeNumber(value);
    if (number && std::fabs(*number) <= 9007199254740992.0) return *number;
    return value;
}


}  // namespace

MIBTable::MIBTable(ui::Toolkit& toolkit, std::unique_ptr<snmp::Engine> engine)
    : LiveControl(toolkit, std::move(engine), "MIBTable", true) {
    Message.setParent(this);
    Message.setVisible(false);
    resizedTable_ = Resize.subscribe([this] { Message.Move(0, 0, getWidth(), getHeight()); });
    beforeSort_ = grid_.BeforeSort.subscribe([this](std::int32_t col, std::int16_t& order) {
        if (col >= 0 && col < grid_.getCols() && grid_.getColSort(col) == ui::SortCustom) {
            sortDirection_ = static_cast<std::int16_t>(sortDirection_ == 1 ? -1 : 1);
            sortColumn_ = col;
            order = ui::SortCustom;
        } else {
            sortDirection_ = 0;
        }
    });
    compare_ = grid_.Compare.subscribe([this](std::int32_t row1, std::int32_t row2, std::int16_t& cmp) {
        const int order =
            ui::Variant::Compare(grid_.getCellData(row1, sortColumn_), grid_.getCellData(row2, sortColumn_));
        cmp = static_cast<std::int16_t>(order == 0 ? 0 : (order > 0 ? sortDirection_ : -sortDirection_));
    });
    SetupTable();
}

MIBTable::~MIBTable() = default;

void MIBTable::setSNMPVersion(std::int16_t Version) {
    LiveControl::setSNMPVersion(Settings::Shared()->getDisableSNMPV2() ? std::int16_t{1} : Version);
}

OID& MIBTable::tableObject() {
    if (!table_) table_ = std::make_shared<OID>();
    return *table_;
}

std::shared_ptr<OID> MIBTable::getTableOID() {
    tableObject();
    return table_;
}

void MIBTable::showMessage(const std::string& text) {
    Message.setCaption(text);
    Message.setVisible(true);
}

// ---- Downloads

void MIBTable::GetTable(const std::string& oid) {
    auto& table = tableObject();
    table.setFullName(oid);
    if (targetOIDName_.empty()) targetOIDName_ = table.getName();
    if (table.getOID().empty()) {
        showMessage(oid + " is not a valid MIB specification.");
        return;
    }
    unsupported_ = false;
    downloadMode_ = MIBDOWNLOAD_MODE_TABLE;
    ForgetLookups();
    SetupTable();
    SendRequest("", table.getOID());
    Activate(getSNMPVersion() == 2 ? 200 : 500);
}

void MIBTable::GetOIDList(const std::string& OIDList) {
    if (targetOIDName_.empty()) targetOIDName_ = OIDList;
    std::vector<std::shared_ptr<OID>> objects;
    for (const auto& item : SplitAtCommas(OIDList)) {
        const std::string name(TrimBlanks(item));
        auto object = std::make_shared<OID>();
        object->setFullName(name);
        if (object->getOID().empty()) {
            showMessage(name + " is not a valid MIB specification.");
            return;
        }
        objects.push_back(std::move(object));
    }
    objects_ = std::move(objects);
    objectList_ = OIDList;
    unsupported_ = false;
    downloadMode_ = MIBDOWNLOAD_MODE_OIDLIST;
    ForgetLookups();
    SetupTable();
    Activate(500);
    for (const auto& object : objects_) SendSingle(Command::GetNext, object->getBaseName(), object->getOID(), true);
}

void MIBTable::SetupTable() {
    const bool list = downloadMode_ == MIBDOWNLOAD_MODE_OIDLIST;
    const auto listed = list ? static_cast<std::int32_t>(objects_.size()) : 0;
    grid_.setRows(pivoted() ? listed + 1 : 1);
    grid_.setCols(pivoted() ? 1 : listed + 1);
    PrepareGrid(1, ui::ExplorerBarSortAndMove);
    indexColumns_.clear();
    for (std::int32_t j = 1; j <= listed; ++j) {
        const auto& object = *objects_[static_cast<size_t>(j - 1)];
        std::string value = object.getOID(), header = object.getName();
        CustomHeaderFormating(j, value, header);
        if (pivoted()) {
            grid_.setTextMatrix(j, 0, header);
            grid_.setRowData(j, object.getOID());
        } else {
            grid_.setTextMatrix(0, j, header);
            grid_.setColData(j, object.getOID());
            grid_.setColSort(j, ui::SortCustom);
        }
    }
    const auto& metrics = grid_.fontMetrics();
    grid_.setColWidth(0, metrics.TextWidth(textOfX(kIndexWidthInX), grid_.getFont()));
    std::string value = "Index", header = "Index";
    CustomHeaderFormating(0, value, header);
    grid_.setTextMatrix(0, 0, header);
    grid_.AutoSize(0, grid_.getCols() - 1);
    grid_.Refresh();
}

std::int32_t MIBTable::FindListedObject(std::string_view oid, std::string_view Tag) const {
    for (size_t j = 0; j < objects_.size(); ++j) {
        const auto& object = *objects_[j];
        if (IsUnder(oid, object.getOID()) && (Tag.empty() || object.getBaseName() == Tag))
            return static_cast<std::int32_t>(j + 1);
    }
    return 0;
}

void MIBTable::HandleAnswer(const Answer& answer) {
    if (answer.oids.empty() || answer.tag.starts_with("GetType,")) return;
    if (answer.tag.starts_with("CheckSet,")) {
        PopulateCell(answer.oids[0], answer.values[0], answer.hexValues[0], "ValidateSet");
        // A read-back that failed shows why, rather than an empty value.
        if (answer.errorCode != snmp::ENGINE_OK)
            PopulateCell(answer.oids[0], "", answer.hexValues[0], answer.errorText);
        return;
    }
    if (answer.tag.starts_with("Refresh"))
        return PopulateCell(answer.oids[0], answer.values[0], answer.hexValues[0], answer.errorText);
    // The next request goes out before the cells are filled, so that the
    // agent prepares its answer meanwhile.
    const auto step = planDownload(answer);
    if (step.more && !CheckContinue()) SendRequest(answer.tag, answer.oids[step.cells - 1]);
    {
        const AnswerWork work(*this);
        for (size_t i = 0; i < step.cells; ++i)
            PopulateCell(answer.oids[i], answer.values[i], answer.hexValues[i], answer.errorText);
        if (step.failedAt)
            PopulateCell(answer.oids[*step.failedAt], "", answer.hexValues[*step.failedAt], answer.errorText);
    }
    toolkit_.DoEvents();
}

MIBTable::DownloadStep MIBTable::planDownload(const Answer& answer) {
    DownloadStep step;
    const bool table = downloadMode_ == MIBDOWNLOAD_MODE_TABLE;
    const std::string& tableOID = tableObject().getOID();
    for (size_t i = 0; i < answer.oids.size(); ++i) {
        const std::string& oid = answer.oids[i];
        // The agent's answers ascend: the first one outside ends the walk.
        if (table ? !IsUnder(oid, tableOID) : FindListedObject(oid, answer.tag) == 0) break;
        setCurrentOID(oid);
        if (answer.errorCode != snmp::ENGINE_OK) {
            if (!EndsWalk(answer.errorCode)) step.failedAt = i;
            return step;
        }
        step.cells = i + 1;
    }
    step.more = step.cells == answer.oids.size();
    return step;
}

// ---- Placing answers

void MIBTable::PopulateCell(const std::string& oid, const std::string& Value, const std::string& HexValue,
                            const std::string& Error) {
    std::int32_t number = 0;
    std::string_view index;
    std::string columnOID;
    if (downloadMode_ == MIBDOWNLOAD_MODE_TABLE) {
        // The OID is the table's, then entry.column.index.
        const std::string& tableOID = tableObject().getOID();
        if (!IsUnder(oid, tableOID)) return;
        const auto rest = std::string_view(oid).substr(tableOID.size() + 1);
        const auto first = rest.find('.');
        if (first == std::string_view::npos) return;
        const auto second = rest.find('.', first + 1);
        const auto digits = rest.substr(first + 1, second == std::string_view::npos ? std::string_view::npos
                                                                                     : second - first - 1);
        const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
        if (ec != std::errc() || end != digits.data() + digits.size()) return;
        index = second == std::string_view::npos ? std::string_view() : rest.substr(second + 1);
        columnOID = oid.substr(0, tableOID.size() + 1 + first + 1 + digits.size());
    } else {
        number = FindListedObject(oid, "");
        if (number == 0) return;
        columnOID = objects_[static_cast<size_t>(number - 1)]->getOID();
        index = std::string_view(oid).substr(columnOID.size() + 1);
    }
    // The grid grows to the column; one past the largest count it can hold is no column.
    if (number < 1 || number == std::numeric_limits<std::int32_t>::max()) return;
    Message.setVisible(false);

    auto& column = *column_;
    PointAt(column, oid);
    const auto access = column.getAccess();
    // A column the MIB database lacks is named by its OID, not by the nearest object it knows.
    std::string header = column.getBaseOID() == columnOID ? column.getBaseName() : columnOID;
    if (CustomHeaderFormating.hasSubscribers()) {
        std::string value = columnOID;
        CustomHeaderFormating(number, value, header);
    }
    const auto cell = placeCell(number, index, columnOID, header);
    std::string parsed = ParsedValue(column, Value, HexValue);

    std::string_view error = Error;
    if (Error == "ValidateSet") {
        const std::string shown = grid_.getTextMatrix(cell.row1, cell.col1);
        if (shown != parsed)
            toolkit_.MsgBox("Could not change " + column.getName() + "\r\n\r\n" + shown, ui::MsgBoxExclamation);
        error = kAnswerOK;
    }
    const std::string* value = &Value;
    std::string changed;
    if (CustomCellFormating.hasSubscribers()) {
        changed = Value;
        CustomCellFormating(cell.row1, cell.col1, changed, parsed);
        value = &changed;
    }
    grid_.setCellData(cell.row1, cell.col1, cellDatum(*value));
    ShowValue(grid_, cell.row1, cell.col1, parsed, error, access);
}

ui::CellRange MIBTable::placeCell(std::int32_t number, std::string_view index, const std::string& columnOID,
                                  const std::string& header) {
    if (pivoted()) {
        if (grid_.getRows() < number + 1) grid_.setRows(number + 1);
        placeObject(number, columnOID, header);
        auto col = indexColumn(index);
        if (col < 0) col = appendIndex(index);
        return {number, col, number, col};
    }
    if (grid_.getCols() < number + 1) grid_.setCols(number + 1);
    placeObject(number, columnOID, header);
    auto row = indexRow(index);
    if (row < 0) row = appendIndex(index);
    return {row, number, row, number};
}

// The header of a column object: its column (pivoted: its row).
void MIBTable::placeObject(std::int32_t slot, const std::string& columnOID, const std::string& header) {
    if (pivoted()) {
        if (grid_.getRowData(slot).toString() != columnOID) grid_.setRowData(slot, columnOID);
        if (grid_.getTextMatrix(slot, 0) != header) grid_.setTextMatrix(slot, 0, header);
        return;
    }
    if (grid_.getColKey(slot) == columnOID && grid_.getTextMatrix(0, slot) == header) return;
    grid_.setColData(slot, columnOID);
    grid_.setColKey(slot, columnOID);
    grid_.setTextMatrix(0, slot, header);
    grid_.setColWidth(slot, grid_.fontMetrics().TextWidth(textOfX(kColumnWidthInX), grid_.getFont()));
    grid_.setColAlignment(slot, ui::AlignLeftCenter);
    grid_.setColSort(slot, ui::SortCustom);
}

std::int32_t MIBTable::indexRow(std::string_view index) {
    if (!index.empty()) {
        const auto row = grid_.FindRow(index);
        return row >= 1 ? row : -1;
    }
    for (std::int32_t row = 1; row < grid_.getRows(); ++row)
        if (grid_.getRowData(row).toString().empty()) return row;
    return -1;
}

std::int32_t MIBTable::indexColumn(std::string_view index) {
    const auto known = indexColumns_.find(std::string(index));
    if (known != indexColumns_.end() && known->second < grid_.getCols() && grid_.getColKey(known->second) == index)
        return known->second;
    // The host moved columns: look again.
    for (std::int32_t col = 1; col < grid_.getCols(); ++col) {
        if (grid_.getColKey(col) != index) continue;
        indexColumns_[std::string(index)] = col;
        return col;
    }
    return -1;
}

// A new row (pivoted: column) for an index, in arrival order.
std::int32_t MIBTable::appendIndex(std::string_view index) {
    std::string value(index), shown(index);
    if (pivoted()) {
        const auto col = grid_.getCols();
        grid_.setCols(col + 1);
        CustomCellFormating(0, col, value, shown);
        grid_.setColData(col, std::string(index));
        grid_.setColKey(col, index);
        grid_.setTextMatrix(0, col, shown);
        grid_.setColAlignment(col, ui::AlignLeftCenter);
        grid_.setColSort(col, ui::SortCustom);
        indexColumns_[std::string(index)] = col;
        return col;
    }
    const auto row = grid_.getRows();
    grid_.setRows(row + 1);
    CustomCellFormating(row, 0, value, shown);
    grid_.setRowData(row, std::string(index));
    grid_.setRowKey(row, index);
    grid_.setTextMatrix(row, 0, shown);
    return row;
}

// ---- End of a download

void MIBTable::BusyTick() {
    grid_.setRedraw(ui::RedrawBuffered);
    toolkit_.DoEvents();
    grid_.setRedraw(ui::RedrawNone);
}

void MIBTable::EndBusy() {
    StopTimer();
    ClearActive();
    AutoSize();
    grid_.setRedraw(ui::RedrawBuffered);
    grid_.Refresh();
    ReportSelection();
    ScanComplete();
    Active(false);
}

void MIBTable::ScanComplete() {
    // Pivoted, the instances are the columns.
    const bool empty = pivoted() ? grid_.getCols() < 2 : grid_.getRows() < 2;
    if (!empty) {
        unsupported_ = false;
        Message.setVisible(false);
        return;
    }
    showMessage(targetOIDName_ + "\r\n is not supported on \r\n" + getTarget());
    unsupported_ = true;
    UnSupportedTable();
}

}  // namespace qlmib
