#include "LiveControl.h"

#include "internal/AnswerLookups.h"
#include "qlmib/mibdata/Globals.h"
#include "qlmib/mibdata/OID.h"
#include "qlmib/mibdata/TextNumbers.h"
#include "qlmib/snmp/NetSnmpEngine.h"
#include "qlmib/snmp/Settings.h"
#include "qlmib/ui/Toolkit.h"

namespace qlmib {

LiveControl::LiveControl(ui::Toolkit& toolkit, std::unique_ptr<snmp::Engine> engine, std::string name,
                         bool restartWhileActive)
    : ui::Widget(ui::WidgetKind::Container, std::move(name)),
      toolkit_(toolkit),
      engine_(engine ? std::move(engine) : std::make_unique<snmp::NetSnmpEngine>(toolkit.eventLoop())),
      settings_(Settings::Shared()),
      lookups_(std::make_unique<live::AnswerLookups>()),
      timer_(toolkit.CreateTimer()),
      view_(grid_, "Grid"),
      restartWhileActive_(restartWhileActive) {
    engine_->setTimeout(settings_->getSNMPTimeout());
    engine_->setRetries(settings_->getSNMPRetries());
    settingsChanged_ =
        settings_->Changed.subscribe([this](const std::string& name, const SettingValue&) { settingChanged(name); });
    OpenDatabase();
    grid_.setFontMetrics(toolkit.fontMetrics());
    view_.setParent(this);

    single_ = engine_->ValueReceived.subscribe([this](const std::string&, const std::string& oid, int rawType,
                                                      const std::string& value, const std::string& tag,
                                                      const std::string&) {
        deliver({tag, {&oid, 1}, {&rawType, 1}, {&value, 1}, {&engine_->getHexValue(), 1}, engine_->getErrorCode(),
                 engine_->getErrorText()});
    });
    bulk_ = engine_->ValuesReceived.subscribe(
        [this](const std::string& tag, const std::vector<std::string>& oids, const std::vector<int>& rawTypes,
               const std::vector<std::string>& values, const std::vector<std::string>& hexValues) {
            deliver({tag, oids, rawTypes, values, hexValues, engine_->getErrorCode(), engine_->getErrorText()});
        });
    tick_ = timer_->Tick.subscribe([this] { tick(); });

    resized_ = Resize.subscribe([this] { view_.Move(0, 0, getWidth(), getHeight()); });
    mouseDown_ = grid_.MouseDown.subscribe([this](std::int16_t& button, std::int16_t& shift, float& x, float& y) {
        const auto s = grid_.GetSelection();
        const bool oneCell = s.row1 == s.row2 && s.col1 == s.col2;
        if (oneCell && grid_.getMouseRow() >= 0 && grid_.getMouseRow() < grid_.getRows() && grid_.getMouseCol() >= 0 &&
            grid_.getMouseCol() < grid_.getCols())
            grid_.Select(grid_.getMouseRow(), grid_.getMouseCol());
        MouseDown(button, shift, x, y);
    });
    keyDown_ = grid_.KeyDown.subscribe([this](std::int16_t& code, std::int16_t& shift) { KeyDown(code, shift); });
    keyPress_ = grid_.KeyPress.subscribe([this](std::int16_t& ascii) { KeyPress(ascii); });
    cellChanged_ = grid_.AfterRowColChange.subscribe(
        [this](std::int32_t, std::int32_t, std::int32_t, std::int32_t) { ReportSelection(); });
    beforeEdit_ = grid_.BeforeEdit.subscribe(
        [this](std::int32_t row, std::int32_t col, bool& cancel) { beforeEdit(row, col, cancel); });
    startEdit_ = grid_.StartEdit.subscribe([this](std::int32_t row, std::int32_t col, bool&) {
        // Without a list the raw value is edited, not the parsed text.
        if (grid_.getComboList().empty()) grid_.setTextMatrix(row, col, grid_.getCellData(row, col).toString());
    });
    afterEdit_ = grid_.AfterEdit.subscribe([this](std::int32_t row, std::int32_t col) { afterEdit(row, col); });
}

LiveControl::~LiveControl() { *alive_ = false; }

void LiveControl::setSNMPPort(std::int32_t Port) {
    port_ = static_cast<std::int16_t>(Port < 1 || Port > 32000 ? 161 : Port);
}

void LiveControl::setRequestSize(std::int32_t Repetitions) {
    requestSize_ = Repetitions == 0 ? 0 : Settings::ClampRequestSize(Repetitions);
}

bool LiveControl::getBusy() const { return engine_->getPendingCount() >= 1; }

std::string LiveControl::getSelection() const {
    const std::string clip = grid_.getClip();
    std::string text;
    text.reserve(clip.size() + clip.size() / 16);
    for (const char c : clip) {
        text += c;
        if (c == '\r') text += '\n';
    }
    return text;
}

void LiveControl::SelectAll() {
    if (grid_.getRows() > 0 && grid_.getCols() > 0) grid_.Select(0, 0, grid_.getRows() - 1, grid_.getCols() - 1);
}

void LiveControl::settingChanged(const std::string& name) {
    if (name == kSettingSNMPTimeout) engine_->setTimeout(settings_->getSNMPTimeout());
    else if (name == kSettingSNMPRetries) engine_->setRetries(settings_->getSNMPRetries());
    else if (name == kSettingDisableSNMPV2 && settings_->getDisableSNMPV2()) setSNMPVersion(1);
}

// ---- Busy state

void LiveControl::Activate(std::int16_t Interval) {
    if (TimerRunning() && !restartWhileActive_) return;
    toolkit_.setMousePointer(ui::PointerHourglass);
    cancel_ = false;
    timer_->setInterval(Interval);
    timer_->setEnabled(true);
    active_ = true;
    grid_.setRedraw(ui::RedrawNone);
    Active(true);
}

void LiveControl::Cancel() {
    cancel_ = true;
    engine_->CancelAll();
    checkIdleSoon();
}

bool LiveControl::TimerRunning() const { return timer_->getEnabled(); }

void LiveControl::StopTimer() {
    lookups_->Release();
    timer_->setEnabled(false);
    toolkit_.setMousePointer(ui::PointerDefault);
}

void LiveControl::tick() {
    // The walk's read transaction is held at most one tick, so that another
    // process's import waits no longer than that.
    lookups_->Release();
    if (engine_->getPendingCount() >= 1) BusyTick();
    else EndBusy();
}

// A command-line host waits only until nothing is pending, so the busy state
// ends right after the last answer instead of at the next tick.
void LiveControl::checkIdleSoon() {
    if (idleCheckPosted_) return;
    idleCheckPosted_ = true;
    toolkit_.eventLoop().post([this, alive = std::weak_ptr<bool>(alive_)] {
        const auto living = alive.lock();
        if (!living || !*living) return;
        idleCheckPosted_ = false;
        if (TimerRunning() && engine_->getPendingCount() == 0) EndBusy();
    });
}

void LiveControl::ReportSelection() {
    if (TimerRunning() || active_) return;
    const std::string oid = getSelectedOID();
    if (!oid.empty()) SelChange(oid);
}

// ---- Editing

void LiveControl::beforeEdit(std::int32_t row, std::int32_t col, bool& cancel) {
    const std::string oid = EditableOID(row, col);
    if (oid.empty()) {
        cancel = true;
        return;
    }
    OID& object = EditedObject();
    PointAt(object, oid);
    if (object.getAccess() != ACCESS_RW) {
        cancel = true;
        return;
    }
    grid_.setComboList(object.getEnumerated().empty() ? std::string() : object.EnumList());
}

void LiveControl::afterEdit(std::int32_t row, std::int32_t col) {
    const ui::BusyPointer busy(toolkit_);
    const bool chosen = !grid_.getComboList().empty() && grid_.getComboIndex() >= 0;
    const std::string value = chosen ? grid_.getComboData() : grid_.getTextMatrix(row, col);
    Activate(250);
    toolkit_.DoEvents();
    CommitEdit(row, col, value);
}

// ---- Requests

void LiveControl::SendRequest(const std::string& Tag, const std::string& OID) {
    if (version_ == 1 || settings_->getDisableSNMPV2()) return SendSingle(Command::GetNext, Tag, OID, true);
    engine_->setPort(port_);
    engine_->GetBulk(ip_, community_, Tag, {OID}, 0, requestSize_ ? requestSize_ : settings_->getSNMPV2RequestSize());
}

void LiveControl::SendSingle(Command command, const std::string& tag, const std::string& oid, bool asynchronous) {
    engine_->setAsynchronous(asynchronous);
    engine_->setRequestTag(tag);
    engine_->setCommunity(community_);
    engine_->setVersion(version_ == 1 || settings_->getDisableSNMPV2() ? 1 : 2);
    engine_->setRequestOID(oid);
    engine_->setPort(port_);
    switch (command) {
        case Command::Get: engine_->Get(ip_); break;
        case Command::GetNext: engine_->GetNext(ip_); break;
        case Command::Set: engine_->Set(ip_); break;
    }
}

int LiveControl::ProbeValueType(const std::string& oid, const std::string& tag, int fallback) {
    SendSingle(Command::Get, tag, oid, false);
    return engine_->getErrorCode() == snmp::ENGINE_OK ? engine_->getValueType() : fallback;
}

void LiveControl::SetAndReadBack(const std::string& oid, int type, const std::string& value, const std::string& setTag,
                                 const std::string& readBackTag) {
    engine_->setValueType(type);
    engine_->setValue(value);
    SendSingle(Command::Set, setTag, oid, false);
    setRefusal_ = engine_->getErrorCode() == snmp::ENGINE_OK ? "" : engine_->getErrorText();
    SendSingle(Command::Get, readBackTag, oid, true);
}

bool LiveControl::CheckContinue() {
    if (cancel_) return true;
    if (!Continue.hasSubscribers()) return false;
    lookups_->Release();  // the host's handler may write the database or wait
    Continue(cancel_);
    return cancel_;
}

LiveControl::AnswerWork::AnswerWork(LiveControl& control) : control_(control) { control.lookups_->BeginAnswer(); }

// While the control is busy the next answer is expected soon: its lookups
// keep the read transaction.
LiveControl::AnswerWork::~AnswerWork() { control_.lookups_->EndAnswer(control_.TimerRunning()); }

void LiveControl::PointAt(OID& object, const std::string& oid) { lookups_->Point(object, oid); }

std::string LiveControl::ParsedValue(const OID& object, std::string_view value, std::string_view hexValue) {
    return lookups_->Parse(object, value, hexValue);
}

void LiveControl::ForgetLookups() { lookups_->Clear(); }

void LiveControl::deliver(const Answer& answer) {
    const auto alive = alive_;  // a host's handler may destroy the control
    HandleAnswer(answer);
    if (!*alive) return;
    // The answer being delivered still counts: 1 means nothing else is pending.
    if (engine_->getPendingCount() <= 1) checkIdleSoon();
}

void LiveControl::PrepareGrid(std::int32_t fixedCols, ui::ExplorerBarSettings explorerBar) {
    grid_.setFixedRows(1);
    grid_.setFixedCols(fixedCols);
    grid_.setFontName("Arial");
    grid_.setSelectionMode(ui::SelectionFree);
    grid_.setExplorerBar(explorerBar);
    grid_.setEditable(ui::EditableKeyboardMouse);
    grid_.setRowHeight(0, RoundToInt32(1.2 * grid_.fontMetrics().TextHeight(grid_.getFont())));
}

}  // namespace qlmib
