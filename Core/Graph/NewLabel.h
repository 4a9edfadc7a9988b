#pragma once
// A static text made in its parent's font from the start, at a given place
// and size. Made the usual way, a label first measures itself in the
// toolkit's default font and then, taking over its parent's font, asks for
// that default font again several times, each time building and dropping a
// label of the toolkit's own: for a window of a few labels the dearest part
// of its start.

#include <wx/gdicmn.h>
#include <wx/stattext.h>

namespace zam::graph {

wxStaticText* NewLabel(wxWindow* parent, wxWindowID id, const wxString& text, const wxRect& rect,
                       long style = wxST_NO_AUTORESIZE);

}  // namespace zam::graph
