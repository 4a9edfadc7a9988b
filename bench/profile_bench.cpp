// Reading one key of a 1,000-line profile: our settings store against inih,
// a small and well-regarded INI parser, parsing the same file to the same key.
// Ours looks only for its section and key; inih reports every line.

#include <benchmark/benchmark.h>
#include <ini.h>
#include <stdlib.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "Core/System/Profile.h"

namespace {

// 50 sections of 19 keys plus headers and blank lines: 1,000 lines.
const std::string& ProfilePath() {
    static const std::string path = [] {
        std::string folder =
            (std::filesystem::temp_directory_path() / "kronalt-bench-XXXXXX").string();
        if (mkdtemp(folder.data()) == nullptr) std::abort();
        const std::string file = folder + "/bench.ini";
        std::ofstream out(file, std::ios::binary);
        for (int s = 0; s < 50; ++s) {
            out << "[Section" << s << "]\r\n";
            for (int k = 0; k < 18; ++k) out << "Key" << k << "=value " << s << "/" << k << "\r\n";
            out << "Target=found " << s << "\r\n\r\n";
        }
        return file;
    }();
    return path;
}

void BM_ProfileReadStr_LastSection(benchmark::State& state) {
    const std::string& path = ProfilePath();
    char value[1000];
    for (auto _ : state) {
        ProfileReadStr("Section49", "Target", "", value, sizeof value, path.c_str());
        benchmark::DoNotOptimize(value);
    }
    if (std::strcmp(value, "found 49") != 0) state.SkipWithError("wrong value");
}
BENCHMARK(BM_ProfileReadStr_LastSection);

struct Wanted {
    char Value[1000];
};

int Handler(void* user, const char* section, const char* name, const char* value) {
    if (strcasecmp(section, "Section49") == 0 && strcasecmp(name, "Target") == 0) {
        std::snprintf(static_cast<Wanted*>(user)->Value, sizeof(Wanted::Value), "%s", value);
    }
    return 1;
}

void BM_Inih_ParseToKey(benchmark::State& state) {
    const std::string& path = ProfilePath();
    Wanted wanted{};
    for (auto _ : state) {
        ini_parse(path.c_str(), Handler, &wanted);
        benchmark::DoNotOptimize(wanted.Value);
    }
    if (std::strcmp(wanted.Value, "found 49") != 0) state.SkipWithError("wrong value");
}
BENCHMARK(BM_Inih_ParseToKey);

}  // namespace
