#include "Core/Graph/NewLabel.h"

namespace zam::graph {

wxStaticText* NewLabel(wxWindow* parent, wxWindowID id, const wxString& text, const wxRect& rect,
                       long style) {
    auto* label = new wxStaticText;
    // The window's own SetFont, not the label's: before creation there is no
    // text to restyle, and the label's version would ask for the old font
    // first. Creation applies the font, and the label inherits nothing.
    label->wxWindow::SetFont(parent->GetFont());
    label->Create(parent, id, text, rect.GetPosition(), rect.GetSize(), style);
    return label;
}

}  // namespace zam::graph
