// The grid on screen, offscreen: a 100,000 x 10 table scrolled page by page
// to the end and back (the slowest frame and the memory the view adds to the
// grid's own), and a tree node with 10,000 children expanded (children loaded
// by the expanding handler, as the tree controls do, and already loaded) and
// collapsed again. Prints the figures; a timed program because frames and
// heap sizes are not per-iteration quantities.

#include <malloc.h>
#include <time.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTableView>
#include <QTreeView>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <memory>

#include <qlmib/ui/GridView.h>
#include <qlmib/ui/HeadlessToolkit.h>
#include <qlmib/ui/qt/QtGridWidget.h>

namespace {

using namespace qlmib;

constexpr int kRows = 100000, kCols = 10, kChildren = 10000;

std::size_t heapInUse() { return mallinfo2().uordblks; }

double elapsedMs(const QElapsedTimer& timer) { return static_cast<double>(timer.nsecsElapsed()) / 1e6; }

// CPU time of this thread: on a machine shared with other jobs, wall time
// also counts the waits for a core.
double threadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Paints what is pending now, as a frame does.
void frame(QWidget& viewport) {
    viewport.repaint();
    QCoreApplication::processEvents();
}

void tableScrolling(ui::Toolkit& toolkit) {
    const auto before = heapInUse();
    auto grid = std::make_unique<ui::GridModel>();
    grid->setCols(kCols);
    grid->setFixedRows(1);
    grid->setRows(kRows + 1);
    char text[32];
    for (int r = 0; r <= kRows; ++r) {
        for (int c = 0; c < kCols; ++c) {
            char* end = std::to_chars(text + 1, text + sizeof text - 4, r).ptr;
            text[0] = 'r';
            *end++ = 'c';
            end = std::to_chars(end, text + sizeof text, c).ptr;
            grid->setTextMatrix(r, c, std::string_view(text, static_cast<size_t>(end - text)));
        }
    }
    const auto gridBytes = heapInUse() - before;

    ui::GridView view(*grid);
    ui::qt::QtGridWidget widget(view, toolkit);
    widget.resize(1000, 700);
    widget.show();
    QCoreApplication::processEvents();
    auto& table = *qobject_cast<QTableView*>(widget.itemView());
    auto* bar = table.verticalScrollBar();
    double worst = 0, total = 0, worstCpu = 0, totalCpu = 0;
    int frames = 0;
    std::size_t peak = heapInUse();
    const auto step = [&](int value) {
        QElapsedTimer timer;
        timer.start();
        const auto cpuStart = threadCpuMs();
        bar->setValue(value);
        frame(*table.viewport());
        const auto ms = elapsedMs(timer), cpu = threadCpuMs() - cpuStart;
        worst = std::max(worst, ms);
        total += ms;
        worstCpu = std::max(worstCpu, cpu);
        totalCpu += cpu;
        ++frames;
        peak = std::max(peak, heapInUse());
    };
    for (int v = bar->value(); v < bar->maximum();) step(v = std::min(v + bar->pageStep(), bar->maximum()));
    for (int v = bar->value(); v > 0;) step(v = std::max(v - bar->pageStep(), 0));
    const auto viewBytes = peak - before - gridBytes;
    std::printf("table 100000x10: %d frames scrolled page by page to the end and back (target: none over 16 ms)\n"
                "  wall time: slowest %.2f ms, mean %.2f ms; CPU time: slowest %.2f ms, mean %.2f ms\n",
                frames, worst, total / frames, worstCpu, totalCpu / frames);
    std::printf("table memory: grid model %.1f MB, view and adapter %.1f MB, total %.2fx the grid's own"
                " (target under 2x)\n",
                gridBytes / 1048576.0, viewBytes / 1048576.0,
                static_cast<double>(gridBytes + viewBytes) / static_cast<double>(gridBytes));
}

// A tree grid: a header row, one root, and under it a node whose children
// `loaded` says are there already or are loaded when it opens. With
// `tallRoot` the root has a height of its own, so rows are not uniform.
void treeExpanding(ui::Toolkit& toolkit, bool loaded, bool tallRoot = false) {
    ui::GridModel grid;
    grid.setCols(2);
    grid.setFixedRows(1);
    grid.setOutlineBar(ui::OutlineBarComplete);
    grid.AddItem("Name\tOID");
    const auto root = grid.AddNode(-1, "root", "root");
    if (tallRoot) grid.setRowHeight(root, 2 * grid.DefaultRowHeight());
    const auto node = grid.AddNode(root, "node", "node");
    const auto addChildren = [&](std::int32_t parent) {
        for (int i = 0; i < kChildren; ++i) grid.AddNode(parent, "child " + std::to_string(i));
    };
    if (loaded) addChildren(node);
    else grid.AddNode(node, "Loading ...");
    grid.setIsCollapsed(node, true);
    auto loading = grid.BeforeCollapse.subscribe([&](std::int32_t row, std::int16_t state, bool&) {
        if (loaded || state != ui::OutlineExpanded) return;
        grid.setRedraw(ui::RedrawNone);
        grid.RemoveItem(row + 1);
        addChildren(row);
        grid.setRedraw(ui::RedrawBuffered);
    });

    ui::GridView view(grid);
    ui::qt::QtGridWidget widget(view, toolkit);
    widget.resize(600, 700);
    widget.show();
    QCoreApplication::processEvents();
    auto& tree = *qobject_cast<QTreeView*>(widget.itemView());
    QElapsedTimer timer;
    timer.start();
    auto cpuStart = threadCpuMs();
    grid.ToggleNode(grid.FindRow("node"));
    frame(*tree.viewport());
    const auto expandMs = elapsedMs(timer), expandCpu = threadCpuMs() - cpuStart;
    const auto* model = tree.model();
    const auto shown = model->rowCount(model->index(0, 0, model->index(0, 0)));
    timer.restart();
    cpuStart = threadCpuMs();
    grid.ToggleNode(grid.FindRow("node"));
    frame(*tree.viewport());
    const auto collapseMs = elapsedMs(timer), collapseCpu = threadCpuMs() - cpuStart;
    std::printf("tree node with %d children %s%s: expand %.2f ms wall, %.2f ms CPU (target under 100 ms);"
                " collapse %.2f ms wall, %.2f ms CPU (target under 50 ms)\n",
                shown, loaded ? "already loaded" : "loaded while expanding", tallRoot ? ", rows of two heights" : "",
                expandMs, expandCpu, collapseMs,
                collapseCpu);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ui::HeadlessToolkit toolkit;
    tableScrolling(toolkit);
    treeExpanding(toolkit, false);
    treeExpanding(toolkit, true);
    treeExpanding(toolkit, false, true);
    return 0;
}
