#include "ManageMIBs.h"

#include <algorithm>

#include "ManageMIBsDates.h"
#include "qlmib/common/Error.h"
#include "qlmib/mibdata/CommonFunctions.h"
#include "qlmib/mibdata/Database.h"
#include "qlmib/mibdata/Globals.h"
#include "qlmib/tree/Details.h"
#include "qlmib/ui/Toolkit.h"

namespace qlmib {
namespace {

constexpr std::int32_t kDateCol = 1;
// The size the control has until its host sizes it.
constexpr std::int32_t kInitialWidth = 4800, kInitialHeight = 3600;
// Space between the control's edges and its splitter.
constexpr std::int32_t kMargin = 120;

constexpr RunStyle kTitleStyle{ui::Color(0, 128, 0), true, 10, false};
constexpr RunStyle kCountStyle{ui::Color(0, 128, 0), true, 8, false};
constexpr RunStyle kParticularStyle{ui::Color(0, 0, 255), true, 8, false};

std::string trimBlanks(std::string_view text) { return std::string(TrimBlanks(text)); }

}  // namespace

ManageMIBs::ManageMIBs(ui::Toolkit& toolkit, std::string name)
    : ui::Widget(ui::WidgetKind::Container, std::move(name)),
      toolkit_(toolkit),
      listView_(MIBList, "MIBList"),
      detailsView_(MIBDetails, "MIBDetails") {
    OpenDatabase();
    MIBList.setFontMetrics(toolkit.fontMetrics());
    MIBDetails.setLocked(true);
    Splitter.setParent(this);
    Splitter.AddPane("MIBList", &listView_);
    Splitter.AddPane("MIBDetails", &detailsView_);
    FormatGrid();

    subscriptions_.push_back(Resize.subscribe([this] { layout(); }));
    subscriptions_.push_back(MIBList.AfterRowColChange.subscribe(
        [this](std::int32_t oldRow, std::int32_t, std::int32_t newRow, std::int32_t) {
            if (newRow != oldRow && !busy_) ShowMIBDetails();
        }));
    subscriptions_.push_back(MIBList.OperationStarted.subscribe([this] { busy_ = true; }));
    subscriptions_.push_back(MIBList.OperationEnded.subscribe([this] {
        busy_ = false;
        ShowMIBDetails();
    }));
    subscriptions_.push_back(MIBList.BeforeSort.subscribe(
        [this](std::int32_t col, std::int16_t& order) { beforeSort(col, order); }));
    subscriptions_.push_back(MIBList.Compare.subscribe(
        [this](std::int32_t row1, std::int32_t row2, std::int16_t& cmp) { compare(row1, row2, cmp); }));
    subscriptions_.push_back(MIBList.AfterSort.subscribe(
        [this](std::int32_t, std::int16_t) { toolkit_.setMousePointer(ui::PointerDefault); }));
    subscriptions_.push_back(MIBList.KeyPress.subscribe([this](std::int16_t& keyAscii) { KeyPress(keyAscii); }));
    subscriptions_.push_back(MIBList.MouseDown.subscribe(
        [this](std::int16_t& button, std::int16_t& shift, float& x, float& y) { MouseDown(button, shift, x, y); }));
    subscriptions_.push_back(MIBList.DblClick.subscribe([this] { DblClick(); }));

    Move(0, 0, kInitialWidth, kInitialHeight);
    Splitter.setPaneSize("MIBDetails", getHeight() / 4);
}

ManageMIBs::~ManageMIBs() = default;

void ManageMIBs::FormatGrid() {
    MIBList.setRows(1);
    MIBList.setCols(2);
    MIBList.setFixedRows(1);
    MIBList.setFixedCols(0);
    MIBList.setTextMatrix(0, 0, "MIB");
    MIBList.setTextMatrix(0, kDateCol, "Last Update");
    MIBList.setFontName("Arial");
    MIBList.setFocusRect(ui::FocusRectNone);
    // Widths are measured in the control's own font, the default one, not the grid's.
    const ui::Font controlFont;
    const auto& metrics = toolkit_.fontMetrics();
    MIBList.setColWidth(0, metrics.TextWidth(std::string(42, 'X'), controlFont));
    MIBList.setColWidth(kDateCol, metrics.TextWidth(std::string(17, 'X'), controlFont));
    MIBList.setColSort(kDateCol, ui::SortCustom);
    MIBList.setSelectionMode(ui::SelectionByRow);
    MIBList.setExplorerBar(ui::ExplorerBarSort);
}

void ManageMIBs::setRow(std::int32_t row) {
    IgnoringErrors([&] { MIBList.setRow(row); });
}

std::int32_t ManageMIBs::getOIDCount() const {
    auto count = SharedDatabase().query(Query::TreeCount);
    count.step();
    return static_cast<std::int32_t>(count.int64(0));
}

std::string ManageMIBs::getSelection() const {
    // The grid's clip text ends rows with CR alone.
    std::string text;
    for (const char c : MIBList.getClip()) {
        text += c;
        if (c == '\r') text += '\n';
    }
    return text;
}

std::string ManageMIBs::getSelectedMIB() const {
    const auto row = MIBList.getRow();
    if (row < MIBList.getFixedRows()) return {};
    return MIBList.getTextMatrix(row, 0);
}

void ManageMIBs::Refresh() {
    FormatGrid();
    auto modules = SharedDatabase().query(Query::ModulesByName);
    while (modules.step()) {
        const auto row = MIBList.getRows();
        MIBList.setRows(row + 1);
        MIBList.setTextMatrix(row, 0, trimBlanks(modules.textView(MODULE_NAME)));
        if (modules.isNull(MODULE_IMPORTED)) continue;
        // A text that is no date shows as it stands and sorts after the dates.
        const auto imported = modules.text(MODULE_IMPORTED);
        const auto date = DateValue(imported);
        MIBList.setTextMatrix(row, kDateCol, date ? DateValueText(*date) : imported);
        MIBList.setCellData(row, kDateCol, date ? ui::Variant(*date) : ui::Variant(imported));
    }
}

void ManageMIBs::DeleteMIB(const std::string& MIB) {
    auto& db = SharedDatabase();
    Transaction transaction(db);
    db.query(Query::TreeDeleteModule).bind(1, MIB).run();
    db.query(Query::ModuleDelete).bind(1, MIB).run();
    transaction.commit();
}

void ManageMIBs::DeleteSelectedMIBs() {
    const auto s = MIBList.GetSelection();
    if (s.row1 < 0) return;
    Transaction transaction(SharedDatabase());
    // The header row's text is no module name.
    for (auto r = std::max(s.row1, MIBList.getFixedRows()); r <= s.row2; ++r) DeleteMIB(MIBList.getTextMatrix(r, 0));
    transaction.commit();
}

void ManageMIBs::ShowMIBDetails() {
    MIBDetails.Clear();
    const auto module = getSelectedMIB();
    // Called from the grid's events: a read that fails leaves the pane as far as it got.
    auto& db = SharedDatabase();
    ReadBatch batch(db);
    std::int64_t count = 0;
    IgnoringErrors([&] {
        auto q = db.query(Query::TreeCountByModule);
        q.bind(1, module).step();
        count = q.int64(0);
    });
    IgnoringErrors([&] {
        auto q = db.query(Query::ModuleByName);
        if (!q.bind(1, module).step()) return;
        AddRun(MIBDetails, trimBlanks(q.textView(MODULE_NAME)) + "\r\n", kTitleStyle);
        AddRun(MIBDetails, std::to_string(count) + " unique OIDs\r\n", kCountStyle);
        const auto organization = trimBlanks(q.textView(MODULE_ORGANIZATION));
        if (!organization.empty()) AddRun(MIBDetails, organization + "\r\n", kParticularStyle);
        const auto contact = trimBlanks(q.textView(MODULE_CONTACT));
        if (!contact.empty()) AddRun(MIBDetails, contact + "\r\n", kParticularStyle);
        const auto description = trimBlanks(q.textView(MODULE_DESCRIPTION));
        if (!description.empty()) AddRun(MIBDetails, "\r\n" + description + "\r\n", kParticularStyle);
    });
    MIBDetails.setSelStart(0);
}

void ManageMIBs::layout() {
    // The list pane takes up the change; the details pane keeps its height.
    const auto details = Splitter.getPaneSize("MIBDetails");
    Splitter.Move(kMargin, kMargin, getWidth() - 2 * kMargin, getHeight() - 2 * kMargin);
    Splitter.setPaneSize("MIBDetails", details);
}

void ManageMIBs::beforeSort(std::int32_t col, std::int16_t& order) {
    toolkit_.setMousePointer(ui::PointerHourglass);
    if (col == kDateCol) order = ui::SortCustom;
    sortCol_ = col;
    // Flips on every sort, whatever the column.
    direction_ = direction_ < 0 ? 1 : -1;
}

void ManageMIBs::compare(std::int32_t row1, std::int32_t row2, std::int16_t& cmp) const {
    const int order = ui::Variant::Compare(MIBList.getCellData(row1, sortCol_), MIBList.getCellData(row2, sortCol_));
    if (order == 0) cmp = 0;
    else cmp = order < 0 ? direction_ : static_cast<std::int16_t>(-direction_);
}

}  // namespace qlmib
