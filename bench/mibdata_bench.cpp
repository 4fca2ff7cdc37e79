// Lookups and value parsing on a 200,000-row MIB database. Every figure is
// to be read against BM_PointQuery, the cost of one indexed row fetch.

#include <benchmark/benchmark.h>

#include <qlmib/mibdata/Database.h>
#include <qlmib/mibdata/Globals.h>
#include <qlmib/mibdata/OID.h>

#include "BenchDatabase.h"

namespace {

using namespace qlmib;
using bench::useBenchHome;

// The physical limit: a prepared SELECT of one primary row by OID, read whole.
void BM_PointQuery(benchmark::State& state) {
    useBenchHome();
    auto& db = SharedDatabase();
    for (auto _ : state) {
        auto q = db.query(Query::TreePrimaryByOID);
        q.bind(1, "1.3.6.1.2.1.2.2.1.10");
        if (!q.step()) state.SkipWithError("row missing");
        for (int c = 0; c < q.columnCount(); ++c) benchmark::DoNotOptimize(q.textView(c));
    }
}
BENCHMARK(BM_PointQuery);

void BM_OIDLetInstanceThreeArcsBelow(benchmark::State& state) {
    useBenchHome();
    OID o;
    for (auto _ : state) {
        o.setOID("1.3.6.1.2.1.2.2.1.10.1.2.3");
        benchmark::DoNotOptimize(o.getName());
    }
    if (o.getName() != "ifInOctets.1.2.3") state.SkipWithError("wrong object");
}
BENCHMARK(BM_OIDLetInstanceThreeArcsBelow);

void BM_FullNameLet(benchmark::State& state) {
    useBenchHome();
    OID o;
    for (auto _ : state) {
        o.setFullName("e50g20o25");
        benchmark::DoNotOptimize(o.getOID());
    }
    if (o.getOID().empty()) state.SkipWithError("not found");
}
BENCHMARK(BM_FullNameLet);

void BM_LongNameTwelveArcs(benchmark::State& state) {
    useBenchHome();
    OID o;
    o.setOID("1.3.6.1.2.1.2.2.1.10.7.1");  // 12 arcs
    for (auto _ : state) benchmark::DoNotOptimize(o.getLongName());
    if (o.getLongName() != "iso.org.dod.internet.mgmt.mib-2.interfaces.ifTable.ifEntry.ifInOctets.7.1")
        state.SkipWithError("wrong long name");
}
BENCHMARK(BM_LongNameTwelveArcs);

// Keywords that need no query, in turn.
void BM_ParseValueNoQuery(benchmark::State& state) {
    useBenchHome();
    struct Item {
        OID object;
        std::string value, hex;
    };
    const char* cases[][3] = {
        {"TIMETICKS", "9006100", ""},       {"MBPS", "1544000", ""},
        {"PHYSADDRESS", "", "00A0C9123456"}, {"SERVICES", "72", ""},
        {"INETADDRESS", "\x0a\x01\x02\x03", "0A010203"}, {"DATEANDTIME", "", "07E8021D0D050905"},
        {"", "12345", ""},
    };
    std::vector<Item> items;
    for (auto& [keyword, value, hex] : cases) {
        Item item;
        item.object.setOID("1.3.6.1.2.1.2.2.1.10");
        item.object.setParse(keyword);
        item.value = value;
        item.hex = hex;
        items.push_back(std::move(item));
    }
    size_t i = 0;
    for (auto _ : state) {
        const auto& item = items[i++ % items.size()];
        benchmark::DoNotOptimize(item.object.ParseValue(item.value, item.hex));
    }
    state.SetItemsProcessed(state.iterations());
    for (auto& item : items) item.object.setParse("");
}
BENCHMARK(BM_ParseValueNoQuery);

void BM_ParseValueEnumeration(benchmark::State& state) {
    useBenchHome();
    OID o;
    o.setOID("1.3.6.1.2.1.2.2.1.7.1");
    for (auto _ : state) benchmark::DoNotOptimize(o.ParseValue("2", "02"));
    if (o.ParseValue("2", "02") != "down(2)") state.SkipWithError("wrong label");
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ParseValueEnumeration);

}  // namespace

BENCHMARK_MAIN();
