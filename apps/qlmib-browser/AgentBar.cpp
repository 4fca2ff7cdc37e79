#include "AgentBar.h"

#include <QAction>
#include <QComboBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>

#include <qlmib/common/Error.h>

#include "AgentProfileDialog.h"

namespace qlmib::browser {

namespace {

QAction* makeAction(QToolBar* bar, const QString& text, const QKeySequence& key, const QString& tip,
                    QStyle::StandardPixmap icon) {
    auto* action = bar->addAction(bar->style()->standardIcon(icon), text);
    action->setShortcut(key);
    action->setToolTip(QStringLiteral("%1 (%2)").arg(tip, key.toString(QKeySequence::NativeText)));
    action->setShortcutContext(Qt::WindowShortcut);
    return action;
}

QLineEdit* communityBox(QToolBar* bar, const QString& label, const QString& text, QList<QAction*>& fields) {
    fields << bar->addWidget(new QLabel(label + QLatin1Char(' '), bar));
    auto* box = new QLineEdit(text, bar);
    box->setMaximumWidth(box->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 14);
    box->setEchoMode(QLineEdit::PasswordEchoOnEdit);
    fields << bar->addWidget(box);
    return box;
}

}  // namespace

AgentBar::AgentBar(QWidget* parent) : QToolBar(QStringLiteral("Agent"), parent) {
    setObjectName(QStringLiteral("AgentBar"));
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    addWidget(new QLabel(QStringLiteral("Agent "), this));
    agent_ = new QComboBox(this);
    agent_->setObjectName(QStringLiteral("Agent"));
    agent_->setEditable(true);
    agent_->setInsertPolicy(QComboBox::NoInsert);
    agent_->setMinimumContentsLength(22);
    agent_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    agent_->lineEdit()->setPlaceholderText(QStringLiteral("host, host:port or udp6:[address]:port"));
    agent_->setToolTip(QStringLiteral("The agent to ask: HOST, HOST:PORT or udp6:[ADDRESS]:PORT"));
    addWidget(agent_);
    addWidget(new QLabel(QStringLiteral(" Version "), this));
    version_ = new QComboBox(this);
    version_->setObjectName(QStringLiteral("Version"));
    version_->addItems({QStringLiteral("1"), QStringLiteral("2c"), QStringLiteral("3")});
    version_->setCurrentIndex(1);
    addWidget(version_);
    readCommunity_ = communityBox(this, QStringLiteral(" Read"), QStringLiteral("public"), communityFields_);
    readCommunity_->setToolTip(QStringLiteral("Community for reading"));
    writeCommunity_ = communityBox(this, QStringLiteral(" Write"), QStringLiteral("private"), communityFields_);
    writeCommunity_->setToolTip(QStringLiteral("Community for writing values"));
    profileFields_ << addWidget(new QLabel(QStringLiteral(" Profile "), this));
    profile_ = new QComboBox(this);
    profile_->setObjectName(QStringLiteral("Profile"));
    profile_->setMinimumContentsLength(12);
    profile_->setToolTip(QStringLiteral("The saved agent whose SNMPv3 credentials the requests use"));
    profileFields_ << addWidget(profile_);
    profilesAction = addAction(QStringLiteral("Profiles..."));
    profilesAction->setToolTip(QStringLiteral("Add or change a saved agent"));
    profileFields_ << profilesAction;
    connect(profilesAction, &QAction::triggered, this, &AgentBar::editProfiles);
    connect(profile_, &QComboBox::textActivated, this, &AgentBar::takeProfileAddress);
    connect(version_, &QComboBox::currentIndexChanged, this, [this] { showVersionFields(); });
    fillProfileList();
    showVersionFields();
    addSeparator();
    getAction = makeAction(this, QStringLiteral("Get"), QKeySequence(Qt::CTRL | Qt::Key_G),
                           QStringLiteral("Get the selected object's instance"), QStyle::SP_ArrowDown);
    nextAction = makeAction(this, QStringLiteral("Next"), QKeySequence(Qt::CTRL | Qt::Key_N),
                            QStringLiteral("Get the next instance"), QStyle::SP_ArrowForward);
    walkAction = makeAction(this, QStringLiteral("Walk"), QKeySequence(Qt::CTRL | Qt::Key_W),
                            QStringLiteral("Walk from the selected node"), QStyle::SP_MediaPlay);
    tableAction = makeAction(this, QStringLiteral("Table"), QKeySequence(Qt::CTRL | Qt::Key_T),
                             QStringLiteral("Download the selected table"), QStyle::SP_FileDialogDetailedView);
    stopAction = makeAction(this, QStringLiteral("Stop"), QKeySequence(Qt::Key_Escape),
                            QStringLiteral("Stop the running request"), QStyle::SP_MediaStop);
    refreshAction = makeAction(this, QStringLiteral("Refresh"), QKeySequence(QKeySequence::Refresh),
                               QStringLiteral("Ask the agent again for the shown values"), QStyle::SP_BrowserReload);
    stopAction->setEnabled(false);
}

QString AgentBar::agent() const { return agent_->currentText().trimmed(); }

void AgentBar::setAgent(const QString& agent) { agent_->setEditText(agent); }

std::int16_t AgentBar::version() const { return static_cast<std::int16_t>(version_->currentIndex() + 1); }

void AgentBar::setVersion(const std::string& text) {
    version_->setCurrentIndex(text == "1" ? 0 : text == "3" ? 2 : 1);
}

std::string AgentBar::versionText() const { return version_->currentText().toStdString(); }

QString AgentBar::readCommunity() const { return readCommunity_->text(); }

QString AgentBar::writeCommunity() const { return writeCommunity_->text(); }

std::optional<snmp::AgentProfile> AgentBar::profile() const {
    if (profile_->currentText().isEmpty()) return std::nullopt;
    return snmp::AgentProfiles().Find(profile_->currentText().toStdString());
}

void AgentBar::setProfile(const QString& name) {
    fillProfileList();
    profile_->setCurrentIndex(profile_->findText(name));
    takeProfileAddress();
}

void AgentBar::editProfiles() {
    std::optional<snmp::AgentProfile> chosen;
    try {
        chosen = profile();
    } catch (const Error& e) {
        Q_EMIT problem(QString::fromStdString(e.Description()));
        return;
    }
    snmp::AgentProfile edited;
    if (chosen) {
        edited = *chosen;
    } else {
        edited.version = 3;
        edited.address = agent().toStdString();
    }
    const snmp::AgentProfiles store;
    AgentProfileDialog dialog(edited, &store, this);
    if (dialog.exec() == QDialog::Accepted) setProfile(QString::fromStdString(dialog.profile().name));
}

void AgentBar::fillProfileList() {
    const QString chosen = profile_->currentText();
    profile_->clear();
    for (const auto& name : snmp::AgentProfiles().Names()) profile_->addItem(QString::fromStdString(name));
    if (const int index = profile_->findText(chosen); index >= 0) profile_->setCurrentIndex(index);
}

void AgentBar::showVersionFields() {
    const bool v3 = version() == 3;
    for (auto* field : communityFields_) field->setVisible(!v3);
    for (auto* field : profileFields_) field->setVisible(v3);
}

void AgentBar::takeProfileAddress() {
    try {
        if (const auto chosen = profile(); chosen && !chosen->address.empty())
            setAgent(QString::fromStdString(chosen->address));
    } catch (const Error& e) {
        Q_EMIT problem(QString::fromStdString(e.Description()));
    }
}

void AgentBar::setRecent(RecentAgents recent) {
    recent_ = std::move(recent);
    fillAgentList();
}

void AgentBar::rememberAgent() {
    recent_.Remember(agent().toStdString());
    fillAgentList();
}

void AgentBar::fillAgentList() {
    const QString typed = agent_->currentText();
    agent_->clear();
    for (const auto& known : recent_.agents()) agent_->addItem(QString::fromStdString(known));
    agent_->setEditText(typed.isEmpty() && agent_->count() ? agent_->itemText(0) : typed);
}

}  // namespace qlmib::browser
