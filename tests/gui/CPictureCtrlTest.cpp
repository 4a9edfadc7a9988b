#include "Core/Graph/CPictureCtrl.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/mstream.h>
#include <wx/settings.h>

#include <fstream>
#include <vector>

#include "tests/Support/GifWriter.h"
#include "tests/Support/TempDir.h"
#include "tests/gui/GuiTestSupport.h"

namespace {

using zam::testing::GifFrameSpec;
using zam::testing::GifWriter;

const std::vector<uint32_t> kPalette = {0xFF0000, 0x0000FF, 0x00FF00, 0xFFFFFF};
constexpr COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kGreen = RGB(0, 255, 0);

GifFrameSpec Frame(int left, int top, int w, int h, uint8_t color, int delay = 10, int disposal = 1) {
    GifFrameSpec f;
    f.Left = left;
    f.Top = top;
    f.Width = w;
    f.Height = h;
    f.Color = color;
    f.Delay = delay;
    f.Disposal = disposal;
    return f;
}

COLORREF ButtonFace() {
    const wxColour c = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE);
    return RGB(c.Red(), c.Green(), c.Blue());
}

class PictureTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = new wxFrame(nullptr, wxID_ANY, "pictures");
        picture = new CPictureCtrl(window, wxID_ANY, wxPoint(5, 5));
        picture->SetFrameScheduler([this](int ms) { waits.push_back(ms); });
    }
    void TearDown() override { window->Destroy(); }

    int Load(const std::vector<uint8_t>& bytes) { return picture->LoadFromMemory(bytes.data(), bytes.size()); }
    COLORREF At(int x, int y) const {
        const wxImage& s = picture->GetSurface();
        return RGB(s.GetRed(x, y), s.GetGreen(x, y), s.GetBlue(x, y));
    }

    wxFrame* window = nullptr;
    CPictureCtrl* picture = nullptr;
    std::vector<int> waits;
};

TEST_F(PictureTest, GifWithOneImageIsShownStillWithoutAnimation) {
    ASSERT_EQ(1, Load(GifWriter(12, 9, kPalette).Frame(Frame(0, 0, 12, 9, 1)).Finish()));
    EXPECT_EQ(1, picture->IsGif);
    EXPECT_TRUE(picture->Frames.empty());
    EXPECT_EQ(1, picture->Draw());
    EXPECT_EQ(0, picture->Animating);
    EXPECT_TRUE(waits.empty());
    EXPECT_EQ(wxSize(12, 9), picture->GetSize());
    EXPECT_EQ(kBlue, At(6, 4));
}

TEST_F(PictureTest, JpegOf96PixelsGivesA96PixelControl) {
    wxImage image(96, 96);
    image.SetRGB(wxRect(0, 0, 96, 96), 40, 90, 200);
    wxMemoryOutputStream out;
    ASSERT_TRUE(image.SaveFile(out, wxBITMAP_TYPE_JPEG));
    std::vector<uint8_t> jpeg(out.GetSize());
    out.CopyTo(jpeg.data(), jpeg.size());
    zam::testing::TempDir dir;
    std::ofstream(dir.File("p.jpg"), std::ios::binary).write(reinterpret_cast<const char*>(jpeg.data()),
                                                            static_cast<std::streamsize>(jpeg.size()));
    ASSERT_EQ(1, picture->LoadPicture(dir.File("p.jpg").c_str()));
    EXPECT_EQ(0, picture->IsGif);
    EXPECT_EQ(wxSize(96, 96), picture->GetSize());
    EXPECT_EQ(1, picture->Draw());
    EXPECT_EQ(0, picture->LoadPicture(dir.File("missing.jpg").c_str()));
    EXPECT_EQ(0, picture->Ready);
}

TEST_F(PictureTest, FrameWaitsFollowTheDelaysAndNeverStall) {
    GifFrameSpec none = Frame(0, 0, 4, 4, 2);
    none.Gce = false;
    ASSERT_EQ(1, Load(GifWriter(4, 4, kPalette)
                          .Loop()
                          .Frame(Frame(0, 0, 4, 4, 0, 0))
                          .Frame(Frame(0, 0, 4, 4, 1, 4))
                          .Frame(Frame(0, 0, 4, 4, 2, 5))
                          .Frame(none)
                          .Frame(Frame(0, 0, 4, 4, 3, 25))
                          .Finish()));
    ASSERT_EQ(5u, picture->Frames.size());
    EXPECT_EQ(-1, picture->Frames[3].Delay);
    EXPECT_EQ(0, picture->Draw());
    EXPECT_EQ(1, picture->Animating);
    for (int i = 0; i < 5; ++i) picture->NextFrame();
    EXPECT_EQ((std::vector<int>{100, 100, 50, 100, 250, 100}), waits);
    EXPECT_EQ(0, picture->Current);  // back at the start after the last
    picture->Stop();
    EXPECT_EQ(0, picture->Animating);
    picture->NextFrame();
    EXPECT_EQ(6u, waits.size());  // a stopped animation takes no step
}

TEST_F(PictureTest, DisposalTwoClearsToButtonFaceAndThreeRestoresWhatWasUnder) {
    ASSERT_EQ(1, Load(GifWriter(8, 8, kPalette)
                          .Frame(Frame(0, 0, 8, 8, 0, 10, 1))  // red everywhere, kept
                          .Frame(Frame(2, 2, 4, 4, 1, 10, 2))  // blue, then cleared
                          .Frame(Frame(0, 0, 1, 1, 2, 10, 1))
                          .Frame(Frame(5, 0, 2, 2, 1, 10, 3))  // blue, then undone
                          .Frame(Frame(7, 7, 1, 1, 2, 10, 1))
                          .Finish()));
    picture->Draw();
    EXPECT_EQ(kRed, At(3, 3));
    picture->NextFrame();
    EXPECT_EQ(kBlue, At(3, 3));
    picture->NextFrame();
    EXPECT_EQ(ButtonFace(), At(3, 3));
    EXPECT_EQ(kGreen, At(0, 0));
    EXPECT_EQ(kRed, At(6, 6));
    picture->NextFrame();
    EXPECT_EQ(kBlue, At(6, 1));
    picture->NextFrame();
    EXPECT_EQ(kRed, At(6, 1));
    EXPECT_EQ(kGreen, At(7, 7));
    picture->NextFrame();  // loop restart: cleared to the background, then frame 0
    EXPECT_EQ(kRed, At(0, 0));
    EXPECT_EQ(kRed, At(7, 7));
}

TEST_F(PictureTest, WithoutGlobalTableFramesDecodeFromTheirLocalTables) {
    ASSERT_EQ(1, Load(GifWriter(6, 6, kPalette, false).Frame(Frame(0, 0, 6, 6, 2)).Frame(Frame(0, 0, 6, 6, 1)).Finish()));
    EXPECT_EQ(0, picture->ColorTableSize);
    ASSERT_EQ(2u, picture->Frames.size());
    picture->Draw();
    EXPECT_EQ(kGreen, At(3, 3));
    picture->NextFrame();
    EXPECT_EQ(kBlue, At(3, 3));
}

TEST_F(PictureTest, TruncatedGifKeepsTheFramesBeforeTheCut) {
    std::vector<uint8_t> gif = GifWriter(10, 10, kPalette)
                                   .Frame(Frame(0, 0, 10, 10, 0))
                                   .Frame(Frame(0, 0, 10, 10, 1))
                                   .Frame(Frame(0, 0, 10, 10, 2))
                                   .Finish();
    gif.resize(gif.size() - 6);
    ASSERT_EQ(1, Load(gif));
    EXPECT_EQ(2u, picture->Frames.size());
}

TEST_F(PictureTest, BadDataIsRefusedAndLeavesTheControlEmpty) {
    const char text[] = "not a picture at all";
    EXPECT_EQ(0, picture->LoadFromMemory(text, sizeof text));
    std::vector<uint8_t> huge = GifWriter(10, 10, kPalette).Frame(Frame(0, 0, 10, 10, 0)).Finish();
    huge[7] = 0x50;  // 20,490 pixels wide
    EXPECT_EQ(0, Load(huge));
    std::vector<uint8_t> imageless = GifWriter(10, 10, kPalette).Comment("nothing").Finish();
    EXPECT_EQ(0, Load(imageless));
    EXPECT_EQ(0, picture->Ready);
    EXPECT_EQ(0, picture->Draw());
    EXPECT_EQ(0xFFFFFFu, picture->BkColor);
}

TEST_F(PictureTest, RealTimerAnimatesAndStopEndsItAtOnce) {
    picture->SetFrameScheduler(nullptr);
    ASSERT_EQ(1, Load(GifWriter(4, 4, kPalette).Frame(Frame(0, 0, 4, 4, 0, 1)).Frame(Frame(0, 0, 4, 4, 1, 1)).Finish()));
    window->Show();
    picture->Draw();
    for (int i = 0; i < 100 && picture->Current == 0; ++i) {
        wxMilliSleep(10);
        zam::testing::Pump();
    }
    EXPECT_EQ(1, picture->Current);
    picture->Stop();
    EXPECT_EQ(0, picture->Animating);
}

}  // namespace
