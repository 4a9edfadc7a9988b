#include "Core/Graph/RowLayout.h"

namespace zam::graph {

void RowLayout::Add(wxWindow* control, const wxRect& designed, bool fitText) {
    m_Entries.push_back({control, designed, fitText});
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
        if (!e.FitText) continue;
        const int extra = e.Control->GetBestSize().GetWidth() - e.Designed.GetWidth();
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
