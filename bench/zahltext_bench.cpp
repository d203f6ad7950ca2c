// German number text: run for every field a user leaves and every cell a table is read from.
#include <benchmark/benchmark.h>

#include "support/number_text.h"

namespace tarvex::bench {
namespace {

void BM_WertFormatieren(benchmark::State& state) {
    const char* texte[] = {"1234567,891", "5   ,  ", "    ", "-12,5"};
    const std::string text = texte[state.range(0)];
    for (auto _ : state) benchmark::DoNotOptimize(WertFormatieren(text, 11, 2));
}
BENCHMARK(BM_WertFormatieren)->DenseRange(0, 3);

void BM_CVal(benchmark::State& state) {
    const char* texte[] = {" 1.234,56 ", "12,50 €", "1,2,3 m"};  // the last one is logged
    const std::string text = texte[state.range(0)];
    for (auto _ : state) benchmark::DoNotOptimize(CVal(text));
}
BENCHMARK(BM_CVal)->DenseRange(0, 2);

}  // namespace
}  // namespace tarvex::bench
