#pragma once
// The live results: the walk tab (one MIBBrowser) and one closable tab per
// downloaded table (MIBTable), all asking the agent the agent bar names. A
// tree node dropped on the walk tab is walked; dropped anywhere else here,
// its table is downloaded. Reports busy state, rows and failures in words.

#include <QTabWidget>
#include <functional>
#include <memory>
#include <vector>

#include <qlmib/common/Event.h>

#include <optional>

#include "AgentTarget.h"

namespace qlmib {
class LiveControl;
class MIBBrowser;
class MIBTable;
}  // namespace qlmib

namespace qlmib::browser {

class ControlHost;

class LiveTabs : public QTabWidget {
    Q_OBJECT
public:
    LiveTabs(ControlHost& host, QWidget* parent = nullptr);
    ~LiveTabs() override;

    // Read before every request; nullopt leaves the request unsent (the
    // source has told why).
    using TargetSource = std::function<std::optional<AgentTarget>()>;
    void setTargetSource(TargetSource source) { target_ = std::move(source); }

    MIBBrowser& walkTab() { return *walk_; }
    // The table tab shown now; null on the walk tab.
    MIBTable* currentTable();
    // The control of the tab shown now.
    LiveControl& currentControl();
    int tableCount() const { return static_cast<int>(tables_.size()); }

    void walk(const std::string& oid);
    void get(const std::string& oid);
    void next();
    void openTable(const std::string& oid);
    void stop();
    void refresh();
    void closeTable(int index);
    bool busy() const;

Q_SIGNALS:
    void busyChanged(bool busy, const QString& what);
    void rowsReceived(int rows);
    // A failure of the engine in words.
    void failed(const QString& text);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    struct Session;
    Session& track(LiveControl& control, QWidget* page, QString what);
    Session* sessionOf(const LiveControl& control);
    std::optional<AgentTarget> target() const;
    void aim(LiveControl& control, const AgentTarget& target);
    bool dropWalks(const QPoint& position) const;

    ControlHost& host_;
    TargetSource target_;
    std::unique_ptr<MIBBrowser> walk_;
    std::vector<std::unique_ptr<MIBTable>> tables_;
    std::vector<std::unique_ptr<Session>> sessions_;
};

}  // namespace qlmib::browser
