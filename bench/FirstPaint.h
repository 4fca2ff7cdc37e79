#pragma once
// What the start benchmark waits for in a start child: the first paint of a
// widget, flushed to the window. Prints a line then, and quits if asked to.

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <cstdio>

namespace qlmib::bench {

class FirstPaint : public QObject {
public:
    FirstPaint(const char* line, bool quit) : line_(line), quit_(quit) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // Runs once the paint under way, the whole window's, has been flushed.
            QTimer::singleShot(0, [this] {
                std::puts(line_);
                std::fflush(stdout);
                if (quit_) QApplication::quit();
            });
        }
        return false;
    }

private:
    const char* line_;
    bool quit_;
};

}  // namespace qlmib::bench
