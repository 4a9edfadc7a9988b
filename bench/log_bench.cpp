// LogTrace against the floor it stands on: plain write(2) calls of the same
// preformatted lines into a file in the same folder. The log adds formatting,
// the clock, the line layout and a forced write every 21 lines; the ratio
// printed at the end says what that costs. The folder is the system's
// temporary one: TMPDIR=/dev/shm measures without a disk behind it.
//
// A logging library is the second peer: spdlog's basic file logger writing the
// same lines, once as it comes (its buffer reaches the file when the C library
// decides) and once made as durable as ours (data to disk every 21 lines).

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <spdlog/logger.h>
#include <spdlog/pattern_formatter.h>
#include <spdlog/sinks/basic_file_sink.h>

#include "Core/Platform/ProgramPath.h"
#include "Core/System/Log.h"

namespace {

std::string& Folder() {
    static std::string folder;
    return folder;
}

const int kDistinctLines = 1024;

void BM_LogTrace(benchmark::State& state) {
    LogResetForTests();
    int i = 0;
    for (auto _ : state) {
        LogTrace("Bench", 1, "Item %d updated in %d ms", i, i % 7);
        i = (i + 1) % kDistinctLines;
    }
    state.SetItemsProcessed(state.iterations());
    LogResetForTests();
    std::filesystem::remove_all(Folder() + "/logs");
}
BENCHMARK(BM_LogTrace)->UseRealTime();

std::vector<std::string> PreformattedLines() {
    std::vector<std::string> lines;
    for (int i = 0; i < kDistinctLines; ++i) {
        char line[128];
        std::snprintf(line, sizeof line,
                      "Bench           |150812|09:08:00.123a|Item %d updated in %d ms\r\n", i,
                      i % 7);
        lines.emplace_back(line);
    }
    return lines;
}

// The lines the log would write, laid out beforehand, so only the write calls
// remain; with forceEvery > 0 the writer also waits for the disk that often.
void RawWrites(benchmark::State& state, int forceEvery) {
    const std::vector<std::string> lines = PreformattedLines();
    const std::string path = Folder() + "/raw.log";
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_TRUNC | O_CLOEXEC, 0666);
    int i = 0;
    int sinceForced = 0;
    for (auto _ : state) {
        const std::string& line = lines[static_cast<size_t>(i)];
        benchmark::DoNotOptimize(write(fd, line.data(), line.size()));
        i = (i + 1) % kDistinctLines;
        if (forceEvery > 0 && ++sinceForced == forceEvery) {
            fsync(fd);
            sinceForced = 0;
        }
    }
    state.SetItemsProcessed(state.iterations());
    close(fd);
    unlink(path.c_str());
}

void BM_RawWrite(benchmark::State& state) { RawWrites(state, 0); }
BENCHMARK(BM_RawWrite)->UseRealTime();

// For reference: the same durability as the log, waited for in the writer.
void BM_RawWriteFsyncEvery21(benchmark::State& state) { RawWrites(state, 21); }
BENCHMARK(BM_RawWriteFsyncEvery21)->UseRealTime();

// The peer's file logger laid out like our lines: the source padded to 16,
// date, time with milliseconds, the text, CR LF.
std::shared_ptr<spdlog::logger> SpdFileLogger(const std::string& path) {
    auto sink = std::make_shared<spdlog::sinks::basic_file_sink_st>(path, true);
    auto logger = std::make_shared<spdlog::logger>("Bench", sink);
    logger->set_formatter(std::make_unique<spdlog::pattern_formatter>(
        "%-16n|%C%m%d|%H:%M:%S.%ea|%v", spdlog::pattern_time_type::local, "\r\n"));
    return logger;
}

// forceEvery > 0: the peer's flush (which only empties its stdio buffer) and
// then fdatasync, in the writing thread, as often as our log forces its file;
// this version of the library has no call of its own that reaches the disk.
void SpdLog(benchmark::State& state, int forceEvery) {
    const std::string path = Folder() + "/spd.log";
    {
        auto logger = SpdFileLogger(path);
        // fdatasync works on the file, not the descriptor: a second one reaches
        // the same data as the logger's own.
        const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        int i = 0;
        int sinceForced = 0;
        for (auto _ : state) {
            logger->info("Item {} updated in {} ms", i, i % 7);
            i = (i + 1) % kDistinctLines;
            if (forceEvery > 0 && ++sinceForced == forceEvery) {
                logger->flush();
                fdatasync(fd);
                sinceForced = 0;
            }
        }
        state.SetItemsProcessed(state.iterations());
        close(fd);
    }
    unlink(path.c_str());
}

void BM_SpdlogDefault(benchmark::State& state) { SpdLog(state, 0); }
BENCHMARK(BM_SpdlogDefault)->UseRealTime();

void BM_SpdlogDataSyncEvery21(benchmark::State& state) { SpdLog(state, 21); }
BENCHMARK(BM_SpdlogDataSyncEvery21)->UseRealTime();

// Prints the usual table and keeps each run's lines per second for the ratio.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}
    std::map<std::string, double> LinesPerSecond;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            auto found = run.counters.find("items_per_second");
            if (found != run.counters.end()) LinesPerSecond[run.run_name.function_name] = found->second;
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

}  // namespace

int main(int argc, char** argv) {
    std::string folder =
        (std::filesystem::temp_directory_path() / "kronalt-log-bench-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr) return 1;
    Folder() = folder;
    // Profile and logs land in the temporary folder, not beside the benchmark.
    zam::platform::SetProgramPathOverride(folder + "/kronalt");

    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double log = reporter.LinesPerSecond["BM_LogTrace"];
    const double raw = reporter.LinesPerSecond["BM_RawWrite"];
    const double forced = reporter.LinesPerSecond["BM_RawWriteFsyncEvery21"];
    if (log > 0 && raw > 0) {
        std::printf("LogTrace %.0f lines/s, write(2) %.0f lines/s: ratio %.2fx (target >= 0.70x)\n",
                    log, raw, log / raw);
    }
    if (log > 0 && forced > 0) {
        std::printf("write(2) with fsync every 21 lines %.0f lines/s: LogTrace %.2fx of it\n",
                    forced, log / forced);
    }
    const double spd = reporter.LinesPerSecond["BM_SpdlogDefault"];
    const double spdSync = reporter.LinesPerSecond["BM_SpdlogDataSyncEvery21"];
    if (log > 0 && spd > 0) {
        std::printf("spdlog file logger, default flushing %.0f lines/s: LogTrace %.2fx of it\n",
                    spd, log / spd);
    }
    if (log > 0 && spdSync > 0) {
        std::printf("spdlog file logger, fdatasync every 21 lines %.0f lines/s: LogTrace %.2fx of it"
                    " (aim >= 1.00x)\n",
                    spdSync, log / spdSync);
    }
    benchmark::Shutdown();
    std::filesystem::remove_all(folder);
    return 0;
}
