#include "MainWindow.h"

#include <QAction>
#include <algorithm>
#include <vector>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>

#include <qlmib/common/Error.h>
#include <qlmib/mibdata/OID.h>
#include <qlmib/snmp/MIBBrowser.h>
#include <qlmib/snmp/MIBTable.h>
#include <qlmib/snmp/Settings.h>
#include <qlmib/tree/MIBTree.h>
#include <qlmib/tree/OIDDetails.h>
#include <qlmib/ui/InputCodes.h>
#include <qlmib/ui/Toolkit.h>

#include "AgentBar.h"
#include "ControlHost.h"
#include "FindTarget.h"
#include "LiveTabs.h"
#include "ProfileSecurity.h"
#include "StatusPanel.h"
#include "TableNode.h"

namespace qlmib::browser {

namespace {

QByteArray fromBase64(const std::string& text) { return QByteArray::fromBase64(QByteArray::fromStdString(text)); }
std::string toBase64(const QByteArray& bytes) { return bytes.toBase64().toStdString(); }

// The widgets under `root` that Tab reaches, in the order of the window's focus chain.
std::vector<QWidget*> tabStops(QWidget& window, const QWidget& root) {
    std::vector<QWidget*> stops;
    for (QWidget* w = window.nextInFocusChain(); w != &window; w = w->nextInFocusChain())
        if ((w->focusPolicy() & Qt::TabFocus) && (w == &root || root.isAncestorOf(w))) stops.push_back(w);
    return stops;
}

constexpr const char* kDefaultWalkRoot = "1.3.6.1.2.1";
constexpr std::size_t kTreeNameLetters = 40;
constexpr std::int32_t kScrollBarTwips = 400;
// Completes the window after its first paint.
const auto kCompleteEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

}  // namespace

MainWindow::MainWindow(ControlHost& host, QWidget* parent) : QMainWindow(parent), host_(host) {
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("QLMIBTree Browser"));
    settings_ = Settings::Shared();
    stored_ = BrowserState::Load(*settings_);
    buildTreePane();
    restoreTreePane();
}

MainWindow::~MainWindow() = default;

bool MainWindow::event(QEvent* event) {
    // Posted from inside the first paint at low priority: the rest is built
    // once that paint has been shown and what else was pending has run.
    if (event->type() == QEvent::Paint && !complete_ && !completionPosted_) {
        completionPosted_ = true;
        QCoreApplication::postEvent(this, new QEvent(kCompleteEvent), Qt::LowEventPriority);
    }
    if (event->type() == kCompleteEvent) {
        completeWindow();
        return true;
    }
    return QMainWindow::event(event);
}

void MainWindow::completeWindow() {
    if (complete_) return;
    complete_ = true;
    buildLiveParts();
    buildMenus();
    connectActions();
    restoreLiveParts();
    restoreFocusOrder();
    followCurrentNode();
    Q_EMIT completed();
}

void MainWindow::buildTreePane() {
    mainSplitter_ = new QSplitter(Qt::Horizontal, this);
    mainSplitter_->setObjectName(QStringLiteral("MainSplitter"));
    auto* left = new QWidget(mainSplitter_);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(4, 4, 0, 0);
    leftLayout->setSpacing(4);
    findBox_ = new QLineEdit(left);
    findBox_->setObjectName(QStringLiteral("FindBox"));
    findBox_->setPlaceholderText(QStringLiteral("Find a name or OID (Enter: search window)"));
    leftLayout->addWidget(findBox_);
    tree_ = std::make_unique<MIBTree>(host_.toolkit());
    // The details of the current node have their own pane on the right.
    tree_->setDetailsVisible(false);
    tree_->DetailsView().setVisible(false);
    tree_->setDragMethod(MIBSelection_OIDList);
    leftLayout->addWidget(host_.place(*tree_, left), 1);
    // Blank places for the details and the live tabs until the window is
    // complete, so that both splitters have their final layout from the start.
    rightSplitter_ = new QSplitter(Qt::Vertical, mainSplitter_);
    rightSplitter_->setObjectName(QStringLiteral("RightSplitter"));
    new QWidget(rightSplitter_);
    new QWidget(rightSplitter_);
    rightSplitter_->setStretchFactor(0, 2);
    rightSplitter_->setStretchFactor(1, 3);
    mainSplitter_->setStretchFactor(0, 2);
    mainSplitter_->setStretchFactor(1, 3);
    setCentralWidget(mainSplitter_);

    treeResize_ = tree_->Resize.subscribe([this] { widenTreeColumn(); });
    connect(findBox_, &QLineEdit::textEdited, this, [this](const QString& text) { findObject(text); });
    connect(findBox_, &QLineEdit::returnPressed, this, [this] {
        if (!findObject(findBox_->text()) || findBox_->text().contains(QLatin1Char('*'))) tree_->SearchMIBTree();
    });
}

void MainWindow::restoreTreePane() {
    if (!restoreGeometry(fromBase64(stored_.geometry))) resize(1280, 800);
    if (!mainSplitter_->restoreState(fromBase64(stored_.mainSplitter))) mainSplitter_->setSizes({420, 860});
    if (!rightSplitter_->restoreState(fromBase64(stored_.rightSplitter))) rightSplitter_->setSizes({260, 440});
    // The details and actions follow the node once the window is complete.
    if (refreshTree() && !stored_.currentNode.empty()) tree_->SelectOID(stored_.currentNode);
}

void MainWindow::restoreFocusOrder() {
    // Tab goes from the bars to the tree pane, as it did when the bars were built first.
    auto* treePane = findBox_->parentWidget();
    auto previous = tabStops(*this, *agentBar_);
    if (previous.empty()) return;
    for (QWidget* stop : tabStops(*this, *treePane)) {
        QWidget::setTabOrder(previous.back(), stop);
        previous.push_back(stop);
    }
    // Shown without the bars, the window gave the focus to the find box; it
    // goes where it would have gone, unless the box is in use already.
    if (findBox_->hasFocus() && findBox_->text().isEmpty()) previous.front()->setFocus(Qt::ActiveWindowFocusReason);
}

void MainWindow::buildLiveParts() {
    // Its icon is read through Qt's image readers, which load their plugins;
    // the box starts empty, without the button in view.
    findBox_->setClearButtonEnabled(true);
    agentBar_ = new AgentBar(this);
    addToolBar(Qt::TopToolBarArea, agentBar_);
    status_ = new StatusPanel(this);
    setStatusBar(status_);
    details_ = std::make_unique<OIDDetails>(host_.toolkit());
    auto* detailsPane = host_.place(*details_, this);
    tabs_ = new LiveTabs(host_, this);
    tabs_->setTargetSource([this] { return currentTarget(); });
    // Each takes the place and size of its blank in the splitter.
    delete rightSplitter_->replaceWidget(0, detailsPane);
    delete rightSplitter_->replaceWidget(1, tabs_);
    // Bars added to a window already on screen would be shown a turn later,
    // leaving their shortcuts dead until then. The stored window state may
    // hide the agent bar again.
    agentBar_->show();
    status_->show();
}

void MainWindow::connectActions() {
    treeSelection_ = tree_->SelectionChanged.subscribe([this](OID& object) {
        showNodeDetails(object.getOID());
        tableNode_ = IsTableNode(object);
        updateActions();
    });
    treeMouse_ = tree_->MouseDown.subscribe([this](std::int16_t& button, std::int16_t&, float&, float&) {
        // After the control has moved its current row to the clicked node.
        if (button == ui::RightButton) QTimer::singleShot(0, this, &MainWindow::showTreeMenu);
    });
    auto& walk = tabs_->walkTab();
    walkSelection_ = walk.SelChange.subscribe([this, &walk](const std::string& oid) {
        // A walk that ends behind a table's tab reports its last row: the details stay on what is in view.
        if (oid.empty() || tabs_->currentIndex() != 0) return;
        details_->setOID(oid);
        details_->setRawValue(walk.getSelectedRawValue());
        details_->setParsedValue(walk.getSelectedParsedValue());
        detailsShowValue_ = true;
    });

    connect(agentBar_->getAction, &QAction::triggered, this, [this] { tabs_->get(selectedOrDefault()); });
    connect(agentBar_->nextAction, &QAction::triggered, this, [this] { tabs_->next(); });
    connect(agentBar_->walkAction, &QAction::triggered, this, [this] { tabs_->walk(selectedOrDefault()); });
    connect(agentBar_->tableAction, &QAction::triggered, this, [this] { tabs_->openTable(currentNode()); });
    connect(agentBar_->stopAction, &QAction::triggered, this, [this] { tabs_->stop(); });
    connect(agentBar_->refreshAction, &QAction::triggered, this, [this] { tabs_->refresh(); });
    for (auto* action : {agentBar_->getAction, agentBar_->nextAction, agentBar_->walkAction, agentBar_->tableAction,
                         agentBar_->refreshAction})
        connect(action, &QAction::triggered, this, [this] {
            agentBar_->rememberAgent();
            status_->setAgent(agentBar_->agent());
        });
    connect(agentBar_->agentBox(), &QComboBox::currentTextChanged, this, [this](const QString& agent) {
        status_->setAgent(agent.trimmed());
        updateActions();
    });
    connect(tabs_, &LiveTabs::busyChanged, this, &MainWindow::onBusyChanged);
    connect(tabs_, &LiveTabs::rowsReceived, status_, &StatusPanel::setRows);
    connect(tabs_, &LiveTabs::failed, this, &MainWindow::reportFailure);
    connect(agentBar_, &AgentBar::problem, this, &MainWindow::reportFailure);
    connect(tabs_, &QTabWidget::currentChanged, this, [this] { updateActions(); });
}

void MainWindow::restoreLiveParts() {
    agentBar_->setRecent(stored_.agents);
    agentBar_->setVersion(stored_.version);
    if (!stored_.agents.agents().empty()) status_->setAgent(agentBar_->agent());
    QMainWindow::restoreState(fromBase64(stored_.windowState));
}

BrowserState MainWindow::currentState() const {
    BrowserState state = stored_;
    state.geometry = toBase64(saveGeometry());
    state.windowState = toBase64(saveState());
    state.mainSplitter = toBase64(mainSplitter_->saveState());
    state.rightSplitter = toBase64(rightSplitter_->saveState());
    state.currentNode = const_cast<MainWindow*>(this)->currentNode();
    state.version = agentBar_->versionText();
    state.agents = agentBar_->recent();
    return state;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    completeWindow();
    tabs_->stop();
    const auto state = currentState();
    try {
        state.Save(*settings_, stored_);
        stored_ = state;
    } catch (const Error& e) {
        // Closing goes on: losing the window's layout is no reason to keep it open.
        QMessageBox::warning(this, windowTitle(),
                             QStringLiteral("The window's state could not be saved:\n%1")
                                 .arg(QString::fromStdString(e.Description())));
    }
    event->accept();
}

bool MainWindow::findObject(const QString& text) {
    completeWindow();
    std::string oid;
    try {
        oid = FindTarget(text.toStdString());
    } catch (const Error& e) {
        status_->setLastError(QString::fromStdString(e.Description()));
        return false;
    }
    findBox_->setStyleSheet(oid.empty() && !text.trimmed().isEmpty() ? QStringLiteral("color: #b00000")
                                                                      : QString());
    if (oid.empty()) return false;
    selectNode(oid);
    return true;
}

void MainWindow::selectNode(const std::string& oid) {
    completeWindow();
    // A change of node shows its details through the tree's SelectionChanged.
    tree_->SelectOID(oid);
    followCurrentNode();
}

void MainWindow::followCurrentNode() {
    const auto selected = tree_->getSelectedOID();
    if (detailsShowValue_ || details_->getOID() != selected->getOID()) showNodeDetails(selected->getOID());
    tableNode_ = IsTableNode(*selected);
    updateActions();
}

void MainWindow::showNodeDetails(const std::string& oid) {
    // A node of the tree has no value: one read from the agent belongs to the walk row it came from.
    if (detailsShowValue_) {
        details_->setRawValue({});
        details_->setParsedValue({});
        detailsShowValue_ = false;
    }
    details_->setOID(oid);
}

std::string MainWindow::currentNode() { return tree_->getSelectedOID()->getOID(); }

std::string MainWindow::selectedOrDefault() {
    const auto oid = currentNode();
    return oid.empty() ? kDefaultWalkRoot : oid;
}

void MainWindow::walkAgent(const QString& agent, const std::string& oid) {
    completeWindow();
    agentBar_->setAgent(agent);
    agentBar_->rememberAgent();
    status_->setAgent(agent);
    if (!oid.empty()) findObject(QString::fromStdString(oid));
    tabs_->walk(oid.empty() ? kDefaultWalkRoot : FindTarget(oid).empty() ? oid : FindTarget(oid));
}

void MainWindow::reloadDatabase() {
    completeWindow();
    const auto node = currentNode();
    if (refreshTree() && !node.empty()) selectNode(node);
}

bool MainWindow::refreshTree() {
    try {
        tree_->Refresh();
    } catch (const Error& e) {
        reportFailure(QString::fromStdString(e.Description()));
        return false;
    }
    widenTreeColumn();
    return true;
}

void MainWindow::widenTreeColumn() {
    // Names deep in the tree need more room than the control's own column gives
    // them: the column takes the pane's width, less room for the scroll bar.
    const auto letters = host_.toolkit().fontMetrics().TextWidth(std::string(kTreeNameLetters, 'X'),
                                                                 tree_->Tree.getFont());
    tree_->Tree.setColWidth(0, std::max(letters, tree_->getWidth() - kScrollBarTwips));
}

void MainWindow::updateActions() {
    const bool busy = tabs_->busy();
    const bool haveAgent = !agentBar_->agent().isEmpty();
    agentBar_->getAction->setEnabled(haveAgent && !busy);
    agentBar_->nextAction->setEnabled(haveAgent && !busy);
    agentBar_->walkAction->setEnabled(haveAgent && !busy);
    agentBar_->tableAction->setEnabled(haveAgent && tableNode_);
    agentBar_->refreshAction->setEnabled(haveAgent && !busy);
    agentBar_->stopAction->setEnabled(busy);
}

void MainWindow::onBusyChanged(bool busy, const QString& what) {
    if (busy)
        status_->beginBusy(what);
    else if (!tabs_->busy())
        status_->endBusy();
    updateActions();
    // The control reports the end before its last request has left the engine.
    QTimer::singleShot(0, this, [this] {
        if (!tabs_->busy()) status_->endBusy();
        updateActions();
    });
}

void MainWindow::reportFailure(const QString& text) {
    completeWindow();
    status_->setLastError(text);
}

std::optional<AgentTarget> MainWindow::currentTarget() {
    AgentTarget target;
    target.agent = agentBar_->agent().toStdString();
    target.version = agentBar_->version();
    target.readCommunity = agentBar_->readCommunity().toStdString();
    target.writeCommunity = agentBar_->writeCommunity().toStdString();
    if (target.version != 3) return target;
    std::optional<snmp::AgentProfile> profile;
    try {
        profile = agentBar_->profile();
    } catch (const Error& e) {
        reportFailure(QString::fromStdString(e.Description()));
        return std::nullopt;
    }
    if (!profile) {
        reportFailure(QStringLiteral("SNMPv3 needs a saved agent: choose a profile, or add one with Profiles..."));
        return std::nullopt;
    }
    const auto security = SecurityForRequest(*profile, this);
    if (!security) return std::nullopt;
    target.security = *security;
    target.timeout = profile->timeout;
    target.retries = profile->retries;
    target.requestSize = profile->requestSize;
    return target;
}

}  // namespace qlmib::browser
