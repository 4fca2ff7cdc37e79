#pragma once
// What the live SNMP controls (MIBBrowser, MIBTable) share: the agent they
// ask, the SNMP engine they own, set up from the shared Settings and kept in
// step with its Changed event, the busy state with its timer, the requests of
// a walk and of a SET with its read-back, and the grid with its mouse and key
// events. Thread affinity: the thread of its toolkit.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "qlmib/common/Event.h"
#include "qlmib/snmp/Engine.h"
#include "qlmib/ui/GridModel.h"
#include "qlmib/ui/GridView.h"
#include "qlmib/ui/Widget.h"

namespace qlmib {

class OID;
class Settings;
namespace live {
class AnswerLookups;
}
namespace ui {
class Timer;
class Toolkit;
}  // namespace ui

class LiveControl : public ui::Widget {
public:
    ~LiveControl() override;

    // Free text for the host (MIBTable names the agent with it in its messages).
    const std::string& getTarget() const { return target_; }
    void setTarget(std::string_view Target) { target_.assign(Target); }
    // Host handed to the engine with every request: "HOST", "HOST:PORT", "udp6:[::1]:PORT"...
    const std::string& getIP() const { return ip_; }
    void setIP(std::string_view IP) { ip_.assign(IP); }
    const std::string& getCommunity() const { return community_; }
    void setCommunity(std::string_view Community) { community_.assign(Community); }
    // UDP port used when IP names none; a value outside 1 to 32000 stores 161.
    std::int16_t getSNMPPort() const { return port_; }
    void setSNMPPort(std::int32_t Port);
    // 1 or 2. Every request goes out with this version (1 while SNMP v2 is
    // disabled in the Settings); with 2 walks use GET-BULK.
    std::int16_t getSNMPVersion() const { return version_; }
    virtual void setSNMPVersion(std::int16_t Version) { version_ = Version; }
    // Repetitions per GET-BULK for this control (a saved agent's own); 0
    // follows the Settings' SNMPV2RequestSize. Clamped like the setting.
    std::int16_t getRequestSize() const { return requestSize_; }
    void setRequestSize(std::int32_t Repetitions);
    // Where the next request of a walk continues.
    const std::string& getCurrentOID() const { return currentOID_; }
    void setCurrentOID(std::string_view OID) { currentOID_.assign(OID); }

    // A request is pending at the engine.
    bool getBusy() const;
    // The grid itself.
    ui::GridModel& getTableObject() { return grid_; }
    const ui::GridModel& getTableObject() const { return grid_; }
    std::int32_t getRow() const { return grid_.getRow(); }
    void setRow(std::int32_t Row) { grid_.setRow(Row); }
    std::int32_t getMouseRow() const { return grid_.getMouseRow(); }
    std::int32_t getMouseCol() const { return grid_.getMouseCol(); }
    // The selected range as text: TAB between cells, CR LF between rows.
    std::string getSelection() const;
    // The OID that the current row (MIBBrowser) or cell (MIBTable) shows; "" for none.
    virtual std::string getSelectedOID() const = 0;

    // Starts the busy state: busy pointer, the timer ticking every Interval
    // milliseconds, grid redraw off, Active(true). It ends when the engine has
    // nothing pending: at the next tick, or as soon as the answer that left
    // nothing pending has been handled.
    void Activate(std::int16_t Interval = 500);
    // Stops a walk after the answer being handled and drops every outstanding request.
    void Cancel();
    // Selects from row 0, column 0 to the last row and column.
    void SelectAll();

    // The child engine, SNMP: hosts may tune it for one run (timeout, retries).
    snmp::Engine& SNMP() { return *engine_; }
    // The agent's reason for refusing the last SET ("notWritable", a
    // timeout), or "" when it took the value.
    const std::string& getSetRefusal() const { return setRefusal_; }

    Event<bool /*Status*/> Active;
    // Raised before each further request of a walk; a host sets Cancel to stop it.
    Event<bool& /*Cancel*/> Continue;
    Event<const std::string& /*OID*/> SelChange;
    Event<std::int16_t& /*Button*/, std::int16_t& /*Shift*/, float& /*X*/, float& /*Y*/> MouseDown;
    Event<std::int16_t& /*KeyAscii*/> KeyPress;
    Event<std::int16_t& /*KeyCode*/, std::int16_t& /*Shift*/> KeyDown;

protected:
    // `engine` null: a NetSnmpEngine on the toolkit's event loop. With
    // `restartWhileActive`, Activate restarts a running timer; without, it does
    // nothing while the timer runs.
    LiveControl(ui::Toolkit& toolkit, std::unique_ptr<snmp::Engine> engine, std::string name, bool restartWhileActive);

    // The bindings of one answer, with the engine describing it meanwhile.
    struct Answer {
        const std::string& tag;
        std::span<const std::string> oids;
        std::span<const int> rawTypes;
        std::span<const std::string> values;
        std::span<const std::string> hexValues;
        long errorCode;
        const std::string& errorText;
    };
    virtual void HandleAnswer(const Answer& answer) = 0;
    // The database work of one answer: while it lives, PointAt and ParsedValue
    // share one read transaction, kept for the next answer while the control
    // is busy (released at each tick and when the busy state ends).
    class AnswerWork {
    public:
        explicit AnswerWork(LiveControl& control);
        ~AnswerWork();
        AnswerWork(const AnswerWork&) = delete;
        AnswerWork& operator=(const AnswerWork&) = delete;

    private:
        LiveControl& control_;
    };
    // A timer tick while requests are pending.
    virtual void BusyTick() = 0;
    // The engine has nothing pending any more: the busy state ends.
    virtual void EndBusy() = 0;

    // The first steps of ending the busy state: timer off, normal pointer.
    void StopTimer();
    void ClearActive() { active_ = false; }
    bool TimerRunning() const;
    // SelChange with the selected OID, unless the control is busy.
    void ReportSelection();

    // The next request of a walk: GET-NEXT, or GET-BULK of SNMPV2RequestSize
    // repetitions when SNMP v2 is in use.
    void SendRequest(const std::string& Tag, const std::string& OID);
    enum class Command { Get, GetNext, Set };
    void SendSingle(Command command, const std::string& tag, const std::string& oid, bool asynchronous);
    // The type the agent reports for the value of `oid` (a synchronous GET
    // tagged `tag`), or `fallback` when it gives none.
    int ProbeValueType(const std::string& oid, const std::string& tag, int fallback);
    // A synchronous SET of `value` as `type`, then an asynchronous GET of the
    // same OID whose answer comes back tagged `readBackTag`.
    void SetAndReadBack(const std::string& oid, int type, const std::string& value, const std::string& setTag,
                        const std::string& readBackTag);
    // Whether the walk is to stop: the cancel flag, or a host's answer to Continue.
    bool CheckContinue();

    // As object.setOID(oid), cheaper for the next instance of the same object.
    void PointAt(OID& object, const std::string& oid);
    // The grid's look that both controls share: one header row, 1.2 lines
    // high (row 0 must exist), Arial, free selection, editing by keyboard and mouse.
    void PrepareGrid(std::int32_t fixedCols, ui::ExplorerBarSettings explorerBar);
    // The value parser's text (the raw value when it cannot be parsed).
    std::string ParsedValue(const OID& object, std::string_view value, std::string_view hexValue);
    // A walk or download starts: PointAt and ParsedValue read the database afresh.
    void ForgetLookups();

    // In-cell editing: the OID a cell writes ("" when it cannot be edited), the
    // object that PointAt fills for it, and what a typed value then does. The
    // grid may have been rebuilt while the value was being committed.
    virtual std::string EditableOID(std::int32_t row, std::int32_t col) const = 0;
    virtual OID& EditedObject() = 0;
    virtual void CommitEdit(std::int32_t row, std::int32_t col, const std::string& value) = 0;

    ui::Toolkit& toolkit_;
    ui::GridModel grid_;

private:
    void deliver(const Answer& answer);
    void checkIdleSoon();
    void tick();
    void settingChanged(const std::string& name);
    void beforeEdit(std::int32_t row, std::int32_t col, bool& cancel);
    void afterEdit(std::int32_t row, std::int32_t col);

    std::unique_ptr<snmp::Engine> engine_;
    std::shared_ptr<Settings> settings_;
    std::int16_t requestSize_ = 0;
    std::unique_ptr<live::AnswerLookups> lookups_;
    std::unique_ptr<ui::Timer> timer_;
    ui::GridView view_;
    std::string target_, ip_, community_, currentOID_, setRefusal_;
    std::int16_t port_ = 161, version_ = 1;
    bool cancel_ = false, active_ = false, idleCheckPosted_ = false;
    const bool restartWhileActive_;
    // Posted calls check it, so that none runs after the control is gone.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    Subscription settingsChanged_, single_, bulk_, tick_, resized_, mouseDown_, keyDown_, keyPress_, cellChanged_,
        beforeEdit_, startEdit_, afterEdit_;
};

}  // namespace qlmib
