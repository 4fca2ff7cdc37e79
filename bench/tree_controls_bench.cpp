// The tree controls on the database that `qlmib build-db` makes of the MIB
// corpus (../shared/mibs): MIBTree.Refresh, SelectOID of the deepest leaf
// from a fresh tree, SingleMIBTree of IF-MIB and of the largest module, and
// a description search for one keyword. Skipped when the corpus is absent.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include <qlmib/mibdata/Database.h>
#include <qlmib/mibdata/Globals.h>
#include <qlmib/tree/MIBTree.h>
#include <qlmib/tree/SearchMIBTreeForm.h>
#include <qlmib/tree/SingleMIBTree.h>
#include <qlmib/ui/HeadlessToolkit.h>

namespace {

using namespace qlmib;
namespace fs = std::filesystem;

const fs::path kCorpus = QLMIB_CORPUS_DIR;

// Builds the corpus database into a temporary install folder and makes it $QLMIB_HOME.
bool useCorpusHome() {
    const auto home = fs::temp_directory_path() / "qlmib-tree-controls-bench";
    fs::create_directories(home);
    std::string command = std::string("'") + QLMIB_CLI + "' build-db --force -o '" + (home / "MIBs.cfg").string() +
                          "' -p '" + kCorpus.string() + "'";
    for (const auto& entry : fs::directory_iterator(kCorpus))
        if (entry.is_regular_file()) command += " '" + entry.path().string() + "'";
    command += " >'" + (home / "build-db.log").string() + "' 2>&1";
    if (std::system(command.c_str()) != 0) {
        std::cerr << "qlmib build-db failed; see " << (home / "build-db.log").string() << '\n';
        return false;
    }
    setenv("QLMIB_HOME", home.c_str(), 1);
    return true;
}

std::string firstText(const char* sql) {
    auto q = SharedDatabase().prepare(sql);
    return q.step() ? q.text(0) : std::string();
}

void BM_MIBTreeRefresh(benchmark::State& state) {
    ui::HeadlessToolkit toolkit;
    MIBTree tree(toolkit);
    for (auto _ : state) tree.Refresh();
    state.counters["rows"] = tree.Tree.getRows();
}
BENCHMARK(BM_MIBTreeRefresh)->Unit(benchmark::kMillisecond);

// A leaf at outline level 12, the deepest in the corpus.
void BM_SelectOIDDeepLeafFromAFreshTree(benchmark::State& state) {
    const auto leaf = firstText(
        "SELECT OID FROM Tree WHERE \"Primary\"<>0 AND TypeS<>'' AND "
        "length(OID) - length(replace(OID, '.', '')) = 12 ORDER BY OID LIMIT 1");
    ui::HeadlessToolkit toolkit;
    for (auto _ : state) {
        state.PauseTiming();
        auto tree = std::make_unique<MIBTree>(toolkit);
        tree->Refresh();
        state.ResumeTiming();
        tree->SelectOID(leaf);
        state.PauseTiming();
        if (tree->getSelectedOID()->getOID() != leaf) state.SkipWithError("the leaf was not selected");
        tree.reset();
        state.ResumeTiming();
    }
    state.SetLabel(leaf);
}
BENCHMARK(BM_SelectOIDDeepLeafFromAFreshTree)->Unit(benchmark::kMillisecond);

void singleModule(benchmark::State& state, const std::string& module) {
    ui::HeadlessToolkit toolkit;
    SingleMIBTree tree(toolkit);
    for (auto _ : state) tree.setMIB(module);
    state.counters["rows"] = tree.Tree.getRows();
    state.SetLabel(module);
}

void BM_SingleMIBTreeIfMib(benchmark::State& state) { singleModule(state, "IF-MIB"); }
BENCHMARK(BM_SingleMIBTreeIfMib)->Unit(benchmark::kMillisecond);

void BM_SingleMIBTreeLargestModule(benchmark::State& state) {
    singleModule(state, firstText("SELECT MIB FROM Tree GROUP BY MIB ORDER BY Count(*) DESC LIMIT 1"));
}
BENCHMARK(BM_SingleMIBTreeLargestModule)->Unit(benchmark::kMillisecond);

void BM_DescriptionSearchOneKeyword(benchmark::State& state) {
    ui::HeadlessToolkit toolkit;
    SearchMIBTreeForm form(toolkit);
    form.Search(nullptr, false);
    form.Tabs.setTab(SearchDescriptions);
    form.TargetMIBs.setText("");
    form.TargetKeywords.setText("packets");
    for (auto _ : state) form.Search_Button.Press();
    state.counters["hits"] = form.HitCount();
    if (form.HitCount() == 0) state.SkipWithError("no hits");
}
BENCHMARK(BM_DescriptionSearchOneKeyword)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (!fs::is_directory(kCorpus)) {
        std::cout << "tree_controls_bench: skipped, the MIB corpus " << kCorpus.string() << " is absent\n";
        return 0;
    }
    if (!useCorpusHome()) return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
