#pragma once
// The font the windows are designed in: their rectangles are in dialog units
// of an 8-point sans-serif font with narrow, classic metrics. Liberation Sans
// has those metrics; without it the desktop's sans-serif stands in, and the
// windows grow a little.

#include <wx/font.h>

inline wxFont DesignFont() {
    wxFont font(wxFontInfo(8).FaceName("Liberation Sans"));
    if (!font.IsOk()) font = wxFont(wxFontInfo(8).Family(wxFONTFAMILY_SWISS));
    return font;
}
