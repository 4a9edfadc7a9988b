#pragma once
// A self-painting frame: a rounded (or square) outline with an optional
// caption set into its top edge, or a filled title band above a filled body,
// in colours and a font the owner can change at any time. It paints itself
// rather than leaving it to the theme, so it looks the same everywhere.
// Every setter but SetRounded repaints at once; setters return the control,
// so calls chain.

#include <wx/control.h>
#include <wx/font.h>

#include <cstdint>
#include <string>

#include "Core/Platform/WinTypes.h"

/// The 60-byte logical font record the frame keeps its caption font in.
/// Height is negative for a character height in pixels, as the record has it.
struct LOGFONT {
    int32_t lfHeight;
    int32_t lfWidth;
    int32_t lfEscapement;
    int32_t lfOrientation;
    int32_t lfWeight;  ///< 400 normal, 700 bold
    uint8_t lfItalic;
    uint8_t lfUnderline;
    uint8_t lfStrikeOut;
    uint8_t lfCharSet;
    uint8_t lfOutPrecision;
    uint8_t lfClipPrecision;
    uint8_t lfQuality;
    uint8_t lfPitchAndFamily;
    char lfFaceName[32];
};
static_assert(sizeof(LOGFONT) == 60, "the logical font record is 60 bytes");

class wxDC;

class CFrameCtrl : public wxControl {
public:
    CFrameCtrl();
    CFrameCtrl(wxWindow* parent, wxWindowID id, const wxString& label = wxEmptyString,
               const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
               long style = 0);
    /// Creates the window and takes its font (or the system font) into LogFont.
    bool Create(wxWindow* parent, wxWindowID id, const wxString& label = wxEmptyString,
                const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
                long style = 0);

    virtual CFrameCtrl& SetFrameColor(COLORREF color);
    virtual CFrameCtrl& SetTextColor(COLORREF color);
    /// Title band colour and body colour.
    virtual CFrameCtrl& SetFillColors(COLORREF band, COLORREF body);
    /// Both fill colours.
    virtual CFrameCtrl& SetFillColor(COLORREF color);
    /// 0 outline mode, anything else title-band mode.
    virtual CFrameCtrl& SetTitleBand(int band);
    /// Rounded (non-zero) or square corners; shows at the next paint.
    virtual CFrameCtrl& SetRounded(int rounded);
    /// The caption, stored with a blank before and after; nothing without a window.
    virtual CFrameCtrl& SetFrameText(const char* text);
    virtual CFrameCtrl& SetBold(bool bold);
    virtual CFrameCtrl& SetFaceName(const char* face, BYTE charSet = 0);
    virtual CFrameCtrl& SetUnderline(BYTE underline);
    virtual CFrameCtrl& SetItalic(BYTE italic);
    virtual CFrameCtrl& SetPointSize(int points);
    virtual CFrameCtrl& SetLogFont(LOGFONT logFont);
    /// 1 centre, 2 right, anything else left.
    virtual CFrameCtrl& SetAlign(int align);

    /// Repaints the control at once, then the area it covers in its parent.
    void Redraw();
    /// Paints the frame onto dc, the size of the client area (the paint
    /// handler's work, open to off-screen drawing).
    void PaintFrame(wxDC& dc);

    std::string FrameText;  ///< caption with its blanks
    COLORREF FrameColor;
    COLORREF FillColor;
    COLORREF BodyColor;
    COLORREF TextColor;
    int TitleBand = 0;
    int Rounded = 1;
    int Align = 0;
    LOGFONT LogFont{};
    wxFont Font;

private:
    void MakeFont();
    void OnPaint(wxPaintEvent& event);

    wxDECLARE_CLASS(CFrameCtrl);
};
