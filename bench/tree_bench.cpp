// The tree layer on the 200,000-row benchmark database: tree details of
// one object, and a 10,000-row selection as C defines.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include <qlmib/mibdata/OID.h>
#include <qlmib/tree/Details.h>
#include <qlmib/tree/Selection.h>
#include <qlmib/ui/GridModel.h>
#include <qlmib/ui/RichTextDocument.h>

#include "BenchDatabase.h"

namespace {

using namespace qlmib;

// 10,000 distinct objects of the generated enterprise subtrees.
const std::vector<std::string>& benchOIDs() {
    static const std::vector<std::string> oids = [] {
        std::vector<std::string> out;
        for (int ent = 1; ent <= 5; ++ent)
            for (int group = 1; group <= 40; ++group)
                for (int leaf = 1; leaf <= 50; ++leaf)
                    out.push_back("1.3.6.1.4.1." + std::to_string(ent) + "." + std::to_string(group) + "." +
                                  std::to_string(leaf));
        return out;
    }();
    return oids;
}

// Per object: load it, compose the tree details, write plain text and RTF.
void BM_TreeDetailsComposeAndSerialise(benchmark::State& state) {
    bench::useBenchHome();
    const auto& oids = benchOIDs();
    OID object;
    ui::RichTextDocument document;
    size_t next = 0, bytes = 0;
    for (auto _ : state) {
        object.setOID(oids[next]);
        next = (next + 1) % oids.size();
        ComposeTreeDetails(document, object);
        const auto text = document.getText();
        const auto rtf = document.getTextRTF();
        bytes += text.size() + rtf.size();
        benchmark::DoNotOptimize(rtf.data());
    }
    state.counters["bytes/OID"] = static_cast<double>(bytes) / static_cast<double>(state.iterations());
    object.setOID(oids.front());
    if (object.getName() != "e1g1o1") state.SkipWithError("wrong object");
}
BENCHMARK(BM_TreeDetailsComposeAndSerialise);

// With the values list of an enumerated object (one more query).
void BM_TreeDetailsEnumerated(benchmark::State& state) {
    bench::useBenchHome();
    OID object;
    ui::RichTextDocument document;
    for (auto _ : state) {
        object.setOID("1.3.6.1.2.1.2.2.1.7");
        ComposeTreeDetails(document, object);
        benchmark::DoNotOptimize(document.getTextRTF());
    }
    if (document.getText().find("testing(3)") == std::string::npos) state.SkipWithError("no values list");
}
BENCHMARK(BM_TreeDetailsEnumerated);

// A tree grid of 10,000 visible leaves under one open node, all selected.
const ui::GridModel& benchTree() {
    static const auto grid = [] {
        auto g = std::make_unique<ui::GridModel>();
        g->setCols(2);
        g->setFixedRows(1);
        g->AddItem("Name\tOID");
        const auto root = g->AddNode(-1, "enterprises (1)", "O:1.3.6.1.4.1");
        g->setTextMatrix(root, 1, "1.3.6.1.4.1");
        for (const auto& oid : benchOIDs()) {
            const auto row = g->AddNode(root, "leaf", "O:" + oid);
            g->setTextMatrix(row, 1, oid);
        }
        g->Select(root + 1, 0, g->getRows() - 1, 1);
        return g;
    }();
    return *grid;
}

void BM_SelectionCDefines10000Rows(benchmark::State& state) {
    bench::useBenchHome();
    std::string text;
    for (auto _ : state) {
        text = Selection(benchTree(), MIBSelection_CDefines);
        benchmark::DoNotOptimize(text.data());
    }
    if (text.rfind("#define\tOID_e1g1o1\t\"1.3.6.1.4.1.1.1.1\"\r\n", 0) != 0) state.SkipWithError("wrong text");
}
BENCHMARK(BM_SelectionCDefines10000Rows)->Unit(benchmark::kMillisecond);

// The same walk without lookups: what the selection costs beside the database.
void BM_SelectionOIDList10000Rows(benchmark::State& state) {
    std::string text;
    for (auto _ : state) {
        text = Selection(benchTree(), MIBSelection_OIDList);
        benchmark::DoNotOptimize(text.data());
    }
    if (text.rfind("1.3.6.1.4.1.1.1.1\r\n", 0) != 0) state.SkipWithError("wrong text");
}
BENCHMARK(BM_SelectionOIDList10000Rows)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
