// The text list's loaders against the standard library doing the same work:
// listing a folder of 10,000 files, and reading a 50 MB text file by lines.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Core/Text/CTxtArray.h"

namespace {

namespace fs = std::filesystem;

const std::string& BenchFolder() {
    static const std::string folder = [] {
        std::string path = (fs::temp_directory_path() / "kronalt-bench-XXXXXX").string();
        if (mkdtemp(path.data()) == nullptr) std::abort();
        return path;
    }();
    return folder;
}

const std::string& TenThousandFiles() {
    static const std::string folder = [] {
        const std::string path = BenchFolder() + "/files";
        fs::create_directories(path);
        for (int i = 0; i < 10000; ++i) std::ofstream(path + "/sound" + std::to_string(i) + ".wav");
        return path;
    }();
    return folder;
}

const std::string& FiftyMegabytes() {
    static const std::string file = [] {
        const std::string path = BenchFolder() + "/big.txt";
        std::ofstream out(path, std::ios::binary);
        const std::string line = "12/7/2026 09:15:42|Kronalt chimed at interval 7 of 17, all well\r\n";
        for (size_t written = 0; written < 50u * 1000 * 1000; written += line.size()) out << line;
        return path;
    }();
    return file;
}

void BM_CTxtArray_LoadFromDirNoSort(benchmark::State& state) {
    const std::string& folder = TenThousandFiles();
    for (auto _ : state) {
        CTxtArray list;
        list.LoadFromDirNoSort(folder.c_str(), 0, 0, nullptr, 0, 0);
        benchmark::DoNotOptimize(list.GetSize());
    }
}
BENCHMARK(BM_CTxtArray_LoadFromDirNoSort)->Unit(benchmark::kMillisecond);

void BM_Filesystem_DirectoryIterator(benchmark::State& state) {
    const std::string& folder = TenThousandFiles();
    for (auto _ : state) {
        std::vector<std::string> paths;
        for (const auto& entry : fs::directory_iterator(folder)) {
            // The same facts the list needs: the path and what kind of entry it is.
            benchmark::DoNotOptimize(entry.is_directory());
            paths.push_back(entry.path().string());
        }
        benchmark::DoNotOptimize(paths.size());
    }
}
BENCHMARK(BM_Filesystem_DirectoryIterator)->Unit(benchmark::kMillisecond);

void BM_CTxtArray_LoadFromFileBuf(benchmark::State& state) {
    const std::string& file = FiftyMegabytes();
    CTxt err;
    for (auto _ : state) {
        CTxtArray list;
        list.LoadFromFileBuf(file.c_str(), err, 0);
        benchmark::DoNotOptimize(list.GetSize());
    }
}
BENCHMARK(BM_CTxtArray_LoadFromFileBuf)->Unit(benchmark::kMillisecond);

void BM_Ifstream_Getline(benchmark::State& state) {
    const std::string& file = FiftyMegabytes();
    for (auto _ : state) {
        std::ifstream in(file, std::ios::binary);
        std::vector<std::string> lines;
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
        }
        benchmark::DoNotOptimize(lines.size());
    }
}
BENCHMARK(BM_Ifstream_Getline)->Unit(benchmark::kMillisecond);

}  // namespace
