#pragma once
// The agent bar: which agent to ask and how (address with the recent ones
// to pick from, SNMP version, read and write community), and the actions
// that ask it.

#include <QToolBar>

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
    // 1 or 2 (for 2c).
    std::int16_t version() const;
    void setVersion(const std::string& text);
    std::string versionText() const;
    QString readCommunity() const;
    QString writeCommunity() const;

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

    QComboBox* agentBox() const { return agent_; }

private:
    void fillAgentList();

    QComboBox* agent_;
    QComboBox* version_;
    QLineEdit* readCommunity_;
    QLineEdit* writeCommunity_;
    RecentAgents recent_;
};

}  // namespace qlmib::browser
