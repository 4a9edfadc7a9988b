#pragma once
// A row of controls at designed, fixed rectangles that still fits texts
// longer than the design: a translated caption or label gets as much more
// width as its text is longer than the English one (when it lacks room), and
// everything designed to its right moves along by as much. The English row
// keeps its designed rectangles exactly.

#include <wx/gdicmn.h>
#include <wx/window.h>

#include <vector>

namespace zam::graph {

class RowLayout {
public:
    /// A control and its designed rectangle. Frames and bars that span
    /// other controls stretch with what grew inside them.
    void Add(wxWindow* control, const wxRect& designed);

    /// A control showing english in the user's language: widened by what
    /// its label is longer than english, when it lacks that room.
    void AddText(wxWindow* control, const wxRect& designed, const char* english);

    /// Places every control; returns how many pixels wider the row became.
    int Apply();

private:
    struct Entry {
        wxWindow* Control;
        wxRect Designed;
        wxString English;  ///< empty: the control never grows
    };
    std::vector<Entry> m_Entries;
};

}  // namespace zam::graph
