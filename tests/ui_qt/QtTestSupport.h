#pragma once
// Helpers for driving real Qt widgets in tests: answering a modal dialog or
// a pop-up menu from inside the nested loop that shows it.

#include <QApplication>
#include <QTimer>
#include <functional>

namespace qlmib::test {

// Runs `act` on the first modal widget (or pop-up, with `popup`) that
// appears while the next blocking call runs its loop.
inline void WhenShown(std::function<void(QWidget&)> act, bool popup = false) {
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act = std::move(act), popup] {
        QWidget* shown = popup ? QApplication::activePopupWidget() : QApplication::activeModalWidget();
        if (!shown || !shown->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        act(*shown);
    });
    poll->start(5);
}

}  // namespace qlmib::test
