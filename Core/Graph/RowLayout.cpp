#include "Core/Graph/RowLayout.h"

#include <wx/control.h>

#include <algorithm>

namespace zam::graph {

namespace {

// How much longer the shown text is than the English one, but no more than
// the control lacks: the row was laid out for the English texts, and the
// toolkit's own least width for a button (more than the design gives it)
// says nothing about the text inside.
int ExtraWidth(wxWindow* control, int designedWidth, const wxString& english) {
    if (control->GetLabel() == english) return 0;  // as designed, and not measured: that takes time
    const int longer = control->GetTextExtent(wxControl::RemoveMnemonics(control->GetLabel())).GetWidth() -
                       control->GetTextExtent(wxControl::RemoveMnemonics(english)).GetWidth();
    const int lacking = control->GetBestSize().GetWidth() - designedWidth;
    return std::max(0, std::min(longer, lacking));
}

}  // namespace

void RowLayout::Add(wxWindow* control, const wxRect& designed) { m_Entries.push_back({control, designed, {}}); }

void RowLayout::AddText(wxWindow* control, const wxRect& designed, const char* english) {
    m_Entries.push_back({control, designed, wxString::FromUTF8(english)});
}

int RowLayout::Apply() {
    // Each control that needs more width pushes whatever begins at or after
    // its designed right edge; an edge moves by what grew before it.
    struct Growth {
        int Right;
        int Extra;
    };
    std::vector<Growth> grown;
    for (const Entry& e : m_Entries) {
        if (e.English.empty()) continue;
        const int extra = ExtraWidth(e.Control, e.Designed.GetWidth(), e.English);
        if (extra > 0) grown.push_back({e.Designed.GetLeft() + e.Designed.GetWidth(), extra});
    }
    auto shiftAt = [&grown](int x) {
        int shift = 0;
        for (const Growth& g : grown) shift += g.Right <= x ? g.Extra : 0;
        return shift;
    };
    int total = 0;
    for (const Entry& e : m_Entries) {
        const int left = e.Designed.GetLeft();
        const int right = left + e.Designed.GetWidth();
        wxRect placed = e.Designed;
        placed.SetLeft(left + shiftAt(left));
        placed.SetWidth(right + shiftAt(right) - placed.GetLeft());
        e.Control->SetSize(placed);
        total = std::max(total, shiftAt(right));
    }
    return total;
}

}  // namespace zam::graph
