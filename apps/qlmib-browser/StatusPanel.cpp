#include "StatusPanel.h"

#include <QLabel>

namespace qlmib::browser {

namespace {

QString rowCount(int rows) { return rows == 1 ? QStringLiteral("1 row") : QStringLiteral("%1 rows").arg(rows); }

}  // namespace

StatusPanel::StatusPanel(QWidget* parent) : QStatusBar(parent) {
    agent_ = new QLabel(this);
    busy_ = new QLabel(QStringLiteral("Ready"), this);
    error_ = new QLabel(this);
    error_->setObjectName(QStringLiteral("LastError"));
    error_->setStyleSheet(QStringLiteral("color: #b00000"));
    error_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    addWidget(busy_);
    addWidget(error_, 1);
    addPermanentWidget(agent_);
    tick_.setInterval(200);
    connect(&tick_, &QTimer::timeout, this, &StatusPanel::showBusy);
    setAgent({});
}

void StatusPanel::setAgent(const QString& agent) {
    agent_->setText(agent.isEmpty() ? QStringLiteral("No agent") : QStringLiteral("Agent: ") + agent);
}

void StatusPanel::beginBusy(const QString& what) {
    what_ = what;
    rows_ = 0;
    clock_.start();
    tick_.start();
    setLastError({});
    showBusy();
}

// Shown on the next tick: a new text on every answer would lay the window
// out again on every answer.
void StatusPanel::setRows(int rows) { rows_ = rows; }

void StatusPanel::endBusy() {
    if (!busy()) return;
    tick_.stop();
    busy_->setText(QStringLiteral("Ready: %1 in %2 s")
                       .arg(rowCount(rows_))
                       .arg(static_cast<double>(clock_.elapsed()) / 1000.0, 0, 'f', 1));
    clock_.invalidate();
}

void StatusPanel::setLastError(const QString& text) {
    error_->setText(text);
    error_->setToolTip(text);
}

QString StatusPanel::lastError() const { return error_->text(); }

QString StatusPanel::busyText() const { return busy_->text(); }

void StatusPanel::showBusy() {
    busy_->setText(QStringLiteral("%1… %2 s, %3 received")
                       .arg(what_)
                       .arg(static_cast<double>(clock_.elapsed()) / 1000.0, 0, 'f', 1)
                       .arg(rowCount(rows_)));
}

}  // namespace qlmib::browser
