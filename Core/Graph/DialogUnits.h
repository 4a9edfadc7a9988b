#pragma once
// Dialog units of a window, measured once. For a window with a font of its
// own the toolkit measures that font again at every conversion, and a window
// laid out in a few dozen designed rectangles paid for it on every start.
// Conversions give exactly what the window's own ConvertDialogToPixels gives
// while its font stays as it was when this was made.

#include <wx/gdicmn.h>
#include <wx/window.h>

namespace zam::graph {

class DialogUnits {
public:
    explicit DialogUnits(const wxWindow* window);

    wxPoint Point(int x, int y) const;
    wxSize Size(int width, int height) const;
    wxRect Rect(int x, int y, int width, int height) const;

private:
    int m_BaseX;  ///< pixels per four horizontal dialog units
    int m_BaseY;  ///< pixels per eight vertical dialog units
};

}  // namespace zam::graph
