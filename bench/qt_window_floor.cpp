// The floor under the browser's start: a fresh process that shows a bare Qt
// window of the browser's size with a 20-row tree, printing "painted" once the
// tree has been painted, as browser_start_child does.

#include <QApplication>
#include <QMainWindow>
#include <QTreeWidget>

#include "FirstPaint.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    auto* tree = new QTreeWidget(&window);
    for (int i = 0; i < 20; ++i) new QTreeWidgetItem(tree, QStringList{QStringLiteral("node %1").arg(i)});
    window.setCentralWidget(tree);
    window.resize(1280, 800);
    qlmib::bench::FirstPaint watcher("painted", true);
    tree->viewport()->installEventFilter(&watcher);
    window.show();
    return QApplication::exec();
}
