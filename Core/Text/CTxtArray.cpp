// CTxtArray: the list itself, finding, name|value entries, sorting and
// loading from memory.

#include "Core/Text/CTxtArray.h"

#include <strings.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "Core/Text/RuntimeConv.h"
#include "Core/Text/TextFunc.h"

namespace {

// Slots holding this pattern were released already and are never freed twice.
const uintptr_t kReleasedFill = 0xFEEEFEEE;

CTxt* NewText(const char* p) { return p != nullptr ? new CTxt(p) : new CTxt(); }

// The name of a "name|value" entry: its first field, at most 99 characters.
std::string EntryName(const char* entry) {
    char name[100];
    strfld(entry, '|', 1, 0, name, sizeof name);
    return name;
}

// qsort hands its comparator pointers to the elements; the callers' comparisons
// expect the texts' characters, so this adapter unwraps them.
thread_local int (*t_compare)(const void*, const void*) = nullptr;

int CompareRecords(const void* a, const void* b) {
    return t_compare(*static_cast<const char* const*>(a), *static_cast<const char* const*>(b));
}

int CompareNoCase(const void* a, const void* b) {
    return strcasecmp(static_cast<const char*>(a), static_cast<const char*>(b));
}

}  // namespace

CTxtArray::CTxtArray() = default;

CTxtArray::~CTxtArray() { RemoveAll(); }

CTxt* CTxtArray::GetAt(int i) const {
    void* slot = m_Items.GetAt(i);
    return reinterpret_cast<uintptr_t>(slot) == kReleasedFill ? nullptr : static_cast<CTxt*>(slot);
}

const char* CTxtArray::GetAtTxt(int i) const {
    const CTxt* text = GetAt(i);
    return text != nullptr ? text->GetData() : nullptr;
}

int CTxtArray::Add(const char* p) { return m_Items.Add(NewText(p)); }

int CTxtArray::AddPooled(const char* p, int n) {
    CTxt* text = m_Pool.Make(p, n);
    if (text == nullptr) return Add(p);
    return m_Items.Add(text);
}

void CTxtArray::Release(void* slot) {
    if (slot == nullptr || reinterpret_cast<uintptr_t>(slot) == kReleasedFill) return;
    if (m_Pool.Holds(slot)) {
        CTxtPool::Destroy(static_cast<CTxt*>(slot));
    } else {
        delete static_cast<CTxt*>(slot);
    }
}

void CTxtArray::Insert(int i, const char* p) {
    if (i < 0) i = 0;
    if (i > GetSize()) i = GetSize();
    m_Items.InsertAt(i, NewText(p));
}

int CTxtArray::SetAt(int i, const char* p) {
    if (i < 0) return -1;
    CTxt* text = GetAt(i);
    if (text != nullptr) {
        text->SetTxt(p);
    } else {
        m_Items.SetAtGrow(i, NewText(p));
    }
    return 0;
}

int CTxtArray::RemoveAt(int i) {
    if (i < 0 || i >= GetSize()) return -1;
    Release(m_Items.GetAt(i));
    m_Items.RemoveAt(i, 1);
    return 0;
}

void CTxtArray::RemoveAll() {
    for (int i = 0; i < GetSize(); ++i) Release(m_Items.GetAt(i));
    m_Items.RemoveAll();
    m_Pool.Clear();
}

int CTxtArray::FindString(const char* t) const {
    if (t == nullptr) return -1;
    for (int i = 0; i < GetSize(); ++i) {
        const CTxt* text = GetAt(i);
        if (text != nullptr && stricmpmode(*text, t, 1) == 0) return i;
    }
    return -1;
}

int CTxtArray::FindStringStart(const char* prefix, int fromEnd) const {
    if (prefix == nullptr) return -1;
    const int size = GetSize();
    for (int k = 0; k < size; ++k) {
        const int i = fromEnd ? size - 1 - k : k;
        const CTxt* text = GetAt(i);
        if (text != nullptr && stricmpmode(prefix, *text, 2) == 0) return i;
    }
    return -1;
}

int CTxtArray::FindStringSegment(const char* seg) const {
    if (seg == nullptr) return -1;
    for (int i = 0; i < GetSize(); ++i) {
        const CTxt* text = GetAt(i);
        if (text != nullptr && strifind(*text, seg) >= 0) return i;
    }
    return -1;
}

int CTxtArray::AddIfNew(const char* t) {
    if (FindString(t) >= 0) return 0;
    Add(t);
    return 1;
}

int CTxtArray::AddIfNewIdx(const char* t) {
    const int at = FindString(t);
    return at >= 0 ? at : Add(t);
}

int CTxtArray::Compare(CTxtArray* other) const {
    if (other == nullptr || other->GetSize() != GetSize()) return -1;
    for (int i = 0; i < GetSize(); ++i) {
        const char* a = GetAtTxt(i);
        const char* b = other->GetAtTxt(i);
        if (std::strcmp(a != nullptr ? a : "", b != nullptr ? b : "") != 0) return -2;
    }
    return 0;
}

int CTxtArray::FindValue(const char* name, CTxt& value, int report) const {
    const char* wanted = name != nullptr ? name : "";
    for (int i = 0; i < GetSize(); ++i) {
        const CTxt* text = GetAt(i);
        if (text == nullptr || stricmpmode(EntryName(*text).c_str(), wanted, 1) != 0) continue;
        strfldtxt(*text, '|', 2, 99, value);
        return i;
    }
    if (report == 1) value.Format("%s to found", wanted);
    return -1;
}

int CTxtArray::FindValueReset(const char* name, CTxt& value, int report) const {
    value.Empty();
    return FindValue(name, value, report);
}

int CTxtArray::FindValueInt(const char* name) const {
    CTxt value;
    if (FindValue(name, value, 0) < 0) return -1;
    return zam::RuntimeAtoi(value);
}

int CTxtArray::SetValue(const char* name, const char* value) {
    CTxt old;
    const int at = FindValue(name, old, 0);
    if (value == nullptr) {
        if (at >= 0) RemoveAt(at);
        return at;
    }
    CTxt entry;
    entry.Format("%s|%s", name != nullptr ? name : "", value);
    if (at >= 0) {
        SetAt(at, entry);
        return at;
    }
    return Add(entry);
}

int CTxtArray::AddCnt(const char* name) {
    const int count = FindValueInt(name);
    CTxt entry;
    entry.Format("%s|%d", name != nullptr ? name : "", count < 0 ? 1 : count + 1);
    CTxt old;
    const int at = FindValue(name, old, 0);
    if (at >= 0) {
        SetAt(at, entry);
        return at;
    }
    return Add(entry);
}

int CTxtArray::GetDelimTxt(CTxt& out, char delim) const {
    out.Empty();
    out.MakeEmpty();
    for (int i = 0; i < GetSize(); ++i) {
        const char* text = GetAtTxt(i);
        if (text != nullptr) out.AddTxt(text);
        out.Add(delim);
    }
    return GetSize();
}

void CTxtArray::SortWith(int (*cmp)(const void*, const void*), bool reserve) {
    const int size = GetSize();
    if (size < 2 || cmp == nullptr) return;
    // Copies of the texts, so the list can be rebuilt from them; sized by the
    // texts themselves rather than by the longest one times the count.
    std::vector<std::string> copies;
    copies.reserve(static_cast<size_t>(size));
    for (int i = 0; i < size; ++i) {
        const char* text = GetAtTxt(i);
        copies.emplace_back(text != nullptr ? text : "");
    }
    std::vector<const char*> records;
    records.reserve(copies.size());
    for (const std::string& copy : copies) records.push_back(copy.c_str());
    int (*saved)(const void*, const void*) = t_compare;
    t_compare = cmp;
    std::qsort(records.data(), records.size(), sizeof(const char*), CompareRecords);
    t_compare = saved;
    RemoveAll();
    if (reserve) SetSizeInit(size + 100, size + 100);
    for (const char* record : records) Add(record);
}

void CTxtArray::Sort() { SortWith(CompareNoCase, true); }

void CTxtArray::SortCust(int (*cmp)(const void*, const void*)) { SortWith(cmp, false); }

int CTxtArray::LoadFromTxt(const char* text) {
    RemoveAll();
    if (text == nullptr) return 0;
    std::string entry;
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p == '\r') continue;
        if (*p == '\n') {
            Add(entry.c_str());
            entry.clear();
        } else {
            entry += *p;
        }
    }
    if (!entry.empty()) Add(entry.c_str());
    return GetSize();
}

int CTxtArray::LoadFromFields(const char* text, char delim, int clear) {
    if (clear == 1) RemoveAll();
    const int count = strfldcnt(text, delim);
    CTxt field;
    for (int n = 1; n <= count; ++n) {
        strfldtxt(text, delim, n, n, field);
        field.Trim(' ');
        if (field.IsFilled()) Add(field);
    }
    return GetSize();
}

int CTxtArray::LoadFromTxtArray(CTxtArray* other, int append) {
    if (other == this) return GetSize();
    if (append == 0) RemoveAll();
    if (other != nullptr) {
        for (int i = 0; i < other->GetSize(); ++i) Add(other->GetAtTxt(i));
    }
    return GetSize();
}

int CTxtArray::LoadFromStrArray(const std::vector<std::string>& strings) {
    RemoveAll();
    for (const std::string& s : strings) Add(s.c_str());
    return GetSize();
}

int CTxt::LoadFromArray(CTxtArray* list, const char* sep) {
    MakeEmpty();
    if (list == nullptr) return 0;
    const char* separator = sep != nullptr ? sep : "\r\n";
    for (int i = 0; i < list->GetSize(); ++i) {
        const char* text = list->GetAtTxt(i);
        if (text != nullptr) AddTxt(text);
        AddTxt(separator);
    }
    return list->GetSize();
}
