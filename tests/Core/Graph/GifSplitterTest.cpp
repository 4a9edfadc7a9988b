#include "Core/Graph/GifSplitter.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/Support/GifWriter.h"

namespace {

using namespace zam::graph;
using zam::testing::GifFrameSpec;
using zam::testing::GifWriter;

GifFrameSpec FrameAt(int left, int top, int w, int h, int delay, int disposal, uint8_t color) {
    GifFrameSpec f;
    f.Left = left;
    f.Top = top;
    f.Width = w;
    f.Height = h;
    f.Delay = delay;
    f.Disposal = disposal;
    f.Color = color;
    return f;
}

const std::vector<uint32_t> kPalette = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};

TEST(GifSplitterTest, ScreenDescriptorAndBackgroundFromTheGlobalTable) {
    const std::vector<uint8_t> gif = GifWriter(20, 10, kPalette, true, 2).Frame(FrameAt(0, 0, 20, 10, 0, 0, 1)).Finish();
    GifScreen screen;
    ASSERT_EQ(1, GifReadScreen(gif.data(), gif.size(), screen));
    EXPECT_EQ(20, screen.Width);
    EXPECT_EQ(10, screen.Height);
    EXPECT_EQ(12, screen.ColorTableSize);
    EXPECT_EQ(RGB(0, 0, 255), screen.BkColor);
    EXPECT_EQ(1, GifCountImages(gif.data(), gif.size(), 13 + 12));
}

TEST(GifSplitterTest, FramesCarryTheirPlaceDelayDisposalAndAWholeGifEach) {
    const std::vector<uint8_t> gif = GifWriter(30, 30, kPalette)
                                         .Loop()
                                         .Comment("skipped")
                                         .Frame(FrameAt(0, 0, 30, 30, 7, 1, 0))
                                         .Comment("inside")
                                         .Frame(FrameAt(5, 6, 10, 11, 0, 2, 1))
                                         .Frame(FrameAt(1, 2, 3, 4, 5, 3, 2))
                                         .Finish();
    std::vector<GifFrameBytes> frames;
    ASSERT_EQ(3, GifSplitFrames(gif.data(), gif.size(), frames));
    EXPECT_EQ(3, GifCountImages(gif.data(), gif.size(), 25));
    EXPECT_EQ(7, frames[0].Delay);
    EXPECT_EQ(1, frames[0].Disposal);
    EXPECT_EQ(5, frames[1].Left);
    EXPECT_EQ(6, frames[1].Top);
    EXPECT_EQ(10, frames[1].Width);
    EXPECT_EQ(11, frames[1].Height);
    EXPECT_EQ(2, frames[1].Disposal);
    EXPECT_EQ(3, frames[2].Disposal);
    for (const GifFrameBytes& f : frames) {
        // Header, screen and global table of the original, one image, the trailer.
        ASSERT_GT(f.Gif.size(), 26u);
        EXPECT_TRUE(std::equal(gif.begin(), gif.begin() + 25, f.Gif.begin()));
        EXPECT_EQ(0x21, f.Gif[25]);
        EXPECT_EQ(0x3B, f.Gif.back());
        EXPECT_EQ(1, GifCountImages(f.Gif.data(), f.Gif.size(), 25));
    }
}

TEST(GifSplitterTest, WithoutGlobalTableFramesStartAfterThirteenBytesAndKeepLocalTables) {
    GifFrameSpec plain = FrameAt(0, 0, 4, 4, 0, 0, 3);
    plain.Gce = false;
    const std::vector<uint8_t> gif = GifWriter(4, 4, kPalette, false).Frame(plain).Frame(plain).Finish();
    GifScreen screen;
    ASSERT_EQ(1, GifReadScreen(gif.data(), gif.size(), screen));
    EXPECT_EQ(0, screen.ColorTableSize);
    EXPECT_EQ(0xFFFFFFu, screen.BkColor);
    std::vector<GifFrameBytes> frames;
    ASSERT_EQ(2, GifSplitFrames(gif.data(), gif.size(), frames));
    EXPECT_EQ(-1, frames[0].Delay);
    EXPECT_EQ(0x2C, frames[0].Gif[13]);
    EXPECT_EQ(0x80, frames[0].Gif[13 + 9] & 0x80);  // the local table travels with its image
}

TEST(GifSplitterTest, TruncatedDataKeepsTheFramesBeforeTheCut) {
    const std::vector<uint8_t> whole = GifWriter(8, 8, kPalette)
                                           .Frame(FrameAt(0, 0, 8, 8, 10, 0, 0))
                                           .Frame(FrameAt(0, 0, 8, 8, 10, 0, 1))
                                           .Frame(FrameAt(0, 0, 8, 8, 10, 0, 2))
                                           .Finish();
    std::vector<GifFrameBytes> all;
    ASSERT_EQ(3, GifSplitFrames(whole.data(), whole.size(), all));
    // Every cut inside the last frame (its extension, descriptor or data) leaves two.
    const size_t lastStart = whole.size() - 1 - (all[2].Gif.size() - 25 - 1);
    for (size_t cut = lastStart; cut < whole.size() - 1; ++cut) {
        std::vector<GifFrameBytes> frames;
        EXPECT_EQ(2, GifSplitFrames(whole.data(), cut, frames)) << cut;
        EXPECT_EQ(2, GifCountImages(whole.data(), cut, 25)) << cut;
    }
}

TEST(GifSplitterTest, BadHeadersAreRefused) {
    std::vector<uint8_t> gif = GifWriter(8, 8, kPalette).Frame(FrameAt(0, 0, 8, 8, 0, 0, 0)).Finish();
    GifScreen screen;
    std::vector<GifFrameBytes> frames;
    EXPECT_EQ(-1, GifReadScreen(gif.data(), 12, screen));
    EXPECT_EQ(-1, GifSplitFrames(reinterpret_cast<const uint8_t*>("PNG"), 3, frames));
    EXPECT_EQ(-2, GifReadScreen(gif.data(), 20, screen));  // table cut off
    std::vector<uint8_t> wide = gif;
    wide[6] = 0x01;
    wide[7] = 0x40;  // 16,385 pixels
    EXPECT_EQ(-3, GifSplitFrames(wide.data(), wide.size(), frames));
    wide[6] = 0x00;  // exactly 16,384 is still a picture
    EXPECT_EQ(1, GifReadScreen(wide.data(), wide.size(), screen));
    std::vector<uint8_t> empty = gif;
    empty[8] = empty[9] = 0;
    EXPECT_EQ(-3, GifReadScreen(empty.data(), empty.size(), screen));
    EXPECT_TRUE(frames.empty());
}

TEST(GifSplitterTest, LocalTableRunningPastTheEndStopsTheWalk) {
    std::vector<uint8_t> gif = GifWriter(8, 8, kPalette).Frame(FrameAt(0, 0, 8, 8, 0, 0, 0)).Finish();
    const size_t descriptor = 25 + 8;
    ASSERT_EQ(0x2C, gif[descriptor]);
    gif[descriptor + 9] = 0x87;  // claims a local table of 768 bytes
    EXPECT_EQ(0u, GifBlockLength(gif.data(), gif.size(), descriptor));
    std::vector<GifFrameBytes> frames;
    EXPECT_EQ(0, GifSplitFrames(gif.data(), gif.size(), frames));
}

}  // namespace
