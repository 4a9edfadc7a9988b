#include "Core/Graph/CEditMaskText.h"

#include <algorithm>

#include "Core/Platform/Locale.h"
#include "Core/Platform/UserInterface.h"
#include "Core/System/Log.h"

CEditMaskText::CEditMaskText(const char* mask) {
    const zam::platform::LocaleSeparators locale = zam::platform::GetLocaleSeparators();
    m_Separators[CMaskData::KindDecimal] = locale.Decimal;
    m_Separators[CMaskData::KindThousands] = locale.Thousands;
    m_Separators[CMaskData::KindTime] = locale.Time;
    m_Separators[CMaskData::KindDate] = locale.Date;
    SetMask(mask);
}

CEditMaskText::~CEditMaskText() { DeleteContents(); }

// --- The mask ---------------------------------------------------------------

void CEditMaskText::SetMask(const char* mask) {
    const std::string text = mask != nullptr ? mask : "";
    // Exact comparison: 'a' and 'c' are literals where 'A' and 'C' take input.
    if (text == GetMask()) return;
    m_Positions.clear();
    m_Positions.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        CMaskData position;
        if (text[i] == '\\') {
            position.m_Kind = CMaskData::KindEscaped;
            // A trailing backslash ends the mask with an empty literal.
            if (i + 1 < text.size()) position.m_Char = text[++i];
        } else {
            position.m_Kind = CMaskData::KindOf(text[i]);
            if (position.IsInput()) {
                position.m_Char = m_PromptSymbol;
            } else if (position.m_Kind <= CMaskData::KindDate) {
                position.m_Char = m_Separators[position.m_Kind];
            } else {
                position.m_Char = text[i];
            }
        }
        m_Positions.push_back(position);
    }
    Update(0);
}

std::string CEditMaskText::GetMask() const {
    std::string mask;
    for (const CMaskData& position : m_Positions) {
        if (position.m_Kind == CMaskData::KindEscaped) {
            mask += '\\';
            if (position.m_Char != '\0') mask += position.m_Char;
        } else if (position.m_Kind == CMaskData::KindLiteral) {
            mask += position.m_Char;
        } else {
            mask += CMaskData::MaskCharOf(position.m_Kind);
        }
    }
    return mask;
}

int CEditMaskText::GetNumFixedChar(const char* mask) {
    if (mask == nullptr) return 0;
    int count = 0;
    for (const char* p = mask; *p != '\0'; ++p) {
        if (*p == '\\' && p[1] != '\0') {
            ++count;
            ++p;
        }
    }
    return count;
}

std::string CEditMaskText::ShowMask() const {
    std::string display;
    display.reserve(m_Positions.size());
    // The empty literal of a trailing backslash shows as a blank, so the
    // display keeps one character per position and no NUL cuts it short.
    for (const CMaskData& position : m_Positions) display += position.m_Char != '\0' ? position.m_Char : ' ';
    return display;
}

const CMaskData* CEditMaskText::GetMaskData(int position) const {
    return position >= 0 && position < GetPositionCount() ? &m_Positions[position] : nullptr;
}

// --- The input --------------------------------------------------------------

std::string CEditMaskText::GetInputData() const {
    if (m_Positions.empty()) {
        std::string text;
        GetFieldText(text);
        return text;
    }
    std::string input;
    for (const CMaskData& position : m_Positions) {
        if (position.IsInput()) input += position.m_Char;
    }
    return input;
}

std::string CEditMaskText::GetInputData(const char* text) const {
    const std::string formatted = text != nullptr ? text : "";
    std::vector<bool> drop(formatted.size(), false);
    const int count = GetPositionCount();
    for (int begin = 0; begin < count;) {
        if (m_Positions[begin].IsInput()) {
            ++begin;
            continue;
        }
        int end = begin;
        while (end < count && !m_Positions[end].IsInput()) ++end;
        if (end < count) {
            bool matches = static_cast<size_t>(end) <= formatted.size();
            for (int i = begin; matches && i < end; ++i) {
                const char shown = m_Positions[i].m_Char != '\0' ? m_Positions[i].m_Char : ' ';
                matches = formatted[i] == shown;
            }
            if (matches) std::fill(drop.begin() + begin, drop.begin() + end, true);
        }
        begin = end;
    }
    std::string rest;
    for (size_t i = 0; i < formatted.size(); ++i) {
        if (!drop[i]) rest += formatted[i];
    }
    return rest;
}

bool CEditMaskText::Distribute(const std::string& input, bool apply) {
    bool skipped = false;
    size_t next = 0;
    for (CMaskData& position : m_Positions) {
        if (!position.IsInput()) continue;
        char stored = m_PromptSymbol;
        while (next < input.size()) {
            const char c = input[next++];
            if (c == m_PromptSymbol) break;
            if (position.Accepts(c, stored)) break;
            stored = m_PromptSymbol;
            skipped = true;
        }
        if (apply) position.m_Char = stored;
    }
    return !skipped;
}

int CEditMaskText::SetInputData(const char* text, int start, int raw) {
    if (m_Positions.empty()) {
        SetFieldText(text != nullptr ? text : "");
        return 1;
    }
    const std::string current = GetInputData();
    std::string input = current.substr(0, static_cast<size_t>(std::clamp<int>(start, 0, current.size())));
    for (const char* p = text != nullptr ? text : ""; *p != '\0'; ++p) {
        if (raw != 0 || *p != m_PromptSymbol) input += *p;
    }
    const bool whole = Distribute(input, true);
    Update(-1);
    return whole ? 1 : 0;
}

void CEditMaskText::EmptyData(int keepMask) {
    if (!m_Positions.empty() && keepMask != 0) {
        for (CMaskData& position : m_Positions) {
            if (position.IsInput()) position.m_Char = m_PromptSymbol;
        }
    } else {
        DeleteContents();
    }
    Update(-1);
}

void CEditMaskText::DeleteContents() {
    m_Positions.clear();
    SetFieldText("");
}

int CEditMaskText::IsInputEmpty() const {
    if (m_Positions.empty()) {
        std::string text;
        GetFieldText(text);
        return text.empty() ? 1 : 0;
    }
    for (const CMaskData& position : m_Positions) {
        if (position.IsInput() && position.m_Char != m_PromptSymbol) return 0;
    }
    return 1;
}

void CEditMaskText::SetPromptSymbol(char symbol) {
    if (symbol != 0 && symbol != 10 && symbol != 13 && symbol != 127) {
        for (CMaskData& position : m_Positions) {
            if (position.IsInput() && position.m_Char == m_PromptSymbol) position.m_Char = symbol;
        }
        m_PromptSymbol = symbol;
    }
    Update(-1);
}

int CEditMaskText::RPtoLP(int position) const {
    if (position < 0 || position >= GetPositionCount() || !m_Positions[position].IsInput()) return -1;
    return CountInput(0, position);
}

int CEditMaskText::LPtoRP(int index) const {
    if (index < 0) return -1;
    for (int i = 0; i < GetPositionCount(); ++i) {
        if (m_Positions[i].IsInput() && index-- == 0) return i;
    }
    return -1;
}

void CEditMaskText::ValidationError() { zam::platform::MessageBeep(MB_ICONEXCLAMATION); }

int CEditMaskText::OnValidate() { return 1; }

// --- Steps ------------------------------------------------------------------

int CEditMaskText::CountInput(int from, int to) const {
    int count = 0;
    for (int i = std::max(from, 0); i < to && i < GetPositionCount(); ++i) {
        if (m_Positions[i].IsInput()) ++count;
    }
    return count;
}

int CEditMaskText::IsInputData(int position) const {
    if (m_Positions.empty()) return 1;
    const CMaskData* data = GetMaskData(position);
    return data != nullptr && data->IsInput() ? 1 : 0;
}

int CEditMaskText::DeleteRange(int from, int to) {
    const int count = CountInput(from, to);
    if (count == 0) return 0;
    std::string rest;
    for (int i = 0; i < GetPositionCount(); ++i) {
        if (m_Positions[i].IsInput() && (i < from || i >= to)) rest += m_Positions[i].m_Char;
    }
    SetInputData(rest.c_str(), 0, 1);
    return count;
}

int CEditMaskText::InsertAt(int position, char c) {
    const int target = GetNextInputLocation(position);
    if (target >= GetPositionCount()) return -1;
    std::string input = GetInputData();
    input.insert(static_cast<size_t>(RPtoLP(target)), 1, c);
    // Tried first, so a refused insert leaves the input, and the field, untouched.
    if (!Distribute(input, false)) return -1;
    Distribute(input, true);
    Update(-1);
    return target;
}

int CEditMaskText::SetAt(int position, char c) {
    if (position < 0 || position >= GetPositionCount() || !m_Positions[position].IsInput()) return position;
    char stored = c;
    if (c != m_PromptSymbol && !m_Positions[position].Accepts(c, stored)) return -1;
    m_Positions[position].m_Char = stored;
    return position;
}

int CEditMaskText::GetNextInputLocation(int position) const {
    for (int i = std::max(position, 0); i < GetPositionCount(); ++i) {
        if (m_Positions[i].IsInput()) return i;
    }
    return GetPositionCount();
}

int CEditMaskText::GetEmptyInputLocation(int position) const {
    for (int i = std::max(position, 0); i < GetPositionCount(); ++i) {
        if (m_Positions[i].IsInput() && m_Positions[i].m_Char == m_PromptSymbol) return i;
    }
    return GetPositionCount();
}

int CEditMaskText::GetPreviousInputLocation(int position) const {
    const int q = std::max(position, 0);
    if (IsInputData(q) != 0 && !m_Positions.empty()) return q;
    for (int i = std::min(q, GetPositionCount()) - 1; i >= 0; --i) {
        if (m_Positions[i].IsInput()) return i + 1;
    }
    return GetNextInputLocation(position);
}

void CEditMaskText::Update(int caret) {
    if (FieldExists()) {
        ++m_Updating;
        SetFieldText(ShowMask().c_str());
        --m_Updating;
    }
    if (caret >= 0) UpdateInsertionPointForward(caret);
}

void CEditMaskText::UpdateInsertionPointForward(int position) {
    const int next = GetNextInputLocation(position);
    if (m_AutoTab != 0 && next == GetPositionCount() && FocusNextControl()) return;
    SetFieldSel(next, next);
}

void CEditMaskText::UpdateInsertionPointBackward(int position) {
    const int previous = GetPreviousInputLocation(position);
    SetFieldSel(previous, previous);
}

void CEditMaskText::NotifyParent(int) {}

// --- The in-memory field ----------------------------------------------------

void CEditMaskText::SetFieldText(const char* text) {
    if (HandleSetText(text) == 0) StoreFieldText(text);
}

void CEditMaskText::StoreFieldText(const char* text) {
    m_FieldText = text != nullptr ? text : "";
    m_SelStart = std::min<int>(m_SelStart, m_FieldText.size());
    m_SelEnd = std::min<int>(m_SelEnd, m_FieldText.size());
}

void CEditMaskText::GetFieldSel(int& start, int& end) const {
    start = m_SelStart;
    end = m_SelEnd;
}

void CEditMaskText::SetFieldSel(int start, int end) {
    const int length = static_cast<int>(m_FieldText.size());
    m_SelStart = std::clamp(start, 0, length);
    m_SelEnd = std::clamp(end, m_SelStart, length);
}
