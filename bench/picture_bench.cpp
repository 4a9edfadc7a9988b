// Loading and splitting an animated GIF of 100 frames of 200 x 200 pixels:
// CPictureCtrl (split into one-image GIFs, each decoded by wx's GIF handler)
// against wx's own animation loader, wxAnimation, on the same file in the
// same run. Needs a display (run under xvfb-run).
//
//   picture_bench [benchmark options]   times both loads
//   picture_bench --memory=ours|peer    prints the peak RSS growth of one load
//                                       in a fresh process, in KiB

#include <benchmark/benchmark.h>
#include <wx/animate.h>
#include <wx/generic/animate.h>
#include <wx/app.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/settings.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "Core/Graph/CPictureCtrl.h"
#include "tests/Support/GifWriter.h"

namespace {

std::string g_Path;

// A ball crossing a striped field: every frame differs everywhere a little,
// as real animations do, so neither loader gets an easy ride.
void WriteGif(const std::string& path) {
    std::vector<uint32_t> palette;
    for (int i = 0; i < 16; ++i) palette.push_back(static_cast<uint32_t>(i * 0x0F0F0F));
    zam::testing::GifWriter gif(200, 200, palette);
    gif.Loop();
    for (int frame = 0; frame < 100; ++frame) {
        zam::testing::GifFrameSpec f;
        f.Width = f.Height = 200;
        f.Delay = 4;
        f.Pattern = [frame](int x, int y) -> uint8_t {
            const int cx = 20 + frame * 16 / 10, cy = 100 + static_cast<int>(60 * std::sin(frame / 8.0));
            if ((x - cx) * (x - cx) + (y - cy) * (y - cy) < 400) return 15;
            return static_cast<uint8_t>(((x + y + frame) / 12) % 8);
        };
        gif.Frame(f);
    }
    const std::vector<uint8_t> bytes = gif.Finish();
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

long PeakRssKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

void BM_PictureCtrlLoad(benchmark::State& state) {
    for (auto _ : state) {
        CPictureCtrl picture;
        if (!picture.LoadPicture(g_Path.c_str())) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(picture.Frames.data());
    }
}
BENCHMARK(BM_PictureCtrlLoad)->Unit(benchmark::kMillisecond);

void BM_WxAnimationLoad(benchmark::State& state) {
    for (auto _ : state) {
        wxAnimation animation;
        if (!animation.LoadFile(g_Path)) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(animation.GetFrameCount());
    }
}
BENCHMARK(BM_WxAnimationLoad)->Unit(benchmark::kMillisecond);

// The toolkit's generic animation, which decodes every frame when it loads.
void BM_WxGenericAnimationLoad(benchmark::State& state) {
    for (auto _ : state) {
        wxAnimation animation = wxGenericAnimationCtrl::CreateCompatibleAnimation();
        if (!animation.LoadFile(g_Path)) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(animation.GetFrameCount());
    }
}
BENCHMARK(BM_WxGenericAnimationLoad)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv)) return 1;
    wxInitAllImageHandlers();
    g_Path = "/tmp/kronalt-picture-bench.gif";
    WriteGif(g_Path);
    int result = 0;
    if (argc > 1 && std::strncmp(argv[1], "--memory=", 9) == 0) {
        const bool ours = std::strcmp(argv[1] + 9, "ours") == 0;
        // The theme's colours are looked up once per program, by any window;
        // that is the toolkit's cost, not the loader's.
        wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE);
        wxSystemSettings::GetColour(wxSYS_COLOUR_MENU);
        const long before = PeakRssKiB();
        if (ours) {
            CPictureCtrl picture;
            result = picture.LoadPicture(g_Path.c_str()) ? 0 : 1;
        } else if (std::strcmp(argv[1] + 9, "generic") == 0) {
            wxAnimation animation = wxGenericAnimationCtrl::CreateCompatibleAnimation();
            result = animation.LoadFile(g_Path) && animation.GetFrameCount() == 100 ? 0 : 1;
        } else {
            wxAnimation animation;
            result = animation.LoadFile(g_Path) ? 0 : 1;
        }
        std::ifstream file(g_Path, std::ios::binary | std::ios::ate);
        std::printf("%s peak RSS growth: %ld KiB for a file of %ld KiB (frames loaded: %s)\n", argv[1] + 9,
                    PeakRssKiB() - before, static_cast<long>(file.tellg()) / 1024, result == 0 ? "yes" : "no");
    } else {
        benchmark::Initialize(&argc, argv);
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
    }
    std::remove(g_Path.c_str());
    wxEntryCleanup();
    return result;
}
