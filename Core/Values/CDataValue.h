#pragma once
// CDataValue: a typed value in twelve bytes (eight of payload, a 16-bit kind
// mask and a 16-bit text length). CDataValueSet: a named, growable column of
// them with sorting, searching and statistics.
//
// The payload is a byte array and is only ever read or written through
// memcpy, whatever kind it holds, so no reinterpretation depends on
// alignment or aliasing. A pointer takes all eight bytes.
//
// Setters change only the kind bits listed for them, so bits of an earlier
// kind may remain and the getters' order of tests decides which kind wins.
// The exceptions keep memory sound: a setter that overwrites the payload
// first releases an owned long text and drops the long-text bit (the buffer
// address is gone), and storing a new owned long text drops the bulk bit
// (the new buffer is this value's own).
//
// The float 1e9 (bits 0x4E6E6B28) marks a missing number: getters return
// it for values without a number, and numeric searches and statistics skip it.
//
// Choices where the behaviour is otherwise open:
// - Texts longer than 65,535 characters are stored cut at 65,535, so the
//   16-bit length always matches the buffer.
// - A value with both range bits (a range set over a range of the other
//   kind) reads as a float range everywhere.
// - Compare tests the 64-bit kind, and SetVal the colour, 64-bit, double and
//   pointer kinds, before the float kind, which would otherwise swallow them;
//   SetVal copies those kinds as themselves.
// - Float-to-integer conversions saturate at the 32-bit limits (NaN gives 0).
// - Copying a value (constructor, assignment, SetVal, set growth and
//   rebuilding) never leaves two owners of one text buffer.

#include <cstdint>
#include <cstring>
#include <new>
#include <string>

#include "Core/Text/CTxt.h"
#include "Core/Text/SPtrArray.h"

class CZAMDateTime;
struct CZAMDateTimePlain;

class CDataValue {
public:
    /// Kind and state bits.
    enum : unsigned short {
        kFilled = 0x0001,
        kInt = 0x0002,
        kTextShort = 0x0004,
        kTextRam = 0x0008,
        kPtr = 0x0010,
        kDate = 0x0020,
        kIntRange = 0x0040,
        kFloatRange = 0x0080,
        kBulk = 0x0100,
        kDouble = 0x0200,
        kInt64 = 0x0400,
        kColor = 0x0800,
    };
    /// The missing-number marker.
    static constexpr float kNoNumber = 1e9f;
    /// The bounds of a value that is not an integer range.
    static constexpr int kNoIntBound = 2147483646;
    /// The longest text a value holds.
    static constexpr int kMaxText = 65535;

    /// Payload and flags all zero: not filled.
    CDataValue() : m_Data{}, m_Flags(0), m_Len(0) {}
    /// Same kind and payload; an owned long text gets its own copy (a bulk one is shared, unowned).
    CDataValue(const CDataValue& other);
    /// Takes over other's payload and text buffer; other is left not filled.
    CDataValue(CDataValue&& other) noexcept : m_Flags(other.m_Flags), m_Len(other.m_Len) {
        std::memcpy(m_Data, other.m_Data, sizeof m_Data);
        other.Forget();
    }
    /// As the copy constructor; the old text is released afterwards.
    CDataValue& operator=(const CDataValue& other);
    /// As the move constructor; the old text is released first.
    CDataValue& operator=(CDataValue&& other) noexcept {
        if (this != &other) {
            ReleaseText();
            m_Flags = other.m_Flags;
            m_Len = other.m_Len;
            std::memcpy(m_Data, other.m_Data, sizeof m_Data);
            other.Forget();
        }
        return *this;
    }
    /// Releases an owned long text unless bulk is set.
    ~CDataValue() { ReleaseText(); }

    // --- setters ------------------------------------------------------------

    /// Integer in the first four bytes; clears 0x003C, sets 0x0003.
    void SetIntVal(int v);
    /// 64-bit integer; clears 0x003C, sets 0x0401.
    void SetInt64Val(int64_t v);
    /// Pointer (all eight bytes); clears 0x002E, sets 0x0011.
    void SetPtr(void* p);
    /// Float in the first four bytes; sets 0x0001.
    void SetFloatVal(float f) {
        ReleaseText();
        std::memcpy(m_Data, &f, sizeof f);
        m_Flags = static_cast<unsigned short>(m_Flags | kFilled);
    }
    /// Stores 1e9 as the float and clears 0x003F (not filled).
    void SetFloatEmpty();
    /// Stores a null pointer, clears 0x0001, sets 0x0010.
    void SetEmpty();
    /// Double; sets 0x0201.
    void SetDoubleVal(double d);
    /// Colour in the first four bytes; sets 0x0801.
    void SetColorVal(unsigned long c);
    /// The six date fields of dt (a missing dt changes nothing); sets 0x0021.
    void SetDT(const CZAMDateTime* dt);
    /// Integer range min, max; clears 0x0010, sets 0x0041.
    void SetRange(int min, int max);
    /// Float range min, max; clears 0x0010, sets 0x0081.
    void SetRange(float min, float max);
    /// SetRange(float, float), so that plain decimal literals pick the float range.
    void SetRange(double min, double max) { SetRange(static_cast<float>(min), static_cast<float>(max)); }
    /// Text (null is ""), unquoted at both ends with '"' then '^' when unquote is 1;
    /// more than 8 characters go to an owned buffer (0x0009), else into the payload
    /// (0x0005). The stored length, or -1 (value unchanged) when memory is refused.
    int SetText(const char* s, int unquote = 0);
    /// Sets (on non-zero) or clears the bulk bit 0x0100.
    void SetBulk(int on);
    /// Copy of other by kind (nothing when other is missing or not filled); texts copied with unquote.
    void SetVal(const CDataValue* other, int unquote = 0);

    // --- state --------------------------------------------------------------

    /// 1 when filled, else 0.
    int IsFilled() const;
    /// 1 for a short or long text, else 0.
    int IsText() const;
    /// 1 for a long text in a buffer, else 0.
    int IsTextRam() const;
    /// 1 for a double, else 0.
    int IsDouble() const;
    /// 1 for a date, else 0.
    int IsDate() const;
    /// 1 when bulk is set, else 0.
    int IsBulk() const;
    /// 1 when none of the integer, text, pointer, date, integer-range and double bits is set, else 0.
    int IsFloat() const;
    /// 1 when none of 0x003E and one of the range bits is set, else 0.
    int IsRange() const;
    /// The kind and state bits.
    unsigned short GetFlags() const { return m_Flags; }
    /// Characters of a text value (0 for other kinds unless left by an earlier text).
    int GetTextLen() const { return m_Len; }

    // --- getters ------------------------------------------------------------

    /// 0 when not filled; else 1 with *out (when given) the integer, or GetFloatVal truncated.
    int GetIntVal(int* out) const;
    /// 0 when not filled; else 1 with *out (when given) the 64-bit integer, or GetIntVal sign-extended.
    int GetInt64Val(int64_t* out) const;
    /// The number: 1e9 not filled; integer as unsigned; date hhmmss; double; float; else 1e9.
    double GetDoubleVal() const;
    /// GetDoubleVal's rule as a float.
    float GetFloatVal() const;
    /// Minimum of a filled integer range, else 2147483646.
    int GetIntValMin() const;
    /// Maximum of a filled integer range, else 2147483646.
    int GetIntValMax() const;
    /// Minimum of a filled float range, else 1e9.
    float GetFloatValMin() const;
    /// Maximum of a filled float range, else 1e9.
    float GetFloatValMax() const;
    /// The long text's buffer; the payload for a short text (unterminated at 8 characters); else null.
    const char* GetValTxtPtr() const;
    /// The pointer of a filled pointer value, else null.
    void* GetValPtr() const;
    /// The date fields of a filled date value (writable in place), else null.
    CZAMDateTime* GetDT();
    /// The date fields of a filled date value, else null.
    const CZAMDateTime* GetDT() const;

    /// 1 for an integer range with min <= v <= max, else 0.
    int IsInRange(int v) const;
    /// 1 for a float range with min <= v <= max, else 0.
    int IsInRange(float v) const;
    /// 1 when a filled integer equals v (32 bits), else 0.
    int IsEqual(unsigned long v) const;
    /// 1 when filled and the float (or GetFloatVal for other kinds) equals v, else 0.
    int IsEqual(float v) const;
    /// 1 when filled and the double (or GetDoubleVal for other kinds) equals v, else 0.
    int IsEqual(double v) const;
    /// 1 when a filled text equals s whole, without regard to case, else 0.
    int IsEqual(const char* s) const;
    /// 1 when a filled date equals dt down to depth, else 0.
    int IsEqual(const CZAMDateTime* dt, int depth) const;
    /// 0 when not filled; else by kind (float, date, 64-bit, text, integer) -1, 0 or 1
    /// (a text gives the case-blind byte difference); 99 for a missing other.
    int Compare(const CDataValue* other) const;

    /// The text form into out (empty when not filled); returns its length.
    int GetValTxt(CTxt& out) const;
    /// The text form into out (empty when not filled); returns its length.
    int GetValTxt(std::string& out) const;

private:
    friend class CDataValueSet;
    // A fresh float value, as SetFloatVal leaves a new value.
    // It is compiled into the callers of AddFloatVal; the payload is put
    // together first so that it reaches memory as one store, not a zeroing
    // that the float then partly overwrites.
    explicit CDataValue(float f) : m_Flags(kFilled), m_Len(0) {
        unsigned char payload[sizeof m_Data] = {};
        std::memcpy(payload, &f, sizeof f);
        std::memcpy(m_Data, payload, sizeof m_Data);
    }
    // Every payload writer calls this first: the buffer's address is about to
    // be overwritten, so the long-text bit must not outlive it.
    void ReleaseText() {
        if (m_Flags & kTextRam) FreeText();
    }
    void FreeText();
    // Leaves a moved-from value not filled and without a text to release.
    void Forget() {
        std::memset(m_Data, 0, sizeof m_Data);
        m_Flags = 0;
        m_Len = 0;
    }
    void CopyFrom(const CDataValue& other);
    void StoreLong(char* buffer, int len);
    void StoreShort(const char* s, int len);
    bool IsIntRangeKind() const;
    bool IsFloatRangeKind() const;
    int PayloadInt(int at) const;
    float PayloadFloat(int at) const;
    char* LongText() const;
    void TextView(const char** text, int* len) const;
    CZAMDateTimePlain PlainDate() const;
    int ShortLen() const { return m_Len < 8 ? m_Len : 8; }

    unsigned char m_Data[8];
    unsigned short m_Flags;
    unsigned short m_Len;
};

// AddFloatVal's inline append builds values in the callers' own code, so
// their size is part of the library's binary interface.
static_assert(sizeof(CDataValue) == 12, "a value is twelve bytes: payload, flags, length");

class CDataValueSet {
public:
    /// No values, block 1,000, unquote 1, minimum and maximum 1e9.
    CDataValueSet();
    /// ReleaseData(0), then the name and the sort view are destroyed.
    ~CDataValueSet();
    CDataValueSet(const CDataValueSet&) = delete;
    CDataValueSet& operator=(const CDataValueSet&) = delete;

    /// Destroys every value, releases the storage and empties the sort view;
    /// count 0, block 1,000, unquote 1, minimum and maximum 1e9 (any argument).
    void ReleaseData(int mode);
    /// Makes index i usable, growing the storage to a multiple of the block;
    /// 0, or -1 for a negative i or refused memory (the set unchanged).
    int SetRam(int i);

    /// The set's name.
    const CTxt& GetName() const { return m_Name; }
    /// Sets the name (null: none).
    void SetName(const char* name) { m_Name.SetTxt(name); }
    /// Values in use.
    int GetNumVal() const { return m_Num; }
    /// Values allocated.
    int GetAllocated() const { return m_Alloc; }
    /// Allocation step.
    int GetBlock() const { return m_Block; }
    /// Sets the allocation step (below 1: 1).
    void SetBlock(int block) { m_Block = block < 1 ? 1 : block; }
    /// Smallest number found by GetMinMax (1e9 until computed or when none).
    float GetMinimum() const { return m_Min; }
    /// Largest number found by GetMinMax (1e9 until computed or when none).
    float GetMaximum() const { return m_Max; }
    /// The sort view: pointers to the values in sorted order after a sort.
    const SPtrArray& GetSortArray() const { return m_Sort; }
    /// The value at position i of the sort view, null outside it.
    CDataValue* GetSortVal(int i) const;

    // --- setters at an index (each returns i, or -1 for a negative i or refused memory) ---

    /// Integer at i.
    int SetIntVal(int v, int i);
    /// 64-bit integer at i.
    int SetInt64Val(int64_t v, int i);
    /// Float at i.
    int SetFloatVal(float f, int i);
    /// Double at i.
    int SetDoubleVal(double d, int i);
    /// Text at i, not unquoted.
    int SetTxtVal(const char* s, int i);
    /// Pointer at i.
    int SetPtr(void* p, int i);
    /// Date at i.
    int SetDTVal(const CZAMDateTime* dt, int i);
    /// Empty (null pointer, not filled) at i.
    int SetEmpty(int i);
    /// Copy of v at i with the set's unquote flag (v may be one of this set's values).
    int SetVal(const CDataValue* v, int i);

    // --- appenders (each returns the new index, or -1) ---

    /// Appends an integer.
    int AddIntVal(int v);
    /// Appends a 64-bit integer.
    int AddInt64Val(int64_t v);
    /// Appends a float.
    int AddFloatVal(float f) {
        // Within the current block an append is a store, as a vector's is;
        // the rest (a new block, values set beyond the end) takes the long way.
        if (m_Num == m_Built && m_Num < m_Alloc) {
            new (&m_Val[m_Num]) CDataValue(f);
            m_Built = m_Num + 1;
            return m_Num++;
        }
        return SetFloatVal(f, m_Num);
    }
    /// Appends a double.
    int AddDoubleVal(double d);
    /// Appends a text, not unquoted.
    int AddTxt(const char* s);
    /// Appends a pointer.
    int AddPtr(void* p);
    /// Appends a date.
    int AddDTVal(const CZAMDateTime* dt);
    /// Appends an empty value.
    int AddEmpty();
    /// Appends a copy of v.
    int AddVal(const CDataValue* v);

    // --- getters ---

    /// Value i, null when i >= count.
    CDataValue* GetVal(unsigned i) const;
    /// With out: *out = 0 then GetIntVal's 1 or 0 (0 when i >= count). Without: the integer, 0 when missing.
    int GetValInt(unsigned i, int* out = nullptr) const;
    /// GetValInt for 64 bits.
    int64_t GetValInt64(unsigned i, int64_t* out = nullptr) const;
    /// Value i's number, 1e9 when i >= count.
    float GetValFloat(unsigned i) const;
    /// Value i's number as a double, 1e9 when i >= count.
    double GetValDouble(unsigned i) const;
    /// Value i's date, null when i >= count or not a date.
    CZAMDateTime* GetValDT(unsigned i) const;
    /// Value i's pointer, null when i >= count or not a pointer.
    void* GetValPtr(unsigned i) const;
    /// Value i's text form into out; its length, -1 when there is no value i (out empty).
    int GetValTxt(int i, CTxt& out) const;

    /// Adds d to value i's number, stored as a float; the new float, -1 no number, -2 no value i.
    float IncValFlt(int i, float d);
    /// Adds d (wrapping at 32 bits) to value i's integer, stored with SetIntVal; the new integer, -1 no integer, -2 no value i.
    int IncValInt(int i, int d);

    // --- searches ---

    /// First filled integer equal to v, or null.
    CDataValue* FindValueByInt(unsigned long v) const;
    /// First value whose number equals f, or null (1e9 is never found).
    CDataValue* FindValueByFloat(float f) const;
    /// First value whose number equals d, or null (1e9 is never found).
    CDataValue* FindValueByDouble(double d) const;
    /// First text equal to s without regard to case, or null.
    CDataValue* FindValueByText(const char* s) const;
    /// depth <= 0: the last date equal in all six fields; else the first equal down to depth; or null.
    CDataValue* FindValueByDate(const CZAMDateTime* dt, int depth) const;
    /// First text beginning with the first n bytes of s (case-sensitive, as strncmp), or null.
    CDataValue* FindValueByTextSegment(const char* s, int n) const;
    /// Index of that very value object, -1 when it is not one of this set's values.
    int FindValueByPtr(const CDataValue* v) const;
    /// Position in the sort view of the first value whose number equals f, -1.
    int FindSortValueByFloat(float f) const;

    // --- sorting (the values stay in place; the view is sorted ascending) ---

    /// Fills the sort view with pointers to values 0 to count - 1.
    void CopyToSortArray();
    /// Sort view by GetFloatVal (NaN last).
    void SortFlt();
    /// Sort view by GetDoubleVal (NaN last).
    void SortDbl();
    /// Sort view by GetIntVal.
    void SortInt();
    /// Sort view by the six date fields.
    void SortDate();
    /// Sort view by the fourth float of the four-float record each pointer value points to (no record: last).
    void SortRngY();
    /// Rebuilds the values in the view's order; count, -1 view size differs from count,
    /// -2 the view holds a pointer that is not one of the values (nothing changed on a code).
    int CopyFromSortArray();

    // --- statistics ---

    /// Clamps a range of indexes to the values (negative last: the last value; swapped when reversed).
    void CheckRange(int* first, int* last) const;
    /// Smallest and largest number (1e9 skipped) among values first to last into the minimum and maximum; 0.
    int GetMinMax(int first, int last);
    /// Smallest and largest value by Compare into min and max (collect, when empty, gets every value visited); the number visited.
    int GetMinMaxTime(CDataValueSet* collect, CDataValue* min, CDataValue* max, int first, int last);
    /// Appends each number that differs from the last appended (1e9 skipped); out's count.
    int CalcValueVariationsFltSort(CDataValueSet* out) const;
    /// Appends each number not yet in out, in order of first appearance (1e9 skipped); out's count.
    int CalcValueVariationsFltNoSort(CDataValueSet* out) const;

private:
    template <typename Store>
    int SetAt(int i, Store store);
    template <typename Key, typename KeyOf>
    void SortBy(KeyOf keyOf);
    bool Owns(const void* p) const;
    static CDataValue* Allocate(int n);
    static void Destroy(CDataValue* values, int built);

    CTxt m_Name;
    CDataValue* m_Val = nullptr;
    SPtrArray m_Sort;
    int m_Num = 0;
    int m_Alloc = 0;
    int m_Cap = 0;    // room behind the storage (at least m_Alloc)
    int m_Built = 0;  // values constructed in it (at least m_Num)
    int m_Block = 1000;
    float m_Max = CDataValue::kNoNumber;
    float m_Min = CDataValue::kNoNumber;
    int m_Unquote = 1;
    unsigned m_Reserved = 0;
};
