// The desktop browser's own start, as the start benchmark times it: the same
// code and libraries as qlmib-browser, printing "painted" once the MIB tree
// has been painted, then quitting.
// browser_start_child [--home DIR]

#include <QAbstractItemView>
#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QTimer>
#include <cstdio>

#include "BrowserStart.h"
#include "MainWindow.h"

namespace {

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

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    FirstPaint watcher;
    return qlmib::browser::RunBrowser(app, [&](qlmib::browser::MainWindow& window) {
        // The tree sits under the find box.
        window.findBox().parentWidget()->findChild<QAbstractItemView*>()->viewport()->installEventFilter(&watcher);
    });
}
