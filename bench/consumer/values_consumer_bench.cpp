// AddFloatVal called from outside the library: 5 million floats appended to a
// value set against push_back on a std::vector<float>, in the same run. Only
// the installed headers and the shared library are in reach here, so what the
// header inlines is all the caller gets.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "Core/Values/CDataValue.h"

namespace {

constexpr int kCount = 5 * 1000 * 1000;

const std::vector<float>& Numbers() {
    static const std::vector<float> numbers = [] {
        std::vector<float> v;
        v.reserve(kCount);
        uint32_t x = 2463534242u;
        for (int i = 0; i < kCount; ++i) {
            x ^= x << 13;
            x ^= x >> 17;
            x ^= x << 5;
            v.push_back(static_cast<float>(x % 1000000u) / 8.0f);
        }
        return v;
    }();
    return numbers;
}

void BM_AddFloatVal(benchmark::State& state) {
    const std::vector<float>& numbers = Numbers();
    for (auto _ : state) {
        CDataValueSet set;
        for (float f : numbers) set.AddFloatVal(f);
        benchmark::DoNotOptimize(set.GetNumVal());
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}
BENCHMARK(BM_AddFloatVal)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PushBack(benchmark::State& state) {
    const std::vector<float>& numbers = Numbers();
    for (auto _ : state) {
        std::vector<float> v;
        for (float f : numbers) v.push_back(f);
        benchmark::DoNotOptimize(v.data());
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}
BENCHMARK(BM_PushBack)->Unit(benchmark::kMillisecond)->UseRealTime();

class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}
    std::map<std::string, double> Millis;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
                Millis[run.run_name.function_name] = run.real_accumulated_time * 1e3 / run.iterations;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double ours = reporter.Millis["BM_AddFloatVal"];
    const double peer = reporter.Millis["BM_PushBack"];
    if (ours > 0 && peer > 0) {
        std::printf("AddFloatVal x 5M from a separate program vs push_back: %.1f ms against %.1f ms,"
                    " ratio %.2fx (aim <= 1.30x)\n", ours, peer, ours / peer);
    }
    benchmark::Shutdown();
    return 0;
}
