#pragma once
// The agent bar: which agent to ask and how (address with the recent ones
// to pick from, SNMP version, read and write community, or for SNMPv3 a
// saved agent profile), and the actions that ask it.

#include <QToolBar>

#include <optional>

#include <qlmib/snmp/AgentProfiles.h>

#include "RecentAgents.h"

class QAction;
class QComboBox;
class QLineEdit;

namespace qlmib::browser {

class AgentBar : public QToolBar {
    Q_OBJECT
public:
    explicit AgentBar(QWidget* parent = nullptr);

    QString agent() const;
    void setAgent(const QString& agent);
    // 1, 2 (for 2c) or 3.
    std::int16_t version() const;
    void setVersion(const std::string& text);
    std::string versionText() const;
    QString readCommunity() const;
    QString writeCommunity() const;

    // The saved agent chosen for version 3; nullopt when none is. Throws
    // Error(ERR_FILE) when its key file may be read by others.
    std::optional<snmp::AgentProfile> profile() const;
    void setProfile(const QString& name);
    // Opens the profile dialog on the chosen profile (a new one when none is).
    void editProfiles();

    const RecentAgents& recent() const { return recent_; }
    void setRecent(RecentAgents recent);
    // Puts the current agent first in the recent list.
    void rememberAgent();

    QAction* getAction;
    QAction* nextAction;
    QAction* walkAction;
    QAction* tableAction;
    QAction* stopAction;
    QAction* refreshAction;

    QAction* profilesAction;

    QComboBox* agentBox() const { return agent_; }

Q_SIGNALS:
    // A saved profile that cannot be read, in words.
    void problem(const QString& text);

private:
    void fillAgentList();
    void fillProfileList();
    void showVersionFields();
    void takeProfileAddress();

    QComboBox* agent_;
    QComboBox* version_;
    QLineEdit* readCommunity_;
    QLineEdit* writeCommunity_;
    QComboBox* profile_;
    QList<QAction*> communityFields_, profileFields_;
    RecentAgents recent_;
};

}  // namespace qlmib::browser
