// Import throughput on a generated MIB-X file of 100,000 objects, against the
// physical limit: a bare SQLite insert of the same rows into the same indexed
// schema, in one transaction. Prints both rates and their ratio.

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <unistd.h>

#include <qlmib/mibdata/Database.h>
#include <qlmib/mibdata/Globals.h>
#include <qlmib/mibx/ImportMIBX.h>

namespace {

using namespace qlmib;

constexpr int kObjects = 100000;
constexpr int kGroup = 50;       // objects under one branch
constexpr int kEnumEvery = 10;   // every tenth object has three named numbers

// A row as the importer stores it.
struct Object {
    std::string oid, parent, name, syntax, description;
    int index, typeI, access, status;
    bool enumerated;
};

const char* const kSyntax[] = {"INTEGER", "DisplayString", "Counter32", "OCTET-STRING", "Gauge32", "TimeTicks"};
const int kTypeI[] = {2, 4, 65, 4, 66, 67};
const char* const kLabels[] = {"up", "down", "testing"};

struct Workload {
    std::filesystem::path folder;
    std::string file;
    std::vector<Object> objects;
};

const Workload& workload() {
    static const Workload w = [] {
        Workload w;
        // A folder of its own, so that runs side by side do not remove each other's files.
        w.folder = std::filesystem::temp_directory_path() / ("qlmib-import-bench-" + std::to_string(getpid()));
        std::filesystem::create_directories(w.folder);
        w.file = (w.folder / "BENCH-MIB.xml").string();
        for (int i = 0; i < kObjects; ++i) {
            const int branch = i / kGroup + 1, leaf = i % kGroup + 1, kind = i % 6;
            Object o;
            o.parent = "1.3.6.1.4.1.99999." + std::to_string(branch);
            o.index = leaf;
            o.oid = o.parent + "." + std::to_string(leaf);
            o.name = "benchObject" + std::to_string(i);
            o.syntax = kSyntax[kind];
            o.typeI = kTypeI[kind];
            o.access = 1 + i % 2;
            o.status = 5;
            o.description = "Generated object " + std::to_string(i) +
                            " of the benchmark module, with a description of typical length.";
            o.enumerated = i % kEnumEvery == 0;
            w.objects.push_back(std::move(o));
        }
        std::ofstream out(w.file);
        out << "<?xml version=\"1.0\"?>\n<MIBX>\n<VERSION>Quellon.Net MIB-X 1.0</VERSION>\n"
               "<COMPILED>2024-05-01 10:11:12</COMPILED>\n<MODULE><NAME>BENCH-MIB</NAME>"
               "<DESCRIPTION>Generated.</DESCRIPTION><LAST-UPDATED>2024-05-01 00:00:00</LAST-UPDATED>"
               "</MODULE>\n<TREE>\n";
        for (const auto& o : w.objects) {
            out << "<" << o.name << "><OID>" << o.oid << "</OID><SYNTAX>" << o.syntax << "</SYNTAX><ACCESS>"
                << (o.access == 1 ? "read-only" : "read-write") << "</ACCESS><STATUS>current</STATUS><DESCRIPTION>"
                << o.description << "</DESCRIPTION>";
            if (o.enumerated) out << "<ENUMS><up>1</up><down>2</down><testing>3</testing></ENUMS>";
            out << "</" << o.name << ">\n";
        }
        out << "</TREE>\n</MIBX>\n";
        return w;
    }();
    return w;
}

// A new, empty MIB database in the benchmark folder.
std::string freshDatabase() {
    const auto path = (workload().folder / "MIBs.cfg").string();
    CloseSharedDatabase();
    std::filesystem::remove(path);
    std::filesystem::remove(path + "-journal");
    Database::create(path);
    return path;
}

void check(sqlite3* db, int rc) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(db));
}

void BM_BareInsert(benchmark::State& state) {
    const auto& w = workload();
    for (auto _ : state) {
        state.PauseTiming();
        const auto path = freshDatabase();
        sqlite3* db = nullptr;
        check(db, sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr));
        state.ResumeTiming();

        sqlite3_stmt *tree = nullptr, *enums = nullptr;
        check(db, sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr));
        check(db, sqlite3_prepare_v2(db,
                                     "INSERT INTO Tree (OID, MIB, ParentOID, Name, TypeI, TypeS, Description, Status, "
                                     "Access, Enum, Parse, Units, \"Index\", \"Primary\") "
                                     "VALUES (?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12,?13,?14)",
                                     -1, &tree, nullptr));
        check(db, sqlite3_prepare_v2(db, "INSERT INTO Enums (Name, Value, Enum) VALUES (?1, ?2, ?3)", -1, &enums,
                                     nullptr));
        for (const auto& o : w.objects) {
            if (o.enumerated) {
                for (int v = 0; v < 3; ++v) {
                    sqlite3_bind_text(enums, 1, o.name.c_str(), -1, SQLITE_STATIC);
                    sqlite3_bind_int(enums, 2, v + 1);
                    sqlite3_bind_text(enums, 3, kLabels[v], -1, SQLITE_STATIC);
                    check(db, sqlite3_step(enums));
                    sqlite3_reset(enums);
                }
            }
            sqlite3_bind_text(tree, 1, o.oid.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_text(tree, 2, "BENCH-MIB", -1, SQLITE_STATIC);
            sqlite3_bind_text(tree, 3, o.parent.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_text(tree, 4, o.name.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_int(tree, 5, o.typeI);
            sqlite3_bind_text(tree, 6, o.syntax.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_text(tree, 7, o.description.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_int(tree, 8, o.status);
            sqlite3_bind_int(tree, 9, o.access);
            sqlite3_bind_text(tree, 10, o.enumerated ? o.name.c_str() : "", -1, SQLITE_STATIC);
            sqlite3_bind_text(tree, 11, "", -1, SQLITE_STATIC);
            sqlite3_bind_text(tree, 12, "", -1, SQLITE_STATIC);
            sqlite3_bind_int(tree, 13, o.index);
            sqlite3_bind_int(tree, 14, 1);
            check(db, sqlite3_step(tree));
            sqlite3_reset(tree);
        }
        sqlite3_finalize(tree);
        sqlite3_finalize(enums);
        check(db, sqlite3_exec(db,
                               "INSERT INTO MIBs (Name, Description, Organization, Contact, Compiled, Imported, "
                               "LastUpdated) VALUES ('BENCH-MIB', 'Generated.', '', '', '2024-05-01 10:11:12', "
                               "'2024-05-01 10:11:12', '2024-05-01 00:00:00'); COMMIT",
                               nullptr, nullptr, nullptr));

        state.PauseTiming();
        sqlite3_close_v2(db);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kObjects);
}
BENCHMARK(BM_BareInsert)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_ImportMIBX(benchmark::State& state) {
    const auto& w = workload();
    for (auto _ : state) {
        state.PauseTiming();
        const auto path = freshDatabase();
        setenv("QLMIB_HOME", w.folder.c_str(), 1);
        ImportMIBX importer;
        state.ResumeTiming();

        importer.ImportMIBXFile(w.file);

        state.PauseTiming();
        if (importer.getOIDCount() != kObjects || importer.getErrors() != 0) state.SkipWithError("import incomplete");
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kObjects);
}
BENCHMARK(BM_ImportMIBX)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// The console report, then for a single run, and for the mean and median of
// repetitions, the import rate as a share of the bare insert rate: by wall
// time, and by CPU time, which other work on the machine disturbs less.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& run : runs)
            if (run.aggregate_name.empty() || run.aggregate_name == "mean" || run.aggregate_name == "median")
                times_[run.aggregate_name][run.run_name.function_name] = {run.GetAdjustedRealTime(),
                                                                          run.GetAdjustedCPUTime()};
    }

    void printRatios() const {
        for (const auto& [aggregate, byName] : times_) {
            const auto bare = byName.find("BM_BareInsert");
            const auto import = byName.find("BM_ImportMIBX");
            if (bare == byName.end() || import == byName.end()) continue;
            std::printf("\n%s: bare insert %.0f rows/s, import %.0f objects/s, ratio %.2f (CPU %.2f)",
                        aggregate.empty() ? "run" : aggregate.c_str(), kObjects / bare->second.wall * 1e3,
                        kObjects / import->second.wall * 1e3, bare->second.wall / import->second.wall,
                        bare->second.cpu / import->second.cpu);
        }
        std::printf("\n");
    }

private:
    struct Times {
        double wall, cpu;  // milliseconds per iteration
    };
    std::map<std::string, std::map<std::string, Times>> times_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatios();
    benchmark::Shutdown();
    if (!getenv("KEEP")) std::filesystem::remove_all(workload().folder);
    return 0;
}
