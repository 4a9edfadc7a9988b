// The GIF frame splitter on arbitrary bytes: picture files come from a data
// folder anyone may have put files into.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "Core/Graph/GifSplitter.h"

using namespace zam::graph;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<GifFrameBytes> frames;
    const int found = GifSplitFrames(data, size, frames);
    if (found < 1) {
        if (!frames.empty()) __builtin_trap();
        return 0;
    }
    GifScreen screen;
    if (GifReadScreen(data, size, screen) != 1) __builtin_trap();
    const size_t head = 13 + static_cast<size_t>(screen.ColorTableSize);
    if (static_cast<size_t>(found) != frames.size() ||
        GifCountImages(data, size, head) != found)
        __builtin_trap();
    for (const GifFrameBytes& frame : frames) {
        // Each piece is the original's head, one frame's blocks and a trailer,
        // and splits again into exactly itself.
        if (frame.Gif.size() <= head + 1 || frame.Gif.size() > size + 1) __builtin_trap();
        if (std::memcmp(frame.Gif.data(), data, head) != 0 || frame.Gif.back() != 0x3B) __builtin_trap();
        if (frame.Disposal < 0 || frame.Disposal > 7) __builtin_trap();
        std::vector<GifFrameBytes> again;
        if (GifSplitFrames(frame.Gif.data(), frame.Gif.size(), again) != 1 || again[0].Gif != frame.Gif)
            __builtin_trap();
    }
    return 0;
}
