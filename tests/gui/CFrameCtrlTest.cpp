#include "Core/Graph/CFrameCtrl.h"

#include <gtest/gtest.h>
#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>

#include "tests/gui/GuiTestSupport.h"

namespace {

constexpr COLORREF kFrame = RGB(200, 0, 0);
constexpr COLORREF kFill = RGB(0, 160, 0);
constexpr COLORREF kBody = RGB(0, 0, 180);
constexpr COLORREF kPaper = RGB(255, 255, 255);

class FrameCtrlTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = new wxFrame(nullptr, wxID_ANY, "frames");
        frame = new CFrameCtrl(window, wxID_ANY, "", wxPoint(0, 0), wxSize(160, 80));
        frame->SetFrameColor(kFrame).SetFillColors(kFill, kBody).SetTextColor(RGB(0, 0, 0));
    }
    void TearDown() override { window->Destroy(); }

    // What the control paints, read back pixel by pixel.
    wxImage Painted() {
        wxBitmap bitmap(frame->GetClientSize());
        {
            wxMemoryDC dc(bitmap);
            dc.SetBackground(*wxWHITE_BRUSH);
            dc.Clear();
            frame->PaintFrame(dc);
        }
        return bitmap.ConvertToImage();
    }
    static COLORREF At(const wxImage& image, int x, int y) {
        return RGB(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
    }
    wxSize CaptionExtent() {
        wxBitmap bitmap(10, 10);
        wxMemoryDC dc(bitmap);
        dc.SetFont(frame->Font);
        return dc.GetTextExtent(wxString::FromUTF8(frame->FrameText.c_str()));
    }

    wxFrame* window = nullptr;
    CFrameCtrl* frame = nullptr;
};

TEST_F(FrameCtrlTest, WithoutCaptionOnlyTheOutlineIsDrawnFromTheClientTop) {
    const wxImage image = Painted();
    EXPECT_EQ(kFrame, At(image, 80, 1));   // top edge right at r.top
    EXPECT_EQ(kFrame, At(image, 1, 40));   // left edge
    EXPECT_EQ(kPaper, At(image, 80, 40));  // no fill inside
    EXPECT_EQ(kPaper, At(image, 80, 0));
}

TEST_F(FrameCtrlTest, FiveLetterCaptionCutsTheOutlineTenPixelsFromTheLeft) {
    frame->SetFrameText("ABCDE");
    EXPECT_EQ(" ABCDE ", frame->FrameText);
    const wxSize ab = CaptionExtent();
    const wxImage image = Painted();
    const int edge = 1 + ab.y / 2;
    EXPECT_EQ(kFrame, At(image, 9, edge));        // outline up to the caption
    EXPECT_EQ(kFill, At(image, 11, edge));        // the caption box: r.left + 10
    EXPECT_EQ(kFill, At(image, 11 + ab.x - 1, edge));  // its trailing blank
    EXPECT_EQ(kFrame, At(image, 11 + ab.x + 1, edge));  // outline again after it
    EXPECT_EQ(kPaper, At(image, 80, 40));
}

TEST_F(FrameCtrlTest, SquareAndRoundedCornersDifferOnlyAtTheNextPaint) {
    frame->SetFrameText("");
    frame->FrameText.clear();
    EXPECT_NE(kFrame, At(Painted(), 1, 1));  // rounded: the corner pixel stays empty
    frame->SetRounded(0);
    EXPECT_EQ(0, frame->Rounded);
    EXPECT_EQ(kFrame, At(Painted(), 1, 1));
    frame->SetRounded(5);
    EXPECT_EQ(1, frame->Rounded);
}

TEST_F(FrameCtrlTest, TitleBandFillsBandAndBody) {
    frame->SetTitleBand(1).SetFrameText("Title");
    const wxSize ab = CaptionExtent();
    const wxImage image = Painted();
    EXPECT_EQ(kFill, At(image, 150, 1 + (ab.y + 4) / 2));  // band, right of the caption
    EXPECT_EQ(kBody, At(image, 80, 60));
    EXPECT_EQ(kFrame, At(image, 80, 1 + ab.y + 4));  // the body's top edge
}

TEST_F(FrameCtrlTest, CentredCaptionWiderThanTheFrameStartsLeftOfIt) {
    frame->SetSize(wxSize(30, 40));
    frame->SetFrameText("A caption far wider than thirty pixels");
    const int edge = 1 + CaptionExtent().y / 2;
    EXPECT_EQ(kFrame, At(Painted(), 8, edge));  // left aligned: outline before the caption
    frame->SetAlign(1);
    EXPECT_LT(1 + (29 - CaptionExtent().x - 1) / 2, 0);
    // Centred, the caption box starts left of the frame and hides its whole top edge.
    const wxImage image = Painted();
    for (int x = 6; x < 24; ++x) EXPECT_NE(kFrame, At(image, x, edge)) << x;
}

TEST_F(FrameCtrlTest, FontSettersKeepTheLogicalFontRecord) {
    frame->SetBold(true).SetItalic(1).SetUnderline(1).SetPointSize(12).SetFaceName("DejaVu Sans", 0);
    EXPECT_EQ(700, frame->LogFont.lfWeight);
    EXPECT_EQ(1, frame->LogFont.lfItalic);
    EXPECT_STREQ("DejaVu Sans", frame->LogFont.lfFaceName);
    EXPECT_LT(frame->LogFont.lfHeight, 0);
    EXPECT_EQ(wxFONTWEIGHT_BOLD, frame->Font.GetWeight());
    EXPECT_TRUE(frame->Font.GetUnderlined());
    LOGFONT lf = frame->LogFont;
    lf.lfWeight = 400;
    frame->SetLogFont(lf);
    EXPECT_EQ(wxFONTWEIGHT_NORMAL, frame->Font.GetWeight());
    EXPECT_EQ(wxString("CFrameCtrl"), wxString(frame->GetClassInfo()->GetClassName()));
}

}  // namespace
