#pragma once
// A row of controls at designed, fixed rectangles that still fits texts
// longer than the design: a translated caption or label gets the width it
// needs and everything designed to its right moves along by as much. When
// every text fits, every control keeps its designed rectangle exactly.

#include <wx/gdicmn.h>
#include <wx/window.h>

#include <vector>

namespace zam::graph {

class RowLayout {
public:
    /// A control and its designed rectangle; with fitText it is widened
    /// when its best width (its text) needs more than designed. Frames and
    /// bars that span other controls stretch with what grew inside them.
    void Add(wxWindow* control, const wxRect& designed, bool fitText = true);

    /// Places every control; returns how many pixels wider the row became.
    int Apply();

private:
    struct Entry {
        wxWindow* Control;
        wxRect Designed;
        bool FitText;
    };
    std::vector<Entry> m_Entries;
};

}  // namespace zam::graph
