#include "Core/Graph/CFrameCtrl.h"

#include <wx/dcclient.h>
#include <wx/graphics.h>
#include <wx/settings.h>

#include <cmath>
#include <cstring>

wxIMPLEMENT_CLASS(CFrameCtrl, wxControl);

namespace {

COLORREF ToColorRef(const wxColour& c) { return RGB(c.Red(), c.Green(), c.Blue()); }
wxColour ToColour(COLORREF c) { return wxColour(GetRValue(c), GetGValue(c), GetBValue(c)); }

double ScreenDpi() {
    const int dpi = wxGetDisplayPPI().y;
    return dpi > 0 ? dpi : 96.0;
}

void FaceInto(LOGFONT& lf, const char* face) {
    std::memset(lf.lfFaceName, 0, sizeof lf.lfFaceName);
    if (face != nullptr) std::strncpy(lf.lfFaceName, face, sizeof lf.lfFaceName - 1);
}

LOGFONT FromFont(const wxFont& font) {
    LOGFONT lf{};
    lf.lfHeight = -static_cast<int32_t>(std::lround(font.GetFractionalPointSize() * ScreenDpi() / 72.0));
    lf.lfWeight = font.GetNumericWeight();
    lf.lfItalic = font.GetStyle() != wxFONTSTYLE_NORMAL;
    lf.lfUnderline = font.GetUnderlined();
    lf.lfStrikeOut = font.GetStrikethrough();
    FaceInto(lf, font.GetFaceName().utf8_str());
    return lf;
}

}  // namespace

CFrameCtrl::CFrameCtrl()
    : FrameColor(ToColorRef(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW))),
      FillColor(ToColorRef(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE))),
      BodyColor(FillColor),
      TextColor(ToColorRef(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT))) {}

CFrameCtrl::CFrameCtrl(wxWindow* parent, wxWindowID id, const wxString& label, const wxPoint& pos,
                       const wxSize& size, long style)
    : CFrameCtrl() {
    Create(parent, id, label, pos, size, style);
}

bool CFrameCtrl::Create(wxWindow* parent, wxWindowID id, const wxString& label, const wxPoint& pos,
                        const wxSize& size, long style) {
    if (!wxControl::Create(parent, id, pos, size, style | wxBORDER_NONE)) return false;
    SetLabel(label);
    // Every pixel is ours; letting the toolkit erase first would only flicker.
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    const wxFont own = GetFont();
    LogFont = FromFont(own.IsOk() ? own : wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT));
    MakeFont();
    Bind(wxEVT_PAINT, &CFrameCtrl::OnPaint, this);
    return true;
}

void CFrameCtrl::MakeFont() {
    const double points = std::abs(LogFont.lfHeight) * 72.0 / ScreenDpi();
    wxFontInfo info(points > 0 ? points : 9.0);
    info.Weight(LogFont.lfWeight > 0 ? LogFont.lfWeight : wxFONTWEIGHT_NORMAL)
        .Italic(LogFont.lfItalic != 0)
        .Underlined(LogFont.lfUnderline != 0)
        .Strikethrough(LogFont.lfStrikeOut != 0);
    if (LogFont.lfFaceName[0] != 0) info.FaceName(wxString::FromUTF8(LogFont.lfFaceName));
    Font = wxFont(info);
}

CFrameCtrl& CFrameCtrl::SetFrameColor(COLORREF color) {
    FrameColor = color;
    Redraw();
    return *this;
}

CFrameCtrl& CFrameCtrl::SetTextColor(COLORREF color) {
    TextColor = color;
    Redraw();
    return *this;
}

CFrameCtrl& CFrameCtrl::SetFillColors(COLORREF band, COLORREF body) {
    FillColor = band;
    BodyColor = body;
    Redraw();
    return *this;
}

CFrameCtrl& CFrameCtrl::SetFillColor(COLORREF color) { return SetFillColors(color, color); }

CFrameCtrl& CFrameCtrl::SetTitleBand(int band) {
    TitleBand = band;
    Redraw();
    return *this;
}

CFrameCtrl& CFrameCtrl::SetRounded(int rounded) {
    Rounded = rounded != 0 ? 1 : 0;
    return *this;
}

CFrameCtrl& CFrameCtrl::SetFrameText(const char* text) {
    if (GetHandle() == nullptr) return *this;
    FrameText = std::string(" ") + (text ? text : "") + " ";
    Redraw();
    return *this;
}

CFrameCtrl& CFrameCtrl::SetBold(bool bold) {
    LogFont.lfWeight = bold ? 700 : 400;
    MakeFont();
    Redraw();
    return *this;
}

CFrameCtrl& CFrameCtrl::SetFaceName(const char* face, BYTE charSet) {
    FaceInto(LogFont, face);
    LogFont.lfCharSet = charSet;
    MakeFont();
    Redraw();
    return *this;
}

CFrameCtrl& CFrameCtrl::SetUnderline(BYTE underline) {
    LogFont.lfUnderline = underline;
    MakeFont();
    Redraw();
    return *this;
}

CFrameCtrl& CFrameCtrl::SetItalic(BYTE italic) {
    LogFont.lfItalic = italic;
    MakeFont();
    Redraw();
    return *this;
}

CFrameCtrl& CFrameCtrl::SetPointSize(int points) {
    LogFont.lfHeight = -static_cast<int32_t>(std::lround(points * ScreenDpi() / 72.0));
    LogFont.lfWidth = 0;
    MakeFont();
    Redraw();
    return *this;
}

CFrameCtrl& CFrameCtrl::SetLogFont(LOGFONT logFont) {
    LogFont = logFont;
    LogFont.lfFaceName[sizeof LogFont.lfFaceName - 1] = 0;
    MakeFont();
    Redraw();
    return *this;
}

CFrameCtrl& CFrameCtrl::SetAlign(int align) {
    Align = (align == 1 || align == 2) ? align : 0;
    Redraw();
    return *this;
}

void CFrameCtrl::Redraw() {
    if (GetHandle() == nullptr) return;
    Refresh();
    Update();
    if (wxWindow* parent = GetParent()) {
        parent->RefreshRect(GetRect());
        parent->Update();
    }
}

void CFrameCtrl::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    // The frame's background is the parent's, as a button's would be.
    dc.SetBackground(wxBrush(GetParent() ? GetParent()->GetBackgroundColour() : GetBackgroundColour()));
    dc.Clear();
    PaintFrame(dc);
}

void CFrameCtrl::PaintFrame(wxDC& dc) {
    // Square pixels, as the frame has always had: no smoothing of edges.
    if (wxGraphicsContext* gc = dc.GetGraphicsContext()) gc->SetAntialiasMode(wxANTIALIAS_NONE);
    const wxSize client = GetClientSize();
    const int left = 1, top = 1, right = client.x - 1, bottom = client.y - 1;
    const wxFont previousFont = dc.GetFont();
    dc.SetFont(Font);

    if (FrameText.empty()) {
        const std::string label = GetLabel().utf8_str().data();
        if (!label.empty()) FrameText = " " + label + " ";
    }
    const wxString caption = wxString::FromUTF8(FrameText.c_str());
    wxCoord a = 0, b = 0;
    if (!FrameText.empty()) dc.GetTextExtent(caption, &a, &b);

    wxRect box;
    dc.SetPen(wxPen(ToColour(FrameColor), 1, wxPENSTYLE_SOLID));
    if (TitleBand) {
        dc.SetBrush(wxBrush(ToColour(FillColor)));
        dc.DrawRoundedRectangle(left, top, right - left, bottom - top, 5);
        dc.SetBrush(wxBrush(ToColour(BodyColor)));
        dc.DrawRectangle(left, top + b + 4, right - left, bottom - (top + b + 4));
        int x = left + 2;
        if (Align == 1) x = left + (right - left - a) / 2;
        if (Align == 2) x = right - a - 2;
        box = wxRect(x, top + 2, a, b);
    } else {
        int x = left + 10;
        if (Align == 1) x = left + (right - a - left) / 2;
        if (Align == 2) x = right - 10 - a;
        box = wxRect(x, top, a, b);
        dc.SetBrush(*wxTRANSPARENT_BRUSH);
        if (Rounded) dc.DrawRoundedRectangle(left, top + b / 2, right - left, bottom - (top + b / 2), 5);
        else dc.DrawRectangle(left, top + b / 2, right - left, bottom - (top + b / 2));
        if (a > 0 && b > 0) {
            // The caption's box in the fill colour cuts the outline behind it.
            dc.SetClippingRegion(box);
            dc.SetPen(*wxTRANSPARENT_PEN);
            dc.SetBrush(wxBrush(ToColour(FillColor)));
            dc.DrawRectangle(box);
            dc.DestroyClippingRegion();
        }
    }
    if (!FrameText.empty()) {
        dc.SetTextForeground(ToColour(TextColor));
        dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
        dc.DrawText(caption, box.x, box.y + (box.height - b) / 2);
    }
    dc.SetPen(wxNullPen);
    dc.SetBrush(wxNullBrush);
    dc.SetFont(previousFont.IsOk() ? previousFont : wxNullFont);
}
