// The desktop browser's own start, as the start benchmark times it: the same
// code and libraries as qlmib-browser, printing "painted" once the MIB tree
// has been painted and "complete" once the complete window has, then quitting.
// browser_start_child [--home DIR]

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>

#include "BrowserStart.h"
#include "FirstPaint.h"
#include "MainWindow.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    qlmib::bench::FirstPaint tree("painted", false), complete("complete", true);
    return qlmib::browser::RunBrowser(app, [&](qlmib::browser::MainWindow& window) {
        // The tree sits under the find box.
        window.findBox().parentWidget()->findChild<QAbstractItemView*>()->viewport()->installEventFilter(&tree);
        QObject::connect(&window, &qlmib::browser::MainWindow::completed, &window,
                         [&] { window.installEventFilter(&complete); });
    });
}
