#include "app/CProgressBar.h"

#include <wx/app.h>
#include <wx/dcbuffer.h>
#include <wx/frame.h>
#include <wx/settings.h>
#include <wx/statusbr.h>

wxIMPLEMENT_DYNAMIC_CLASS(CProgressBar, wxControl);

namespace {

// The status bar's window id in the layouts the bar was made for.
const int kStatusBarId = 59393;

// A colour never set is the theme's: the selection colour for the bar, the
// window colour behind it.
wxColour ShownColour(COLORREF c, bool bar) {
    if (c == CLR_DEFAULT) {
        return wxSystemSettings::GetColour(bar ? wxSYS_COLOUR_HIGHLIGHT : wxSYS_COLOUR_WINDOW);
    }
    return wxColour(GetRValue(c), GetGValue(c), GetBValue(c));
}

wxStatusBar* FindStatusBar() {
    wxWindow* main = wxTheApp != nullptr ? wxTheApp->GetTopWindow() : nullptr;
    if (main == nullptr) return nullptr;
    if (auto* frame = wxDynamicCast(main, wxFrame)) return frame->GetStatusBar();
    return wxDynamicCast(main->FindWindow(kStatusBarId), wxStatusBar);
}

}  // namespace

CProgressBar::CProgressBar() = default;

CProgressBar::CProgressBar(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size) {
    Create(parent, id, pos, size);
}

CProgressBar::~CProgressBar() { Clear(); }

bool CProgressBar::Create(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size) {
    if (!wxControl::Create(parent, id, pos, size, wxBORDER_SIMPLE | wxFULL_REPAINT_ON_RESIZE)) {
        return false;
    }
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &CProgressBar::OnPaint, this);
    Bind(wxEVT_ERASE_BACKGROUND, &CProgressBar::OnEraseBackground, this);
    return true;
}

bool CProgressBar::HasWindow() const { return GetHandle() != nullptr; }

wxSize CProgressBar::DoGetBestSize() const { return FromDIP(wxSize(200, 18)); }

int CProgressBar::SetRange(int lower, int upper, int step) {
    if (!HasWindow()) return 0;
    m_Lower = lower;
    m_Upper = upper;
    m_Step = step;
    Refresh();
    return 1;
}

void CProgressBar::SetPos(int position) {
    if (!HasWindow()) return;
    Show();
    // Like the platform's own bar, a position outside the range stops at its ends.
    const int low = m_Lower < m_Upper ? m_Lower : m_Upper;
    const int high = m_Lower < m_Upper ? m_Upper : m_Lower;
    m_Pos = position < low ? low : position > high ? high : position;
    ++m_SetPosCount;
    Refresh();
}

void CProgressBar::SetStep(int step) {
    if (!HasWindow()) return;
    Show();
    m_Step = step;
}

COLORREF CProgressBar::SetBarColour(COLORREF colour) {
    if (!HasWindow()) return CLR_DEFAULT;
    const COLORREF previous = m_BarColour;
    m_BarColour = colour;
    Refresh();
    return previous;
}

COLORREF CProgressBar::SetBkColour(COLORREF colour) {
    if (!HasWindow()) return CLR_DEFAULT;
    const COLORREF previous = m_BkColour;
    m_BkColour = colour;
    Refresh();
    return previous;
}

int CProgressBar::Resize() {
    if (!HasWindow() || !m_PaneFitting) return 0;
    wxStatusBar* bar = FindStatusBar();
    if (bar == nullptr || m_PaneIndex >= bar->GetFieldsCount()) return 0;
    if (IsShown()) {
        bar->SetStatusText(m_Message, m_PaneIndex);
        bar->Update();
    }
    wxClientDC dc(bar);
    dc.SetFont(bar->GetFont());
    const int messageWidth = dc.GetTextExtent(m_Message).GetWidth();
    const int blankWidth = dc.GetTextExtent(" ").GetWidth();
    wxRect pane;
    if (!bar->GetFieldRect(m_PaneIndex, pane)) return 0;
    int left = pane.GetLeft();
    int right = pane.GetRight() + 1;
    int top = pane.GetTop();
    int bottom = pane.GetBottom() + 1;
    if (!m_Message.empty()) left += messageWidth + 4 * blankWidth;
    right -= (100 - m_SizePercent) * (right - left) / 100;
    if (right < left) right = left;
    const int inset = (bottom - top) / 10;
    top += inset;
    bottom -= inset;
    const wxRect placement(left, top, right - left, bottom - top);
    if (placement != m_Placement) {
        SetSize(placement);
        Refresh();
        m_Placement = placement;
    }
    return 1;
}

void CProgressBar::Clear() {
    if (!HasWindow()) return;
    Hide();
    wxStatusBar* bar = FindStatusBar();
    if (bar == nullptr || m_PaneIndex >= bar->GetFieldsCount()) return;
    bar->SetStatusText(m_PaneIndex == 0 && m_PreviousText.empty() ? wxString("Ready") : m_PreviousText,
                       m_PaneIndex);
    bar->Update();
}

void CProgressBar::OnEraseBackground(wxEraseEvent& event) {
    Resize();
    event.Skip();
}

void CProgressBar::OnPaint(wxPaintEvent&) {
    // The paint-only background style means no erase event ever comes, so
    // the pane fitting that hangs on it runs here, before each paint.
    Resize();
    wxAutoBufferedPaintDC dc(this);
    const wxSize size = GetClientSize();
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(ShownColour(m_BkColour, false)));
    dc.DrawRectangle(0, 0, size.GetWidth(), size.GetHeight());
    const long long span = static_cast<long long>(m_Upper) - m_Lower;
    if (span <= 0) return;
    long long filled = (static_cast<long long>(m_Pos) - m_Lower) * size.GetWidth() / span;
    if (filled < 0) filled = 0;
    if (filled > size.GetWidth()) filled = size.GetWidth();
    dc.SetBrush(wxBrush(ShownColour(m_BarColour, true)));
    dc.DrawRectangle(0, 0, static_cast<int>(filled), size.GetHeight());
}
