// A value set filled with 10 million floats and sorted by its float view,
// against a std::vector<float> filled with push_back and sorted with
// std::sort: the same numbers, the same run, two ratios at the end.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "Core/Values/CDataValue.h"

namespace {

constexpr int kCount = 10 * 1000 * 1000;

// The same pseudo-random numbers on every run, a few of them repeated.
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

void BM_CDataValueSet_AddFloatVal(benchmark::State& state) {
    const std::vector<float>& numbers = Numbers();
    for (auto _ : state) {
        CDataValueSet set;
        for (float f : numbers) set.AddFloatVal(f);
        benchmark::DoNotOptimize(set.GetNumVal());
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}
BENCHMARK(BM_CDataValueSet_AddFloatVal)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Vector_PushBack(benchmark::State& state) {
    const std::vector<float>& numbers = Numbers();
    for (auto _ : state) {
        std::vector<float> v;
        for (float f : numbers) v.push_back(f);
        benchmark::DoNotOptimize(v.data());
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}
BENCHMARK(BM_Vector_PushBack)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CDataValueSet_SortFlt(benchmark::State& state) {
    // The values stay in place, so every round sorts the same unsorted set.
    static CDataValueSet set;
    if (set.GetNumVal() == 0) {
        for (float f : Numbers()) set.AddFloatVal(f);
    }
    for (auto _ : state) {
        set.SortFlt();
        benchmark::DoNotOptimize(set.GetSortVal(0));
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}
BENCHMARK(BM_CDataValueSet_SortFlt)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Vector_StdSort(benchmark::State& state) {
    std::vector<float> v;
    for (auto _ : state) {
        state.PauseTiming();
        v = Numbers();
        state.ResumeTiming();
        std::sort(v.begin(), v.end());
        benchmark::DoNotOptimize(v.data());
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}
BENCHMARK(BM_Vector_StdSort)->Unit(benchmark::kMillisecond)->UseRealTime();

// Prints the usual table and keeps each run's time per round for the ratios.
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

void PrintRatio(RatioReporter& r, const char* what, const char* ours, const char* peer) {
    const double a = r.Millis[ours];
    const double b = r.Millis[peer];
    if (a > 0 && b > 0) std::printf("%s: %.1f ms against %.1f ms, ratio %.2fx\n", what, a, b, a / b);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintRatio(reporter, "AddFloatVal x 10M vs push_back", "BM_CDataValueSet_AddFloatVal", "BM_Vector_PushBack");
    PrintRatio(reporter, "SortFlt of 10M vs std::sort", "BM_CDataValueSet_SortFlt", "BM_Vector_StdSort");
    benchmark::Shutdown();
    return 0;
}
