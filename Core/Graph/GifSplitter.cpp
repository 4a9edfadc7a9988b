#include "Core/Graph/GifSplitter.h"

#include <cstring>

namespace zam::graph {

namespace {

constexpr size_t kScreenEnd = 13;

inline int U16At(const uint8_t* p) { return p[0] | (p[1] << 8); }

// Length of the sub-blocks at pos, their terminating zero included; 0 when
// they run past size.
size_t SubBlocksLength(const uint8_t* data, size_t size, size_t pos) {
    size_t length = 0;
    for (;;) {
        if (pos + length >= size) return 0;
        const size_t n = data[pos + length];
        length += 1;
        if (n == 0) return length;
        length += n;
    }
}

// A fixed part of `fixed` bytes followed by sub-blocks.
size_t WithSubBlocks(const uint8_t* data, size_t size, size_t pos, size_t fixed) {
    if (fixed > size - pos) return 0;
    const size_t sub = SubBlocksLength(data, size, pos + fixed);
    return sub == 0 ? 0 : fixed + sub;
}

size_t LocalTableLength(uint8_t packed) {
    return (packed & 0x80) ? 3u * (1u << ((packed & 7) + 1)) : 0;
}

bool IsGce(const uint8_t* data, size_t size, size_t pos) {
    return pos + 1 < size && data[pos] == 0x21 && data[pos + 1] == 0xF9;
}

bool IsImage(const uint8_t* data, size_t size, size_t pos) { return pos < size && data[pos] == 0x2C; }

// Skips blocks from pos to the next graphic control extension or image
// descriptor: its position, or size when the walk ends first.
size_t SkipToFrame(const uint8_t* data, size_t size, size_t pos) {
    while (pos < size) {
        if (IsGce(data, size, pos) || IsImage(data, size, pos)) return pos;
        const size_t length = GifBlockLength(data, size, pos);
        if (length == 0) return size;
        pos += length;
    }
    return size;
}

// From a frame's start (extension or descriptor), the position after its
// image and the image descriptor's position; false when the walk ends first.
bool PassImage(const uint8_t* data, size_t size, size_t pos, size_t& end, size_t& image) {
    while (pos < size) {
        const size_t length = GifBlockLength(data, size, pos);
        if (length == 0) return false;
        if (IsImage(data, size, pos)) {
            image = pos;
            end = pos + length;
            return true;
        }
        pos += length;
    }
    return false;
}

}  // namespace

bool IsGifData(const uint8_t* data, size_t size) {
    return data != nullptr && size >= 3 && std::memcmp(data, "GIF", 3) == 0;
}

int GifReadScreen(const uint8_t* data, size_t size, GifScreen& screen) {
    screen = GifScreen();
    if (!IsGifData(data, size) || size < kScreenEnd) return -1;
    screen.Width = U16At(data + 6);
    screen.Height = U16At(data + 8);
    const uint8_t packed = data[10];
    if (packed & 0x80) {
        screen.ColorTableSize = static_cast<int>(3u * (1u << ((packed & 7) + 1)));
        if (kScreenEnd + static_cast<size_t>(screen.ColorTableSize) > size) return -2;
        const size_t entry = kScreenEnd + 3u * data[11];
        if (entry + 3 <= kScreenEnd + static_cast<size_t>(screen.ColorTableSize))
            screen.BkColor = RGB(data[entry], data[entry + 1], data[entry + 2]);
    }
    if (screen.Width == 0 || screen.Height == 0 || screen.Width > kGifMaxSide ||
        screen.Height > kGifMaxSide)
        return -3;
    return 1;
}

size_t GifBlockLength(const uint8_t* data, size_t size, size_t pos, bool* isTrailer) {
    if (isTrailer) *isTrailer = false;
    if (data == nullptr || pos >= size) return 0;
    const uint8_t first = data[pos];
    if (first == 0x3B) {
        if (isTrailer) *isTrailer = true;
        return 0;
    }
    if (first == 0x2C) {
        if (size - pos < 11) return 0;
        const size_t fixed = 11 + LocalTableLength(data[pos + 9]);
        return WithSubBlocks(data, size, pos, fixed);
    }
    if (first != 0x21 || pos + 1 >= size) return 0;
    switch (data[pos + 1]) {
        case 0xFF: return WithSubBlocks(data, size, pos, 14);
        case 0xFE: return WithSubBlocks(data, size, pos, 2);
        case 0xF9: return size - pos >= 8 ? 8 : 0;
        case 0x01: return WithSubBlocks(data, size, pos, 15);
        default: return 0;
    }
}

int GifCountImages(const uint8_t* data, size_t size, size_t start) {
    int count = 0;
    size_t pos = start;
    for (;;) {
        pos = SkipToFrame(data, size, pos);
        size_t end = 0, image = 0;
        if (pos >= size || !PassImage(data, size, pos, end, image)) return count;
        ++count;
        pos = end;
    }
}

void GifFrameFile(const uint8_t* data, size_t head, size_t start, size_t end, std::vector<uint8_t>& out) {
    out.clear();
    out.reserve(head + (end - start) + 1);
    out.assign(data, data + head);
    out.insert(out.end(), data + start, data + end);
    out.push_back(0x3B);
}

int GifSplitFrames(const uint8_t* data, size_t size, std::vector<GifFrameBytes>& frames, bool copies) {
    GifScreen screen;
    const int result = GifReadScreen(data, size, screen);
    if (result < 1) return result;
    const size_t head = kScreenEnd + static_cast<size_t>(screen.ColorTableSize);
    int found = 0;
    size_t pos = head;
    for (;;) {
        pos = SkipToFrame(data, size, pos);
        size_t end = 0, image = 0;
        if (pos >= size || !PassImage(data, size, pos, end, image)) return found;
        GifFrameBytes frame;
        if (IsGce(data, size, pos)) {
            frame.Delay = U16At(data + pos + 4);
            frame.Disposal = (data[pos + 3] >> 2) & 7;
        }
        frame.Left = U16At(data + image + 1);
        frame.Top = U16At(data + image + 3);
        frame.Width = U16At(data + image + 5);
        frame.Height = U16At(data + image + 7);
        frame.Start = pos;
        frame.End = end;
        if (copies) GifFrameFile(data, head, pos, end, frame.Gif);
        frames.push_back(std::move(frame));
        ++found;
        pos = end;
    }
}

}  // namespace zam::graph
