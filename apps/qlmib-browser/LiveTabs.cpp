#include "LiveTabs.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTabBar>

#include <qlmib/mibdata/OID.h>
#include <qlmib/snmp/MIBBrowser.h>
#include <qlmib/snmp/MIBTable.h>

#include "ControlHost.h"
#include "EngineMessages.h"
#include "FindTarget.h"

namespace qlmib::browser {

// The subscriptions that follow one live control for the window.
struct LiveTabs::Session {
    LiveControl* control;
    QWidget* page;
    QString what;
    AgentTarget target;
    int rowsAtStart = 0;
    int rowsBefore = 0;  // before the answer being handled
    Subscription active, values, value, beforeEdit, afterEdit;

    int rows() const { return std::max(0, control->getTableObject().getRows() - 1); }
};

namespace {

// Name, index, value, type and OID of each instance.
constexpr const char* kWalkColumns = "1,4,10,7,0";

// The OID a dropped text names: its first line up to a TAB, an OID or a name.
std::string droppedOID(const QMimeData* data) {
    if (!data->hasText()) return {};
    QString first = data->text().section(QLatin1Char('\n'), 0, 0).section(QLatin1Char('\t'), 0, 0).trimmed();
    if (first.endsWith(QLatin1Char('\r'))) first.chop(1);
    return FindTarget(first.toStdString());
}

}  // namespace

LiveTabs::LiveTabs(ControlHost& host, QWidget* parent) : QTabWidget(parent), host_(host) {
    setObjectName(QStringLiteral("LiveTabs"));
    setDocumentMode(true);
    setTabsClosable(true);
    setMovable(false);
    setAcceptDrops(true);
    walk_ = std::make_unique<MIBBrowser>(host_.toolkit());
    walk_->setCols(kWalkColumns);
    auto* page = host_.place(*walk_, this);
    addTab(page, QStringLiteral("Walk"));
    tabBar()->setTabButton(0, QTabBar::RightSide, nullptr);
    tabBar()->setTabButton(0, QTabBar::LeftSide, nullptr);
    track(*walk_, page, QStringLiteral("Walking"));
    connect(this, &QTabWidget::tabCloseRequested, this, &LiveTabs::closeTable);
}

LiveTabs::~LiveTabs() {
    // The sessions watch the controls: they go first.
    sessions_.clear();
}

LiveTabs::Session& LiveTabs::track(LiveControl& control, QWidget* page, QString what) {
    auto session = std::make_unique<Session>();
    auto* s = session.get();
    s->control = &control;
    s->page = page;
    s->what = std::move(what);
    s->active = control.Active.subscribe([this, s](bool status) {
        if (status) s->rowsAtStart = s->rowsBefore = s->rows();
        Q_EMIT busyChanged(status, s->what);
        if (!status) Q_EMIT rowsReceived(s->rows());
    });
    // Runs after the control has taken the answer in, so the grid holds its rows.
    auto answered = [this, s] {
        auto& engine = s->control->SNMP();
        // A failed answer may have added a row of its own: it counts as none received.
        const auto text = DescribeAnswer({engine.getErrorCode(), engine.getErrorText(), s->target.agent,
                                          s->rowsBefore - s->rowsAtStart});
        s->rowsBefore = s->rows();
        Q_EMIT rowsReceived(s->rows());
        if (!text.empty()) Q_EMIT failed(QString::fromStdString(text));
    };
    s->values = control.SNMP().ValuesReceived.subscribe(
        [answered](const std::string&, const std::vector<std::string>&, const std::vector<int>&,
                   const std::vector<std::string>&, const std::vector<std::string>&) { answered(); });
    s->value = control.SNMP().ValueReceived.subscribe(
        [answered](const std::string&, const std::string&, int, const std::string&, const std::string&,
                   const std::string&) { answered(); });
    // A value typed into the grid is written with the write community.
    s->beforeEdit = control.getTableObject().BeforeEdit.subscribe([s](std::int32_t, std::int32_t, bool& cancel) {
        if (!cancel) s->control->setCommunity(s->target.writeCommunity);
    });
    s->afterEdit = control.getTableObject().AfterEdit.subscribe(
        [s](std::int32_t, std::int32_t) { s->control->setCommunity(s->target.readCommunity); });
    sessions_.push_back(std::move(session));
    return *s;
}

LiveTabs::Session* LiveTabs::sessionOf(const LiveControl& control) {
    for (auto& s : sessions_)
        if (s->control == &control) return s.get();
    return nullptr;
}

std::optional<AgentTarget> LiveTabs::target() const { return target_ ? target_() : AgentTarget{}; }

void LiveTabs::aim(LiveControl& control, const AgentTarget& target) {
    target.aim(control);
    if (auto* s = sessionOf(control)) s->target = target;
}

MIBTable* LiveTabs::currentTable() {
    for (auto& s : sessions_)
        if (s->page == currentWidget() && s->control != walk_.get()) return static_cast<MIBTable*>(s->control);
    return nullptr;
}

LiveControl& LiveTabs::currentControl() {
    if (auto* table = currentTable()) return *table;
    return *walk_;
}

bool LiveTabs::busy() const {
    for (const auto& s : sessions_)
        if (s->control->getBusy()) return true;
    return false;
}

void LiveTabs::walk(const std::string& oid) {
    const auto aimAt = target();
    if (!aimAt) return;
    setCurrentIndex(0);
    aim(*walk_, *aimAt);
    walk_->GetOID(oid);
}

void LiveTabs::get(const std::string& oid) {
    const auto aimAt = target();
    if (!aimAt) return;
    setCurrentIndex(0);
    aim(*walk_, *aimAt);
    walk_->GetNextOID(0, oid);
}

void LiveTabs::next() {
    const auto aimAt = target();
    if (!aimAt) return;
    setCurrentIndex(0);
    aim(*walk_, *aimAt);
    // The instance after the chosen row. The control on its own goes on from the
    // object last asked for, which a Get leaves behind: nothing, or the row it listed.
    const auto from = walk_->getSelectedOID();
    walk_->GetNextOID(0, from.empty() ? "x" : from);
}

void LiveTabs::openTable(const std::string& oid) {
    const auto aimAt = target();
    if (!aimAt) return;
    OID object;
    object.setFullName(oid);
    auto table = std::make_unique<MIBTable>(host_.toolkit());
    auto* page = host_.place(*table, this);
    const QString name = QString::fromStdString(object.getName().empty() ? oid : object.getName());
    track(*table, page, QStringLiteral("Downloading ") + name);
    auto* control = table.get();
    tables_.push_back(std::move(table));
    setCurrentIndex(addTab(page, name));
    setTabToolTip(currentIndex(), QString::fromStdString(object.getOID()));
    aim(*control, *aimAt);
    control->GetTable(oid);
}

void LiveTabs::stop() {
    for (auto& s : sessions_)
        if (s->control->getBusy()) s->control->Cancel();
}

void LiveTabs::refresh() {
    const auto aimAt = target();
    if (!aimAt) return;
    aim(currentControl(), *aimAt);
    if (auto* table = currentTable())
        table->RefreshTable();
    else
        walk_->RefreshAll();
}

void LiveTabs::closeTable(int index) {
    if (index <= 0) return;
    QWidget* page = widget(index);
    auto s = std::find_if(sessions_.begin(), sessions_.end(), [&](const auto& x) { return x->page == page; });
    if (s == sessions_.end()) return;
    LiveControl* control = (*s)->control;
    if (control->getBusy()) control->Cancel();
    if ((*s)->control->getBusy()) Q_EMIT busyChanged(false, (*s)->what);
    sessions_.erase(s);
    removeTab(index);
    std::erase_if(tables_, [&](const auto& t) { return t.get() == control; });
    page->deleteLater();
}

bool LiveTabs::dropWalks(const QPoint& position) const {
    const QPoint onBar = tabBar()->mapFrom(this, position);
    if (tabBar()->rect().contains(onBar)) return tabBar()->tabAt(onBar) == 0;
    return currentIndex() == 0;
}

void LiveTabs::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasText()) event->acceptProposedAction();
}

void LiveTabs::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData()->hasText()) event->acceptProposedAction();
}

void LiveTabs::dropEvent(QDropEvent* event) {
    const auto oid = droppedOID(event->mimeData());
    if (oid.empty()) return;
    event->acceptProposedAction();
    const bool walks = dropWalks(event->position().toPoint());
    // Not inside the drop: the drag's source waits for it to return.
    QMetaObject::invokeMethod(
        this, [this, oid, walks] { walks ? walk(oid) : openTable(oid); }, Qt::QueuedConnection);
}

}  // namespace qlmib::browser
