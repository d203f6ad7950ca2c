// Benchmarks run with the failure log discarded, so that neither Lumo.log nor memory grows
// with the failures that some cases log on purpose (more than five tagged tables).
#include <benchmark/benchmark.h>

#include <memory>

#include "support/debug_log.h"

namespace {

class Verwerfen final : public tarvex::LogSink {
  public:
    void append(const std::string&) noexcept override {}
};

}  // namespace

int main(int argc, char** argv) {
    tarvex::setLogSink(std::make_shared<Verwerfen>());
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
