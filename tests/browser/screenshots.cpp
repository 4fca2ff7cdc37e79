// Renders the browser's main window in its typical states to PNG files:
// browser_screenshots OUTDIR. Runs offscreen on the test database and agent.

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <filesystem>

#include <qlmib/mibx/ManageMIBs.h>
#include <qlmib/snmp/MIBBrowser.h>
#include <qlmib/tree/MIBTree.h>

#include "AgentBar.h"
#include "BrowserFixture.h"
#include "ControlDialog.h"
#include "ControlHost.h"
#include "ImportDialog.h"
#include "LiveTabs.h"
#include "MainWindow.h"

using namespace qlmib;
using namespace qlmib::browser;

namespace {

QString outFolder;

void write(const QPixmap& picture, const QString& name, QSize size) {
    const QString file = QStringLiteral("%1/%2-%3x%4.png").arg(outFolder, name).arg(size.width()).arg(size.height());
    if (!picture.save(file)) std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
    else std::printf("%s\n", qPrintable(file));
}

void save(QWidget& widget, const QString& name, QSize size) {
    QApplication::processEvents();
    QTest::qWait(50);
    write(widget.grab(), name, size);
}

// What the screen shows of the window now, as last painted: a grid that holds
// its redraw off between the ticks of a walk would render blank afresh.
void saveScreen(QWidget& window, const QString& name, QSize size) {
    write(window.screen()->grabWindow(window.winId()), name, size);
}

// A top-level window other than the main window, opened last.
QWidget* newestWindow(QWidget* besides) {
    QWidget* found = nullptr;
    for (auto* w : QApplication::topLevelWidgets())
        if (w != besides && w->isVisible() && !w->inherits("QMenu")) found = w;
    return found;
}

void render(QSize size) {
    ControlHost host;
    MainWindow window(host);
    window.resize(size);
    window.show();
    window.agentBar().setAgent(QString::fromStdString(test::SnmpAgent::Shared().address()));
    QTest::keyClicks(&window.findBox(), QStringLiteral("ifAdminStatus"));
    window.tree().ExpandOID("1.3.6.1.2.1.2.2.1");
    save(window, QStringLiteral("tree-details"), size);

    // Small requests with SNMP v1 keep the walk running long enough to be seen mid-way.
    window.findObject(QStringLiteral("iso"));
    window.agentBar().setVersion("1");
    window.agentBar().walkAction->trigger();
    test::WaitFor([&] { return window.liveTabs().walkTab().getTableObject().getRows() > 60; }, 5000);
    // A few ticks of the walk's timer, each painting the rows that came in.
    QTest::qWait(1200);
    saveScreen(window, QStringLiteral("walk"), size);
    window.liveTabs().stop();
    test::WaitFor([&] { return !window.liveTabs().busy(); });

    window.agentBar().setVersion("2c");
    window.findObject(QStringLiteral("ifTable"));
    window.agentBar().tableAction->trigger();
    test::WaitFor([&] { return !window.liveTabs().busy(); });
    save(window, QStringLiteral("table"), size);

    window.tree().SearchMIBTree();
    if (auto* search = newestWindow(&window)) {
        search->resize(size.width() * 6 / 10, size.height() * 7 / 10);
        QLineEdit* name = nullptr;
        for (auto* box : search->findChildren<QLineEdit*>())
            if (box->isVisible()) name = box;
        if (name) {
            name->selectAll();  // the window is shared: the last size's pattern is still there
            QTest::keyClicks(name, QStringLiteral("ifIn*"));
            for (auto* button : search->findChildren<QPushButton*>())
                if (button->isVisible() && button->text() == QStringLiteral("Search")) button->click();
            QApplication::processEvents();
        }
        save(*search, QStringLiteral("search"), size);
        search->close();
    }

    auto* manager = window.manageModules();
    manager->resize(size.width() * 6 / 10, size.height() * 6 / 10);
    save(*manager, QStringLiteral("modules"), size);
    manager->close();

    const auto corpus = test::corpusFolder();
    auto* import = window.importFiles({QString::fromStdString(corpus + "/UDP-MIB.txt"),
                                       QString::fromStdString(corpus + "/TUNNEL-MIB.txt")});
    test::WaitFor([&] { return !import->reportText().isEmpty(); }, 60000);
    save(*import, QStringLiteral("import-report"), size);
    import->close();
    // The next size starts from the database as built.
    ManageMIBs modules(host.toolkit());
    for (const char* module : {"UDP-MIB", "TUNNEL-MIB"}) modules.DeleteMIB(module);
    window.close();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: browser_screenshots OUTDIR\n");
        return 2;
    }
    outFolder = QString::fromLocal8Bit(argv[1]);
    std::filesystem::create_directories(argv[1]);
    if (!test::BrowserHome()) {
        std::fprintf(stderr, "the MIB corpus ../shared/mibs is absent\n");
        return 1;
    }
    for (const QSize size : {QSize(1280, 800), QSize(1920, 1080)}) {
        render(size);
    }
    test::ReleaseBrowserHome();
    return 0;
}
