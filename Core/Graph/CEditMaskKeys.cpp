// The field's events on the window-free half: keys, characters, focus, the
// mouse, the clipboard and texts set from outside.

#include <algorithm>

#include "Core/Graph/CEditMaskText.h"
#include "Core/System/Log.h"

int CEditMaskText::HandleKeyDown(int key, bool shift) {
    if (m_Positions.empty()) return 0;
    int start = 0;
    int end = 0;
    GetFieldSel(start, end);
    std::string text;
    GetFieldText(text);
    const int length = static_cast<int>(text.size());
    const int count = GetPositionCount();
    switch (key) {
    case KeyHome:
    case KeyRight:
    case KeyDown:
        if (shift) return 0;  // the field extends the selection itself
        // What a single-line field does with the key, then on over literals.
        if (key == KeyHome) {
            start = 0;
        } else {
            start = start != end ? end : std::min(start + 1, length);
        }
        SetFieldSel(start, start);
        UpdateInsertionPointForward(start);
        return 1;
    case KeyLeft:
    case KeyUp:
        if (shift) return 0;
        start = start != end ? start : std::max(start - 1, 0);
        SetFieldSel(start, start);
        UpdateInsertionPointBackward(start);
        return 1;
    case KeyInsert:
        m_InsertMode = m_InsertMode == 0;
        return 1;
    case KeyDelete: {
        LogTrace("EditMask", 1, "  %2d, %2d  Before, Count=%d", start, end, count);
        int from = start;
        int to = start != end ? end : start + 1;
        // A selection of literals only slides right until it covers input.
        while (CountInput(from, to) == 0) {
            if (start == end || to >= count) return 1;
            ++from;
            ++to;
        }
        DeleteRange(from, to);
        Update(start);
        return 1;
    }
    default: return 0;
    }
}

int CEditMaskText::HandleChar(int code) {
    if (m_Positions.empty()) return 0;
    int start = 0;
    int end = 0;
    GetFieldSel(start, end);
    if (code == KeyBack) {
        int from = start;
        int to = end;
        if (start == end) {
            // The nearest input before the caret, past any literals.
            from = start - 1;
            while (from >= 0 && IsInputData(from) == 0) --from;
            to = from + 1;
        } else {
            while (from >= 0 && CountInput(from, to) == 0) {
                --from;
                --to;
            }
        }
        if (from < 0) return 1;
        DeleteRange(from, to);
        SetFieldSel(from, from);
        return 1;
    }
    if (code < 32) return 0;
    // Only single bytes can sit in a position; 127 is accepted nowhere and
    // can never be the prompt.
    const char c = code <= 255 ? static_cast<char>(code) : '\x7f';
    if (start != end) {
        if (DeleteRange(start, end) == 0) {
            ValidationError();
            SetFieldSel(start, start);
            return 1;
        }
        const int at = InsertAt(start, c);
        if (at < 0) {
            ValidationError();
            SetFieldSel(start, start);
            return 1;
        }
        UpdateInsertionPointForward(at + 1);
        return 1;
    }
    if (IsInputData(start) == 0) return 0;
    const int at = m_InsertMode != 0 ? InsertAt(start, c) : SetAt(start, c);
    if (at < 0) {
        ValidationError();
        return 1;
    }
    if (m_InsertMode != 0) {
        UpdateInsertionPointForward(at + 1);
    } else {
        Update(at + 1);
    }
    return 1;
}

int CEditMaskText::HandleSetFocus() {
    if (m_Positions.empty()) return 0;
    NotifyParent(EN_SETFOCUS);
    int start = 0;
    int end = 0;
    GetFieldSel(start, end);
    std::string text;
    GetFieldText(text);
    // Tabbing in selects everything; typing should start at the first input.
    if (start == 0 && end == static_cast<int>(text.size()) && end > 0) {
        const int first = GetNextInputLocation(0);
        SetFieldSel(first, first);
    }
    return 1;
}

int CEditMaskText::HandleKillFocus() {
    if (m_Positions.empty()) return 0;
    NotifyFocusLost();
    if (OnValidate() == 0) {
        TakeFocus();
        ValidationError();
        const int first = GetNextInputLocation(0);
        SetFieldSel(first, first);
    }
    return 1;
}

int CEditMaskText::HandleLButtonDown(bool hasFocus) {
    if (m_Positions.empty() || hasFocus || IsInputEmpty() == 0) return 0;
    TakeFocus();
    const int first = GetNextInputLocation(0);
    SetFieldSel(first, first);
    return 1;
}

int CEditMaskText::HandleCut() {
    if (m_Positions.empty()) return 0;
    int start = 0;
    int end = 0;
    GetFieldSel(start, end);
    DeleteRange(start, end);
    Update(start);
    return 1;
}

int CEditMaskText::HandlePaste(const char* clipboard) {
    if (m_Positions.empty()) return 0;
    int start = 0;
    int end = 0;
    GetFieldSel(start, end);
    std::string text;
    GetFieldText(text);
    const size_t from = std::min<size_t>(static_cast<size_t>(std::max(start, 0)), text.size());
    const size_t to = std::clamp<size_t>(static_cast<size_t>(std::max(end, 0)), from, text.size());
    text.replace(from, to - from, clipboard != nullptr ? clipboard : "");
    // The literals pasted or already shown are skipped like any character
    // that does not fit; whatever was skipped, the rest is taken.
    SetInputData(text.c_str(), 0, 0);
    const int caret = GetEmptyInputLocation(start);
    SetFieldSel(caret, caret);
    return 1;
}

int CEditMaskText::HandleSetText(const char* text) {
    if (m_Positions.empty()) return 0;
    if (m_Updating > 0) {
        StoreFieldText(text);
        NotifyParent(EN_UPDATE);
        if (m_ReportChange != 0) NotifyParent(EN_CHANGE);
        return 1;
    }
    const std::string input = GetInputData(text);
    const int report = m_ReportChange;
    m_ReportChange = 0;
    SetInputData(input.c_str(), 0, 1);
    m_ReportChange = report;
    return 1;
}
