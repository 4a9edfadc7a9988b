// CZAMDateTime's calendar arithmetic against the C library's, the peer the
// value replaces: seconds between two instants and reading the clock.

#include <benchmark/benchmark.h>

#include <ctime>

#include "Core/Time/CZAMDateTime.h"

namespace {

void BM_ZAM_GetDiffSec(benchmark::State& state) {
    CZAMDateTime a, b;
    a.SetDate(2015, 8, 12);
    a.SetTime(14, 30, 5);
    b.SetDate(2026, 12, 7);
    b.SetTime(7, 8, 9);
    for (auto _ : state) benchmark::DoNotOptimize(a.GetDiffSec(&b));
}
BENCHMARK(BM_ZAM_GetDiffSec);

void BM_Libc_TimegmDifference(benchmark::State& state) {
    std::tm a{}, b{};
    a.tm_year = 115; a.tm_mon = 7; a.tm_mday = 12; a.tm_hour = 14; a.tm_min = 30; a.tm_sec = 5;
    b.tm_year = 126; b.tm_mon = 11; b.tm_mday = 7; b.tm_hour = 7; b.tm_min = 8; b.tm_sec = 9;
    for (auto _ : state) {
        std::tm x = a, y = b;
        benchmark::DoNotOptimize(timegm(&y) - timegm(&x));
    }
}
BENCHMARK(BM_Libc_TimegmDifference);

void BM_ZAM_SetNow(benchmark::State& state) {
    CZAMDateTime now;
    for (auto _ : state) {
        now.SetNow();
        benchmark::DoNotOptimize(now);
    }
}
BENCHMARK(BM_ZAM_SetNow);

void BM_Libc_LocaltimeNow(benchmark::State& state) {
    for (auto _ : state) {
        std::time_t t = std::time(nullptr);
        std::tm tm{};
        benchmark::DoNotOptimize(localtime_r(&t, &tm));
    }
}
BENCHMARK(BM_Libc_LocaltimeNow);

}  // namespace
