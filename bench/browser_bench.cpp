// The desktop browser's speed, offscreen, with figures and ratios printed:
//  - start to a painted window with the tree's top levels on the default
//    database (browser_start_child: the browser's own start, to its first
//    painted tree), against a cold `qlmib tree` to its end (each a fresh process),
//    with the floor under it: a bare Qt window painted (qt_window_floor); and
//    the start to the complete window painted, which follows the tree;
//  - a walk of the whole test agent in the walk tab, against `qlmib walk`;
//  - typing in the find box on the generated 200,000-object database: the
//    slowest keystroke until its hit is selected.
// browser_bench [--home DIR]   (DIR: the default database's folder, build/bin)

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QLineEdit>
#include <QProcess>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <vector>

#include <qlmib/snmp/MIBBrowser.h>

#include "AgentBar.h"
#include "BenchDatabase.h"
#include "ControlHost.h"
#include "LiveTabs.h"
#include "MainWindow.h"
#include "SnmpAgent.h"

using namespace qlmib;

namespace {

// Starts are short and the machine is shared: enough of them for a steady median.
constexpr int kStartRuns = 15;

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Starts the program, its errors on ours; the clock runs from just before.
QElapsedTimer startTimed(QProcess& process, const QString& program, const QStringList& arguments) {
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    return clock;
}

// Wall milliseconds of one run of a program to its end.
double runMs(const QString& program, const QStringList& arguments) {
    QProcess process;
    const auto clock = startTimed(process, program, arguments);
    process.waitForFinished(120000);
    process.readAllStandardOutput();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        std::fprintf(stderr, "%s failed\n", qPrintable(program));
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

// Wall milliseconds from the start of a start child (the browser's or the
// floor's) to each of the lines it prints when something has been painted.
std::vector<double> paintedMs(const QString& program, const QStringList& arguments,
                              const std::vector<QByteArray>& lines) {
    QProcess process;
    const auto clock = startTimed(process, program, arguments);
    std::vector<double> ms;
    for (const auto& line : lines) {
        while (!process.canReadLine() && process.waitForReadyRead(120000)) {
        }
        ms.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        if (process.readLine().trimmed() != line)
            std::fprintf(stderr, "%s: no \"%s\"\n", qPrintable(program), line.constData());
    }
    process.waitForFinished(120000);
    return ms;
}

// In a child process on the generated database: the slowest keystroke.
int findChild() {
    bench::useBenchHome();
    browser::ControlHost host;
    browser::MainWindow window(host);
    window.show();
    QApplication::processEvents();
    double slowest = 0;
    for (const QString& typed : {QStringLiteral("e97g12o33"), QStringLiteral("ifInOctets"), QStringLiteral("zz")}) {
        window.findBox().clear();
        for (const QChar c : typed) {
            QElapsedTimer clock;
            clock.start();
            QTest::keyClick(&window.findBox(), c.toLatin1());
            slowest = std::max(slowest, static_cast<double>(clock.nsecsElapsed()) / 1e6);
        }
    }
    std::printf("%.2f\n", slowest);
    return window.currentNode().empty() ? 1 : 0;
}

double walkInWindowMs(const std::string& agent) {
    browser::ControlHost host;
    browser::MainWindow window(host);
    window.show();
    window.agentBar().setAgent(QString::fromStdString(agent));
    window.findObject(QStringLiteral("1.3.6.1"));
    QElapsedTimer clock;
    clock.start();
    // The window's own event loop: QTest::qWaitFor would sleep between turns.
    QEventLoop loop;
    QObject::connect(&window.liveTabs(), &browser::LiveTabs::busyChanged, &loop, [&](bool busy) {
        if (!busy) QTimer::singleShot(0, &loop, [&] {
            if (!window.liveTabs().busy()) loop.quit();
        });
    });
    window.agentBar().walkAction->trigger();
    loop.exec();
    const double ms = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    std::printf("  walk tab rows: %d\n", window.liveTabs().walkTab().getTableObject().getRows() - 1);
    window.close();
    return ms;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const auto arguments = QApplication::arguments();
    if (arguments.contains(QStringLiteral("--find-child"))) return findChild();

    const QString bin = QApplication::applicationDirPath();
    const auto homeAt = arguments.indexOf(QStringLiteral("--home"));
    const QString home = homeAt > 0 && homeAt + 1 < arguments.size() ? arguments[homeAt + 1] : bin;
    qputenv("QLMIB_HOME", home.toLocal8Bit());
    const QString self = QApplication::applicationFilePath();
    const QString cli = bin + QStringLiteral("/qlmib");

    std::vector<double> window, complete, tree, bare;
    for (int i = 0; i < kStartRuns; ++i) {
        const auto browser =
            paintedMs(bin + QStringLiteral("/browser_start_child"), {QStringLiteral("--home"), home}, {"painted", "complete"});
        window.push_back(browser[0]);
        complete.push_back(browser[1]);
        tree.push_back(runMs(cli, {QStringLiteral("--home"), home, QStringLiteral("tree")}));
        bare.push_back(paintedMs(bin + QStringLiteral("/qt_window_floor"), {}, {"painted"})[0]);
    }
    const double start = median(window), cold = median(tree), floor = median(bare);
    std::printf("start to painted window: %.1f ms (target <= 500); qlmib tree: %.1f ms; ratio %.2f (target <= 3)\n",
                start, cold, start / cold);
    std::printf("  floor: a bare Qt window with a 20-row tree, painted: %.1f ms; ratio %.2f\n", floor, floor / cold);
    std::printf("  the complete window painted: %.1f ms\n", median(complete));

    const auto agent = test::SnmpAgent::Shared().address();
    std::vector<double> tab, walk;
    for (int i = 0; i < 3; ++i) {
        tab.push_back(walkInWindowMs(agent));
        walk.push_back(runMs(cli, {QStringLiteral("--home"), home, QStringLiteral("walk"),
                                   QString::fromStdString(agent), QStringLiteral("1.3.6.1")}));
    }
    std::printf("walk of the test agent: walk tab %.1f ms; qlmib walk %.1f ms; ratio %.2f (target <= 1.2)\n",
                median(tab), median(walk), median(tab) / median(walk));

    QProcess find;
    find.start(self, {QStringLiteral("--find-child")});
    find.waitForFinished(600000);
    std::printf("find box on 200,000 objects: slowest keystroke to a selected hit %s ms (target <= 50)\n",
                find.readAllStandardOutput().trimmed().constData());
    return 0;
}
