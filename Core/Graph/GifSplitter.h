#pragma once
// Splits GIF data into one single-image GIF per frame, so each frame can be
// decoded on its own by an ordinary picture loader. Window-free: it only
// walks and copies bytes, and every read is bounded by the data's size.
// A block or sub-block that would run past the end stops the walk there;
// the frames found before it are kept.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "Core/Platform/WinTypes.h"

namespace zam::graph {

/// A logical screen wider or higher than this is refused rather than allocated.
constexpr int kGifMaxSide = 16384;

/// The GIF header and logical screen descriptor.
struct GifScreen {
    int Width = 0;
    int Height = 0;
    int ColorTableSize = 0;  ///< bytes of the global colour table; 0 when none
    COLORREF BkColor = 0xFFFFFF;  ///< background entry of the global table; white without one
};

/// One frame: its own complete GIF and where it goes.
struct GifFrameBytes {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    int Delay = -1;    ///< hundredths of a second; -1 without a graphic control extension
    int Disposal = 0;  ///< 0 to 7
    size_t Start = 0, End = 0;  ///< the frame's blocks in the data: [Start, End)
    std::vector<uint8_t> Gif;  ///< header, screen, global table, the frame's blocks, trailer
};

/// True when the data begins with "GIF".
bool IsGifData(const uint8_t* data, size_t size);

/// Reads the header and screen descriptor. Returns
///    1  read;
///   -1  not a GIF, or shorter than its 13 header bytes;
///   -2  the global colour table runs past the end;
///   -3  a side of the logical screen is 0 or over kGifMaxSide.
int GifReadScreen(const uint8_t* data, size_t size, GifScreen& screen);

/// Length of the block at pos: 0 for a byte that starts no block, a trailer
/// (its length is 1, but the walk ends there: see *isTrailer) or a block
/// that runs past size.
size_t GifBlockLength(const uint8_t* data, size_t size, size_t pos, bool* isTrailer = nullptr);

/// Number of images after the screen (and global table) at start.
int GifCountImages(const uint8_t* data, size_t size, size_t start);

/// Cuts the data into frames, appended to frames. Returns the number of
/// frames found, or a GifReadScreen result below 1. Without copies, each
/// frame's Gif stays empty and only its place in the data is given.
int GifSplitFrames(const uint8_t* data, size_t size, std::vector<GifFrameBytes>& frames,
                   bool copies = true);

/// Builds into out the one-image GIF of the frame at [start, end) of data
/// (whose header and global table take head bytes).
void GifFrameFile(const uint8_t* data, size_t head, size_t start, size_t end, std::vector<uint8_t>& out);

}  // namespace zam::graph
