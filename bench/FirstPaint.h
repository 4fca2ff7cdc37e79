#pragma once
// What the start benchmark waits for in a start child: the first paint of a
// view, flushed to the window. Prints "painted" then and quits.

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <cstdio>

namespace qlmib::bench {

class FirstPaint : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // Runs once the paint under way, the whole window's, has been flushed.
            QTimer::singleShot(0, [] {
                std::puts("painted");
                std::fflush(stdout);
                QApplication::quit();
            });
        }
        return false;
    }
};

}  // namespace qlmib::bench
