#include "Core/Text/CTxt.h"

#include <cctype>
#include <cstdarg>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "Core/Platform/MessageFormat.h"
#include "Core/Platform/SysError.h"
#include "Core/Platform/UserInterface.h"

namespace {

// Room for the terminator, the spare byte and the arithmetic around them.
constexpr int kMaxLength = INT_MAX - 16;
// Longest result of Format: its scratch area is 100,001 bytes.
constexpr int kFormatMax = 100000;

[[noreturn]] void OutOfMemory() {
    // Allocation failure is not something callers are prepared to see; going
    // on would write through a null buffer, so stop here with a clear word.
    std::fputs("CTxt: out of memory\n", stderr);
    std::abort();
}

int CheckedLength(size_t n) {
    if (n > static_cast<size_t>(kMaxLength)) OutOfMemory();
    return static_cast<int>(n);
}

// Buffers are released only by the text that owns them, so plain malloc/free
// serves as the task allocator; the pairing is what matters.
char* AllocBlock(int64_t bytes) {
    if (bytes <= 0 || bytes > INT_MAX) OutOfMemory();
    void* p = std::malloc(static_cast<size_t>(bytes));
    if (p == nullptr) OutOfMemory();
    return static_cast<char*>(p);
}

// Memory that was already freed is filled with this pattern by the debug heap
// of the platform the library grew up on; a text that still points at it must
// not hand it to the allocator a second time.
constexpr uintptr_t kReleasedFill = 0xFEEEFEEE;

void FreeBlock(char* p) {
    if (p != nullptr && reinterpret_cast<uintptr_t>(p) != kReleasedFill) std::free(p);
}

int LengthOf(const char* p) { return p != nullptr ? CheckedLength(std::strlen(p)) : 0; }

bool Contains(const char* set, int setLength, char c) {
    return setLength > 0 && std::memchr(set, c, static_cast<size_t>(setLength)) != nullptr;
}

bool SameIgnoringCase(const char* a, const char* b, int n) {
    for (int i = 0; i < n; ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

// Keeps the characters for which keep() is true, in order; returns how many.
template <typename Keep>
int FilterInPlace(char* data, int length, Keep keep) {
    int out = 0;
    for (int i = 0; i < length; ++i) {
        if (keep(data[i])) data[out++] = data[i];
    }
    data[out] = '\0';
    return out;
}

}  // namespace

// --- lifetime ---------------------------------------------------------------

CTxt::CTxt() { Reset(); }

CTxt::CTxt(const char* p) {
    Reset();
    if (p != nullptr) SetTxt(p);
}

CTxt::CTxt(const CTxt& other) {
    Reset();
    if (other.m_data != nullptr) AssignN(other.m_data, other.m_length);
}

CTxt::CTxt(CTxt&& other) noexcept {
    Reset();
    if (other.Borrowed()) {
        // A borrowed buffer stays with its lender, whose lifetime this text
        // does not share.
        AssignN(other.m_data, other.m_length);
    } else {
        m_data = other.m_data;
        m_length = other.m_length;
        m_capacity = other.m_capacity;
    }
    other.Reset();
}

CTxt::~CTxt() { ReleaseBuffer(); }

void CTxt::Empty() { ReleaseBuffer(); }

void CTxt::ReleaseBuffer() {
    if (m_data == nullptr) return;
    FreeOwn();
    Reset();
}

void CTxt::FreeOwn() {
    if (!Borrowed()) FreeBlock(m_data);
}

void CTxt::Reset() {
    m_data = nullptr;
    m_length = 0;
    m_capacity = 0;
}

void CTxt::Shutdown() {}

// --- storage ----------------------------------------------------------------

void CTxt::AssignN(const char* p, int n) {
    if (m_data != nullptr && m_capacity >= static_cast<int64_t>(n) + 2) {
        if (n > 0) std::memmove(m_data, p, static_cast<size_t>(n));  // p may lie in our buffer
    } else {
        char* block = AllocBlock(static_cast<int64_t>(n) + 2);
        if (n > 0) std::memcpy(block, p, static_cast<size_t>(n));
        FreeOwn();  // only now: p may have pointed into the old buffer
        m_data = block;
        m_capacity = n + 2;
    }
    m_data[n] = '\0';
    m_length = n;
}

void CTxt::AppendN(const char* p, int n) {
    const int64_t need = static_cast<int64_t>(m_length) + n + 2;
    if (need > m_capacity) {
        char* block = AllocBlock(need);
        if (m_length > 0) std::memcpy(block, m_data, static_cast<size_t>(m_length));
        if (n > 0) std::memcpy(block + m_length, p, static_cast<size_t>(n));
        FreeOwn();
        m_data = block;
        m_capacity = static_cast<int>(need);
    } else if (n > 0) {
        std::memmove(m_data + m_length, p, static_cast<size_t>(n));
    }
    m_length += n;
    m_data[m_length] = '\0';
}

void CTxt::Grow(int n, bool keepText) {
    const int64_t need = static_cast<int64_t>(n) + 2;
    if (m_data != nullptr && m_capacity >= need) return;
    char* block = AllocBlock(need);
    int keep = 0;
    if (keepText && m_data != nullptr) {
        keep = m_length < n ? m_length : n;
        std::memcpy(block, m_data, static_cast<size_t>(keep));
    }
    block[keep] = '\0';
    FreeOwn();
    m_data = block;
    m_length = keep;
    m_capacity = static_cast<int>(need);
}

void CTxt::EnsureBuffer() const {
    if (m_data != nullptr) return;
    m_data = AllocBlock(2);
    m_data[0] = '\0';
    m_data[1] = '\0';
    m_length = 0;
    m_capacity = 2;
}

// --- assignment and conversion ---------------------------------------------

void CTxt::SetTxt(const char* p) {
    if (p == nullptr) {
        ReleaseBuffer();
        return;
    }
    AssignN(p, LengthOf(p));
}

CTxt& CTxt::operator=(const char* p) {
    SetTxt(p);
    return *this;
}

CTxt& CTxt::operator=(const CTxt& other) {
    if (other.m_data == nullptr || other.m_data == m_data) return *this;
    AssignN(other.m_data, other.m_length);
    return *this;
}

CTxt& CTxt::operator=(CTxt&& other) noexcept {
    if (other.m_data == nullptr || other.m_data == m_data) return *this;
    if (other.Borrowed()) {
        AssignN(other.m_data, other.m_length);
        other.Reset();
        return *this;
    }
    FreeOwn();
    m_data = other.m_data;
    m_length = other.m_length;
    m_capacity = other.m_capacity;
    other.Reset();
    return *this;
}

CTxt& CTxt::operator+=(const char* p) {
    AddTxt(p);
    return *this;
}

CTxt::operator const char*() const {
    EnsureBuffer();
    return m_data;
}

const char* CTxt::GetData() const { return m_data; }

void CTxt::SetTxtFixLen(const char* p, int width) {
    if (p == nullptr) p = "";
    const int64_t length = LengthOf(p);
    // The text is the "%-*.*s" form of p with its padding trimmed away again;
    // the buffer is sized for the padded form, as formatting it would.
    int64_t padded;
    int64_t keep;
    if (width >= 0) {
        keep = length < width ? length : width;
        padded = width;
    } else {  // a negative width means left-justified and no precision
        keep = length;
        padded = length > -static_cast<int64_t>(width) ? length : -static_cast<int64_t>(width);
    }
    if (padded > kFormatMax) padded = kFormatMax;
    if (keep > padded) keep = padded;
    while (keep > 0 && p[keep - 1] == ' ') --keep;
    const std::string kept(p, static_cast<size_t>(keep));  // p may lie in our buffer
    Grow(static_cast<int>(padded), false);
    AssignN(kept.data(), static_cast<int>(kept.size()));
}

int CTxt::ReadFromRam(const void* src, int n) {
    if (n < 0) n = 0;
    int length = 0;
    if (src != nullptr && n > 0) {
        const void* zero = std::memchr(src, 0, static_cast<size_t>(n));
        length = zero != nullptr ? static_cast<int>(static_cast<const char*>(zero) -
                                                    static_cast<const char*>(src))
                                 : n;
    }
    AssignN(static_cast<const char*>(src), length);
    return n;
}

// --- access -----------------------------------------------------------------

int CTxt::GetLength() const { return m_length; }

int CTxt::GetCapacity() const { return Borrowed() ? -m_capacity : m_capacity; }

bool CTxt::IsEmpty() const { return m_length <= 0; }

bool CTxt::IsFilled() const { return m_length > 0; }

char CTxt::GetAt(int i) const { return m_data[i]; }

char CTxt::operator[](int i) const { return m_data[i]; }

void CTxt::SetAt(int i, char c) { m_data[i] = c; }

// --- building ---------------------------------------------------------------

int CTxt::AddTxt(const char* p) {
    if (p == nullptr) p = "";
    AppendN(p, LengthOf(p));
    return m_length;
}

int CTxt::Add(char c) {
    if (c == '\0') return m_length;
    AppendN(&c, 1);
    return m_length;
}

int CTxt::InsertAt(int pos, const char* p) {
    if (p == nullptr || *p == '\0') return m_length;
    if (pos > m_length) pos = m_length;
    if (pos < 0) pos = 0;
    const int n = LengthOf(p);
    std::string scratch;
    scratch.reserve(static_cast<size_t>(m_length) + static_cast<size_t>(n));
    if (pos > 0) scratch.append(m_data, static_cast<size_t>(pos));
    scratch.append(p, static_cast<size_t>(n));
    if (m_length > pos) scratch.append(m_data + pos, static_cast<size_t>(m_length - pos));
    AssignN(scratch.data(), CheckedLength(scratch.size()));
    return m_length;
}

int CTxt::InsertAt(int pos, char c) {
    const char one[2] = {c, '\0'};
    return InsertAt(pos, one);
}

int CTxt::FillChar(char c, int n) {
    if (c == '\0') {
        AssignN("", 0);
        return m_length;
    }
    if (n < 1) n = 1;
    Grow(n, false);
    std::memset(m_data, static_cast<unsigned char>(c), static_cast<size_t>(n));
    m_data[n] = '\0';
    m_length = n;
    return m_length;
}

// --- removing and extracting -------------------------------------------------

int CTxt::RemoveRange(int start, int count) {
    if (start < 0) return -1;
    if (start >= m_length) return -2;
    if (count < 1) return -3;
    if (m_length <= 0) return -4;
    const int end = count >= m_length - start ? m_length : start + count;
    std::memmove(m_data + start, m_data + end, static_cast<size_t>(m_length - end) + 1);
    m_length -= end - start;
    return m_length;
}

int CTxt::ExtractRange(int first, int last) {
    if (m_length <= 0) return -1;
    if (first < 1) first = 1;
    if (first > m_length) return -2;
    if (last > m_length) return -3;
    if (first > last) return -4;
    const int n = last - first + 1;
    std::memmove(m_data, m_data + first - 1, static_cast<size_t>(n));
    m_data[n] = '\0';
    m_length = n;
    return m_length;
}

int CTxt::ExtractChar(const char* keep) {
    if (m_length <= 0) return -1;
    const int n = LengthOf(keep);
    m_length = FilterInPlace(m_data, m_length, [&](char c) { return Contains(keep, n, c); });
    return m_length;
}

int CTxt::RemoveChar(char c) {
    if (m_length <= 0) return -1;
    m_length = FilterInPlace(m_data, m_length, [c](char x) { return x != c; });
    return m_length;
}

int CTxt::RemoveCharList(const char* list) {
    if (m_length <= 0) return -1;
    const int n = LengthOf(list);
    m_length = FilterInPlace(m_data, m_length, [&](char c) { return !Contains(list, n, c); });
    return m_length;
}

int CTxt::Replace(char from, char to) {
    if (m_length <= 0) return 0;
    int count = 0;
    for (int i = 0; i < m_length; ++i) {
        if (m_data[i] == from) {
            m_data[i] = to;
            ++count;
        }
    }
    // A terminator written into the text ends it there; the length follows so
    // that it keeps describing the characters a reader will see.
    if (to == '\0' && count > 0) m_length = CheckedLength(std::strlen(m_data));
    return count;
}

int CTxt::ReplaceInText(const char* find, const char* with) {
    if (m_length <= 0) return -1;
    const int findLength = LengthOf(find);
    if (findLength == 0) return m_length;
    const int withLength = LengthOf(with);
    std::string scratch;
    scratch.reserve(static_cast<size_t>(m_length) + 1000);
    int i = 0;
    while (i < m_length) {
        if (m_length - i >= findLength && SameIgnoringCase(m_data + i, find, findLength)) {
            if (withLength > 0) scratch.append(with, static_cast<size_t>(withLength));
            i += findLength;  // replacements are never searched again
        } else {
            scratch += m_data[i++];
        }
    }
    AssignN(scratch.data(), CheckedLength(scratch.size()));
    return m_length;
}

int CTxt::RemoveFromText(const char* find) { return ReplaceInText(find, nullptr); }

// --- searching --------------------------------------------------------------

int CTxt::FindChar(char c) const {
    if (m_length <= 0) return -1;
    const void* hit = std::memchr(m_data, c, static_cast<size_t>(m_length));
    return hit != nullptr ? static_cast<int>(static_cast<const char*>(hit) - m_data) : -2;
}

int CTxt::FindCharList(const char* list) const {
    if (m_length <= 0) return -1;
    const int n = LengthOf(list);
    for (int i = 0; i < m_length; ++i) {
        if (Contains(list, n, m_data[i])) return i;
    }
    return -2;
}

int CTxt::FindTextA(const char* find) const {
    if (m_length <= 0) return -1;
    if (find == nullptr) find = "";
    const int n = LengthOf(find);
    for (int i = 0; i <= m_length - n; ++i) {
        if (SameIgnoringCase(m_data + i, find, n)) return i;
    }
    return -1;
}

// --- trimming ---------------------------------------------------------------

int CTxt::Trim(char c) {
    if (m_length <= 0) return 0;
    int end = m_length;
    while (end > 0 && m_data[end - 1] == c) --end;
    int start = 0;
    while (start < end && m_data[start] == c) ++start;
    const int n = end - start;
    std::memmove(m_data, m_data + start, static_cast<size_t>(n));
    m_data[n] = '\0';
    m_length = n;
    return m_length;
}

int CTxt::TrimRight(char c) {
    if (m_length <= 0) return 0;
    int end = m_length;
    while (end > 0 && m_data[end - 1] == c) --end;
    const int removed = m_length - end;
    m_data[end] = '\0';
    m_length = end;
    return removed;
}

int CTxt::TrimNum(int withParens) {
    if (m_data == nullptr) return 0;
    const char* keep = withParens != 0 ? "0123456789.E+-()" : "0123456789.E+-";
    const int n = LengthOf(keep);
    m_length = FilterInPlace(m_data, m_length, [&](char c) { return Contains(keep, n, c); });
    return m_length;
}

// --- case and length --------------------------------------------------------

void CTxt::MakeUpper() {
    for (int i = 0; i < m_length; ++i)
        m_data[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(m_data[i])));
}

void CTxt::MakeLower() {
    for (int i = 0; i < m_length; ++i)
        m_data[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(m_data[i])));
}

void CTxt::MakeEmpty() {
    if (m_data == nullptr) {
        EnsureBuffer();
        return;
    }
    m_data[0] = '\0';
    m_length = 0;
}

void CTxt::MakeLength(int n) {
    if (n < 0 || n >= m_length) return;
    m_data[n] = '\0';
    m_length = n;
}

void CTxt::MakeFixedLength(int n) {
    if (n < 0 || n == m_length) return;
    if (n < m_length) {
        MakeLength(n);
        return;
    }
    const int old = m_length;
    Grow(n, true);
    std::memset(m_data + old, ' ', static_cast<size_t>(n - old));
    m_data[n] = '\0';
    m_length = n;
}

// --- formatting -------------------------------------------------------------

void CTxt::Format(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    FormatV(fmt, args);
    va_end(args);
}

void CTxt::Format(UINT id, ...) {
    std::string fmt;
    if (!zam::platform::LoadStringResource(id, fmt)) {
        AssignN("", 0);
        return;
    }
    va_list args;
    va_start(args, id);
    FormatV(fmt.c_str(), args);
    va_end(args);
}

void CTxt::FormatV(const char* fmt, va_list args) {
    if (fmt == nullptr) {
        AssignN("", 0);
        return;
    }
    // Measure first so that the scratch area is only as large as the result,
    // which is cut at kFormatMax characters like the fixed area it stands for.
    va_list measure;
    va_copy(measure, args);
    int n = std::vsnprintf(nullptr, 0, fmt, measure);
    va_end(measure);
    if (n < 0) {
        AssignN("", 0);
        return;
    }
    if (n > kFormatMax) n = kFormatMax;
    std::vector<char> scratch(static_cast<size_t>(n) + 1);
    std::vsnprintf(scratch.data(), scratch.size(), fmt, args);
    AssignN(scratch.data(), n);
}

bool CTxt::FormatMessageV(const char* pattern, va_list args) {
    std::string out;
    zam::platform::MessageFormatError error = zam::platform::MessageFormatError::None;
    if (zam::platform::FormatMessageFromStringV(pattern != nullptr ? pattern : "", args, out,
                                                &error)) {
        AssignN(out.data(), CheckedLength(out.size()));
        return true;
    }
    // The formatter reports an empty message as a failure; for a text that is
    // simply the empty text, not a reason to give up.
    if (error == zam::platform::MessageFormatError::EmptyResult) {
        AssignN("", 0);
        return true;
    }
    return false;
}

void CTxt::FormatMessageA(const char* pattern, ...) {
    va_list args;
    va_start(args, pattern);
    const bool ok = FormatMessageV(pattern, args);
    va_end(args);
    if (!ok) throw std::bad_alloc();
}

void CTxt::FormatMessageA(UINT id, ...) {
    std::string pattern;
    zam::platform::LoadStringResource(id, pattern);  // an unknown id leaves it empty
    va_list args;
    va_start(args, id);
    const bool ok = FormatMessageV(pattern.c_str(), args);
    va_end(args);
    if (!ok) throw std::bad_alloc();
}

int CTxt::GetSysErrMsg() {
    const std::string message = zam::platform::LastSysErrorMessage();
    AssignN(message.data(), CheckedLength(message.size()));
    return m_length;
}
