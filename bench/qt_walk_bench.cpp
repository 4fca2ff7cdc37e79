// A full walk of the test agent streaming into a MIBBrowser shown in a Qt
// window (offscreen), against the same walk on the headless toolkit. Prints
// the rows, both times (median of several runs), their ratio, and the
// longest time the window went without painting while it asked to be
// painted every 10 ms.

#include <time.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include <qlmib/snmp/MIBBrowser.h>
#include <qlmib/ui/HeadlessToolkit.h>
#include <qlmib/ui/qt/QtToolkit.h>

#include "BenchDatabase.h"
#include "SnmpAgent.h"

namespace {

using namespace qlmib;

constexpr int kRuns = 5;

struct Walk {
    double seconds = 0;
    double cpuSeconds = 0;
    std::int32_t rows = 0;
};

// CPU time of this thread: on a machine shared with other jobs, wall time
// also counts the waits for a core.
double threadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

Walk walk(ui::Toolkit& toolkit, MIBBrowser& browser, const std::string& agent) {
    browser.Clear();
    browser.setIP(agent);
    browser.setCommunity("public");
    browser.setSNMPVersion(2);
    bool active = false;
    auto activity = browser.Active.subscribe([&](bool status) { active = status; });
    QElapsedTimer clock;
    clock.start();
    const auto cpuStart = threadCpuSeconds();
    browser.GetOID("1.3.6.1");
    toolkit.eventLoop().runUntil([&] { return !active; }, 300000);
    return {static_cast<double>(clock.nsecsElapsed()) / 1e9, threadCpuSeconds() - cpuStart,
            browser.getTableObject().getRows()};
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The longest time between two paints of a widget.
class PaintGaps : public QObject {
public:
    explicit PaintGaps(QWidget& widget) { widget.installEventFilter(this); }
    void start() {
        clock_.start();
        last_ = 0;
        longest_ = 0;
    }
    qint64 longest() const { return std::max(longest_, clock_.elapsed() - last_); }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            longest_ = std::max(longest_, clock_.elapsed() - last_);
            last_ = clock_.elapsed();
        }
        return false;
    }

private:
    QElapsedTimer clock_;
    qint64 last_ = 0, longest_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bench::useBenchHome();
    test::SnmpAgent agent;

    ui::HeadlessToolkit headless;
    MIBBrowser reference(headless);

    ui::qt::QtToolkit toolkit;
    QWidget window;
    window.resize(900, 700);
    MIBBrowser browser(toolkit);
    ui::qt::place(browser, toolkit, &window);
    window.show();
    PaintGaps gaps(window);
    // The window asks to be painted every 10 ms, as an animation would.
    QTimer frames;
    QObject::connect(&frames, &QTimer::timeout, &window, [&] { window.update(); });
    frames.start(10);

    std::vector<double> headlessTimes, qtTimes, headlessCpu, qtCpu;
    qint64 longestGap = 0;
    std::int32_t rows = 0, headlessRows = 0;
    for (int run = 0; run < kRuns; ++run) {
        const Walk plain = walk(headless, reference, agent.address());
        headlessTimes.push_back(plain.seconds);
        headlessCpu.push_back(plain.cpuSeconds);
        headlessRows = plain.rows;
        gaps.start();
        const Walk shown = walk(toolkit, browser, agent.address());
        longestGap = std::max(longestGap, gaps.longest());
        qtTimes.push_back(shown.seconds);
        qtCpu.push_back(shown.cpuSeconds);
        rows = shown.rows;
    }
    const double h = median(headlessTimes), q = median(qtTimes);
    std::printf("rows: %d (headless %d)\n", rows, headlessRows);
    std::printf("headless walk: %.3f s (CPU %.3f s)\n", h, median(headlessCpu));
    std::printf("Qt walk:       %.3f s (CPU %.3f s)\n", q, median(qtCpu));
    std::printf("ratio Qt/headless: %.3f (target <= 1.10)\n", q / h);
    std::printf("longest time without a paint during the Qt walks: %lld ms (target <= 50)\n",
                static_cast<long long>(longestGap));
    return 0;
}
