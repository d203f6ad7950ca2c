// The OK path of the Grenzfeststellung window on a template copy in memory, and the table
// lookup and totals procedures on invoices holding many fee tables.
#include <benchmark/benchmark.h>

#include <map>

#include "bench_umgebung.h"
#include "document/fee_table.h"
#include "document/summe_bilden.h"
#include "document/summe_loeschen.h"
#include "plugin/session/sitzungsdaten.h"

namespace tarvex::bench {
namespace {

Hostdatenbank& datenbank() {
    static Hostdatenbank db;
    return db;
}

// Invoices with n fee tables, built once per n through the window itself.
const std::vector<std::uint8_t>& rechnung(int n) {
    static std::map<int, std::vector<std::uint8_t>> fertig;
    auto it = fertig.find(n);
    if (it == fertig.end()) {
        sitzungEinrichten(datenbank());
        it = fertig.emplace(n, rechnungMitTabellen("template-basic.docx", n)).first;
    }
    return it->second;
}

// Load, type, OK: one 30.6 fee table written and the totals rebuilt and stored in the
// invoice record (a real SQLite file in the temporary folder).
void BM_GrenzfeststellungOk(benchmark::State& state) {
    sitzungEinrichten(datenbank());
    const auto bytes = vorlage("template-basic.docx");
    for (auto _ : state) {
        state.PauseTiming();
        dokumentSetzen(bytes);
        state.ResumeTiming();
        grenzfeststellungOk();
    }
}
BENCHMARK(BM_GrenzfeststellungOk)->Unit(benchmark::kMillisecond);

// The same OK on an invoice that already holds 200 fee tables with their totals: the engine
// must only pay for what the OK touches.
void BM_GrenzfeststellungOk200(benchmark::State& state) {
    const auto& bytes = rechnung(200);
    sitzungEinrichten(datenbank());
    for (auto _ : state) {
        state.PauseTiming();
        dokumentSetzen(bytes);
        state.ResumeTiming();
        grenzfeststellungOk();
    }
}
BENCHMARK(BM_GrenzfeststellungOk200)->Unit(benchmark::kMillisecond);

// `verfahren` on a fresh copy of the invoice with state.range(0) fee tables.
template <class F>
void aufRechnung(benchmark::State& state, F&& verfahren) {
    const auto& bytes = rechnung(static_cast<int>(state.range(0)));
    sitzungEinrichten(datenbank());
    for (auto _ : state) {
        state.PauseTiming();
        dokumentSetzen(bytes);
        state.ResumeTiming();
        verfahren();
    }
    state.SetComplexityN(state.range(0));
}

void BM_TabelleErmitteln(benchmark::State& state) {
    aufRechnung(state, [] { benchmark::DoNotOptimize(TabelleErmitteln("TARVEX_5", 0)); });
}
void BM_SummeLöschen(benchmark::State& state) {
    aufRechnung(state, [] { SummeLöschen(); });
}
void BM_SummeLöschenUndBilden(benchmark::State& state) {
    aufRechnung(state, [] {
        SummeLöschen();
        SummeBilden(true);
    });
    // The net amount stored in the invoice record shows that every table was added up.
    state.counters["netto_cent"] =
        sitzungsdaten().Rechnung->field("NettoRechnung")->value().toDouble();
}
BENCHMARK(BM_TabelleErmitteln)
    ->Arg(1)
    ->Arg(10)
    ->Arg(50)
    ->Complexity()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SummeLöschen)->Arg(1)->Arg(10)->Arg(50)->Complexity()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SummeLöschenUndBilden)
    ->Arg(1)
    ->Arg(10)
    ->Arg(50)
    ->Complexity()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarvex::bench
