// Opening and saving a real invoice template from bytes: the cost every host run pays twice.
#include <benchmark/benchmark.h>

#include "bench_umgebung.h"

namespace tarvex::bench {
namespace {

void BM_VorlageÖffnen(benchmark::State& state) {
    const auto bytes = vorlage("template-image.docx");
    for (auto _ : state) benchmark::DoNotOptimize(word::Document::FromBytes(bytes));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_VorlageÖffnen)->Unit(benchmark::kMicrosecond);

void BM_VorlageÖffnenUndSpeichern(benchmark::State& state) {
    const auto bytes = vorlage("template-image.docx");
    for (auto _ : state) {
        auto doc = word::Document::FromBytes(bytes);
        // A change, so that the main story is serialised again rather than copied.
        doc->Content().InsertAfter("x");
        benchmark::DoNotOptimize(doc->SaveToBytes());
    }
}
BENCHMARK(BM_VorlageÖffnenUndSpeichern)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tarvex::bench
