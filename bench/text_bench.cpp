// CTxt against std::string, the peer every C++ reader knows: building a text
// from pieces, formatting, and case-insensitive searching.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>

#include "Core/Text/CTxt.h"

namespace {

const char* const kPiece = "Kronalt chimes every seven minutes; ";

void BM_CTxt_AddTxt(benchmark::State& state) {
    for (auto _ : state) {
        CTxt text;
        for (int i = 0; i < state.range(0); ++i) text.AddTxt(kPiece);
        benchmark::DoNotOptimize(text.GetData());
    }
}
BENCHMARK(BM_CTxt_AddTxt)->Arg(16)->Arg(256);

void BM_StdString_Append(benchmark::State& state) {
    for (auto _ : state) {
        std::string text;
        for (int i = 0; i < state.range(0); ++i) text.append(kPiece);
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_StdString_Append)->Arg(16)->Arg(256);

void BM_CTxt_Format(benchmark::State& state) {
    CTxt text;
    int n = 0;
    for (auto _ : state) {
        text.Format("%02d:%02d - %02d:%02d", n % 60, n % 59, n % 58, n % 57);
        ++n;
        benchmark::DoNotOptimize(text.GetData());
    }
}
BENCHMARK(BM_CTxt_Format);

void BM_Snprintf_StdString(benchmark::State& state) {
    std::string text;
    int n = 0;
    for (auto _ : state) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%02d:%02d - %02d:%02d", n % 60, n % 59, n % 58, n % 57);
        text = buf;
        ++n;
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_Snprintf_StdString);

std::string Haystack() {
    std::string s;
    for (int i = 0; i < 200; ++i) s += kPiece;
    return s + "NEEDLE";
}

void BM_CTxt_FindTextA(benchmark::State& state) {
    CTxt text(Haystack().c_str());
    for (auto _ : state) benchmark::DoNotOptimize(text.FindTextA("needle"));
}
BENCHMARK(BM_CTxt_FindTextA);

void BM_StdSearch_CaseInsensitive(benchmark::State& state) {
    const std::string text = Haystack();
    const std::string find = "needle";
    for (auto _ : state) {
        auto it = std::search(text.begin(), text.end(), find.begin(), find.end(),
                              [](char a, char b) { return std::toupper(a) == std::toupper(b); });
        benchmark::DoNotOptimize(it);
    }
}
BENCHMARK(BM_StdSearch_CaseInsensitive);

}  // namespace
