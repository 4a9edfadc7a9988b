// CTxtArray: the rows of a list-view control. Only this program's own list
// views can be read here (through the window build's list-view source);
// other processes' controls are out of reach on this system.

#include <unistd.h>

#include <string>

#include "Core/Platform/UserInterface.h"
#include "Core/Text/CTxtArray.h"
#include "Core/Text/RuntimeConv.h"

namespace {

// Every column's text came through a 512-byte area.
const size_t kItemTextMax = 511;
// A list view that does not tell its row count is read this far.
const int kUnknownRowCount = 1000;

}  // namespace

int CTxtArray::LoadFromLC(HWND wnd, CTxt& msg, int columns) {
    const int selectRow = zam::RuntimeAtoi(msg);
    RemoveAll();
    zam::platform::ListViewSource* source = zam::platform::GetListViewSource();
    const std::string handle = zam::PointerText(wnd);
    if (wnd == nullptr || source == nullptr || !source->IsListView(wnd)) {
        msg.Format("HWND %s not SysListView32", handle.c_str());
        return -1;
    }
    if (m_ProcessId != 0 && m_ProcessId != static_cast<int>(getpid())) {
        msg.Format("Cannot access PID %d for HWND %s", m_ProcessId, handle.c_str());
        return -3;
    }
    int rows = source->GetItemCount(wnd);
    if (rows <= 0) rows = kUnknownRowCount;
    std::string row;
    for (int i = 0; i < rows; ++i) {
        row.clear();
        for (int c = 0; c < columns; ++c) {
            std::string text = source->GetItemText(wnd, i, c);
            if (text.size() > kItemTextMax) text.resize(kItemTextMax);
            row += text;
            if (columns > 1) row += '|';
        }
        if (selectRow > 0) source->SetItemSelected(wnd, i, i == selectRow - 1);
        Add(row.c_str());
    }
    return GetSize();
}
