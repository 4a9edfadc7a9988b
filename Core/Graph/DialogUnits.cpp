#include "Core/Graph/DialogUnits.h"

#include <wx/math.h>

namespace zam::graph {

namespace {

// The toolkit's own rounding of a dialog coordinate.
int Scale(int units, int base, int per) { return units == wxDefaultCoord ? units : wxMulDivInt32(units, base, per); }

}  // namespace

DialogUnits::DialogUnits(const wxWindow* window) {
    // 4,000 by 8,000 units are exactly a thousand times the base units, so
    // one conversion gives them without rounding.
    const wxPoint thousand = window->ConvertDialogToPixels(wxPoint(4000, 8000));
    m_BaseX = thousand.x / 1000;
    m_BaseY = thousand.y / 1000;
}

wxPoint DialogUnits::Point(int x, int y) const { return wxPoint(Scale(x, m_BaseX, 4), Scale(y, m_BaseY, 8)); }

wxSize DialogUnits::Size(int width, int height) const {
    return wxSize(Scale(width, m_BaseX, 4), Scale(height, m_BaseY, 8));
}

wxRect DialogUnits::Rect(int x, int y, int width, int height) const {
    return wxRect(Point(x, y), Size(width, height));
}

}  // namespace zam::graph
