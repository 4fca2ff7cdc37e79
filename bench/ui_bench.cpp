// The grid model at the sizes the live table controls reach.

#include <benchmark/benchmark.h>

#include <charconv>
#include <memory>

#include <qlmib/ui/GridModel.h>

namespace {

using namespace qlmib::ui;

constexpr int kRows = 100000;
constexpr int kCols = 10;

// A short text per cell ("r12345c6"), as a downloaded table holds.
std::string_view cellText(char* buffer, int row, int col) {
    char* p = buffer;
    *p++ = 'r';
    p = std::to_chars(p, buffer + 31, row).ptr;
    *p++ = 'c';
    p = std::to_chars(p, buffer + 31, col).ptr;
    return {buffer, static_cast<size_t>(p - buffer)};
}

// 100,000 x 10 cells set one by one, the rows made first.
void BM_GridFillCellByCell(benchmark::State& state) {
    char buffer[32];
    for (auto _ : state) {
        auto grid = std::make_unique<GridModel>();
        grid->setCols(kCols);
        grid->setRows(kRows);
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c) grid->setTextMatrix(r, c, cellText(buffer, r, c));
        benchmark::DoNotOptimize(grid->getTextMatrix(kRows - 1, kCols - 1).data());
        state.PauseTiming();  // freeing the grid is not part of filling it
        grid.reset();
        state.ResumeTiming();
    }
    state.counters["cells"] = kRows * kCols;
}
BENCHMARK(BM_GridFillCellByCell)->Unit(benchmark::kMillisecond);

// Appending rows one at a time as answers arrive, with a datum per cell.
void BM_GridAppendRowsWithData(benchmark::State& state) {
    char buffer[32];
    for (auto _ : state) {
        GridModel grid;
        grid.setCols(kCols);
        grid.setRows(1);
        grid.setFixedRows(1);
        for (int r = 1; r <= kRows; ++r) {
            grid.setRows(r + 1);
            for (int c = 0; c < kCols; ++c) {
                grid.setTextMatrix(r, c, cellText(buffer, r, c));
                grid.setCellData(r, c, Variant(static_cast<double>(r)));
            }
        }
        benchmark::DoNotOptimize(grid.getRows());
    }
}
BENCHMARK(BM_GridAppendRowsWithData)->Unit(benchmark::kMillisecond);

// Reading one row of the full grid: constant in the number of rows.
void BM_GridReadRow(benchmark::State& state) {
    GridModel grid;
    grid.setCols(kCols);
    grid.setRows(kRows);
    char buffer[32];
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kCols; ++c) grid.setTextMatrix(r, c, cellText(buffer, r, c));
    int row = 0;
    for (auto _ : state) {
        size_t length = 0;
        for (int c = 0; c < kCols; ++c) length += grid.getTextMatrix(row, c).size();
        benchmark::DoNotOptimize(length);
        row = (row + 7919) % kRows;
    }
}
BENCHMARK(BM_GridReadRow);

}  // namespace

BENCHMARK_MAIN();
