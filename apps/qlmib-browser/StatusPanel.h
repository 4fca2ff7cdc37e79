#pragma once
// The status bar: the agent, the busy state with its elapsed time and the
// number of rows received, and the engine's last error in words.

#include <QElapsedTimer>
#include <QStatusBar>
#include <QTimer>

class QLabel;

namespace qlmib::browser {

class StatusPanel : public QStatusBar {
    Q_OBJECT
public:
    explicit StatusPanel(QWidget* parent = nullptr);

    void setAgent(const QString& agent);
    // `what` ("Walking", "Downloading table"...) runs; rows counted from 0.
    void beginBusy(const QString& what);
    void setRows(int rows);
    void endBusy();
    bool busy() const { return clock_.isValid(); }
    void setLastError(const QString& text);
    QString lastError() const;
    QString busyText() const;

private:
    void showBusy();

    QLabel* agent_;
    QLabel* busy_;
    QLabel* error_;
    QString what_;
    int rows_ = 0;
    QElapsedTimer clock_;
    QTimer tick_;
};

}  // namespace qlmib::browser
