#pragma once
// The timer's coloured progress bar: a filled bar in the bar colour over the
// background colour, in proportion to the position within the range. GTK's
// own progress bar takes no colours, so this control draws itself.
//
// When the main window is a frame with a status bar, the bar can also fit
// itself into one of the bar's panes; the timer's window has none, so there
// it stays where the window placed it.

#include <wx/control.h>
#include <wx/string.h>

#include "Core/Platform/WinTypes.h"

/// The colour a bar reports when it has no window yet.
constexpr COLORREF CLR_DEFAULT = 0xFF000000;

class CProgressBar : public wxControl {
public:
    /// A bar without a window; Create gives it one.
    CProgressBar();
    CProgressBar(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size);
    ~CProgressBar() override;

    bool Create(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size);

    /// Sets the range and the step; 1, or 0 without a window.
    int SetRange(int lower, int upper, int step);
    /// Shows the bar and moves it to position, kept within the range.
    void SetPos(int position);
    /// Shows the bar and sets the step.
    void SetStep(int step);
    /// Sets the bar colour; the previous one, or CLR_DEFAULT without a window.
    COLORREF SetBarColour(COLORREF colour);
    /// Sets the background colour; the previous one, or CLR_DEFAULT without a window.
    COLORREF SetBkColour(COLORREF colour);
    /// Fits the bar into its status-bar pane; 1 when fitted, else 0.
    int Resize();
    /// Hides the bar and gives the pane its text back.
    void Clear();

    int GetPos() const { return m_Pos; }
    int GetLower() const { return m_Lower; }
    int GetUpper() const { return m_Upper; }
    int GetStep() const { return m_Step; }
    COLORREF GetBarColour() const { return m_BarColour; }
    COLORREF GetBkColour() const { return m_BkColour; }
    /// How many times the position was set (each one repaints the bar).
    int GetSetPosCount() const { return m_SetPosCount; }

protected:
    wxSize DoGetBestSize() const override;

private:
    bool HasWindow() const;
    void OnPaint(wxPaintEvent& event);
    void OnEraseBackground(wxEraseEvent& event);

    // Pane fitting, as a frame's status bar would use it.
    int m_PaneFitting = 1;
    int m_SizePercent = 0;
    int m_PaneIndex = 0;
    wxString m_Message;
    wxString m_PreviousText;
    wxRect m_Placement;

    int m_Lower = 0;
    int m_Upper = 100;
    int m_Step = 10;
    int m_Pos = 0;
    int m_SetPosCount = 0;
    // Never set: the theme's colours, and CLR_DEFAULT reported as the previous one.
    COLORREF m_BarColour = CLR_DEFAULT;
    COLORREF m_BkColour = CLR_DEFAULT;

    wxDECLARE_DYNAMIC_CLASS(CProgressBar);
};
