// Fields, trimming and comparison of the low-level text functions.

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "Core/Text/CTxt.h"
#include "Core/Text/RuntimeConv.h"
#include "Core/Text/TextFunc.h"

namespace {

const int kMaxFields = 9999;

bool IsWhite(char c) { return c == ' ' || c == '\t'; }

int Upper(char c) { return std::toupper(static_cast<unsigned char>(c)); }

int Abs(int v) { return v < 0 ? -v : v; }

// Start index of every field; one more entry marks the end of the text.
std::vector<int> FieldStarts(const char* src, char delim) {
    const int len = static_cast<int>(std::strlen(src));
    std::vector<int> starts;
    starts.push_back(0);
    for (int i = 0; i < len && static_cast<int>(starts.size()) < kMaxFields; ++i) {
        if (src[i] != delim) continue;
        if (delim == ' ' && src[i + 1] == ' ') continue;  // a run of blanks is one delimiter
        starts.push_back(i + 1);
    }
    starts.push_back(len);
    return starts;
}

}  // namespace

int strfldcnt(const char* src, char delim) {
    if (src == nullptr || src[0] == '\0') return 0;
    int end = static_cast<int>(std::strlen(src)) - 1;
    if (delim != ' ') {
        while (end >= 0 && src[end] == ' ') --end;
    }
    int i = 0;
    while (src[i] == ' ') ++i;
    if (i > end) return 0;
    int count = 0;
    for (; i <= end; ++i) {
        if (src[i] != delim) continue;
        ++count;
        if (delim == ' ' && src[i + 1] == ' ') --count;
    }
    if (src[end] != delim) ++count;
    return count;
}

int strfld(const char* src, char delim, int first, int last, char* out, int outSize) {
    if (out == nullptr || outSize <= 0) return -1;
    out[0] = '\0';
    if (src == nullptr) return 0;
    if (last == 0) last = first;
    if (first != 0 && first > last) return -1;
    const int n = strfldcnt(src, delim);
    if (first == 99 && n < 99) first = n;
    if (first == -99 && n < 99) first = -n;
    if (first == 0 || Abs(first) > n) return 0;
    if (last > n) last = n;
    if (last < -n) last = -n;
    if (first < 0) first = n - Abs(first) + 1;
    if (last < 0) last = n - Abs(last) + 1;
    // Ends of different signs can cross once made positive.
    if (first > last || first < 1) return -1;

    if (delim == ' ') {
        while (*src == ' ') ++src;
    }
    const std::vector<int> starts = FieldStarts(src, delim);
    const int lastIndex = static_cast<int>(starts.size()) - 1;
    const int from = starts[first - 1 < lastIndex ? first - 1 : lastIndex];
    const int to = starts[last < lastIndex ? last : lastIndex];
    int length = to - from;
    if (length > outSize - 1) length = outSize - 1;
    if (length < 0) length = 0;
    std::memcpy(out, src + from, static_cast<size_t>(length));
    out[length] = '\0';
    if (length > 0 && out[length - 1] == delim) out[--length] = '\0';
    return length;
}

int strfldtxt(const char* src, char delim, int first, int last, CTxt& out) {
    std::vector<char> area(10000);
    const int result = strfld(src, delim, first, last, area.data(), static_cast<int>(area.size()));
    out.SetTxt(area.data());
    return result;
}

int strfldint(const char* src, char delim, int n) {
    char field[100];
    if (strfld(src, delim, n, 0, field, sizeof field) <= 0) return 0;
    return zam::RuntimeAtoi(field);
}

namespace {

// Removes the characters that removable() accepts at both ends, in place;
// the characters freed at the end are set to 0. Returns the new length.
template <typename Removable>
int TrimEnds(char* s, Removable removable) {
    if (s == nullptr) return 0;
    const int len = static_cast<int>(std::strlen(s));
    int end = len;
    while (end > 0 && removable(s[end - 1])) --end;
    int start = 0;
    while (start < end && removable(s[start])) ++start;
    const int kept = end - start;
    std::memmove(s, s + start, static_cast<size_t>(kept));
    std::memset(s + kept, 0, static_cast<size_t>(len - kept));
    return kept;
}

}  // namespace

int strtrimws(char* s) { return TrimEnds(s, IsWhite); }

int strunquote(char* s, char extra) {
    return TrimEnds(s, [extra](char c) {
        return c == ' ' || c == '\t' || c == '"' || c == '\'' || (extra != '\0' && c == extra);
    });
}

int strcutzero(char* num, int mode) {
    if (num == nullptr) return 0;
    int len = static_cast<int>(std::strlen(num));
    char* point = std::strchr(num, '.');
    if (point == nullptr) return len;
    const int pointAt = static_cast<int>(point - num);
    if (mode == 0) {
        for (int i = pointAt + 1; i < len; ++i) {
            if (num[i] != '0') return len;
        }
        std::memset(num + pointAt, 0, static_cast<size_t>(len - pointAt));
        return pointAt;
    }
    while (len > pointAt + 1 && num[len - 1] == '0') num[--len] = '\0';
    if (len == pointAt + 1) num[--len] = '\0';
    return len;
}

int stricmpmode(const char* a, const char* b, int mode) {
    if (a == nullptr || b == nullptr) return 3;
    int i = 0;
    for (; a[i] != '\0' && b[i] != '\0'; ++i) {
        if (Upper(a[i]) != Upper(b[i])) return 1;
    }
    if (mode == 1) return a[i] == '\0' && b[i] == '\0' ? 0 : 2;
    if (mode == 2) return a[i] != '\0' ? 2 : 0;
    return 0;
}

int strifind(const char* text, const char* find) {
    if (text == nullptr || find == nullptr) return -1;
    const int last = static_cast<int>(std::strlen(text)) - static_cast<int>(std::strlen(find));
    for (int i = 0; i <= last; ++i) {
        if (stricmpmode(find, text + i, 2) == 0) return i;
    }
    return -1;
}

int strchrpos(char c, const char* list) {
    if (list == nullptr || c == '\0') return -1;
    const char* at = std::strchr(list, c);
    return at == nullptr ? -1 : static_cast<int>(at - list);
}
