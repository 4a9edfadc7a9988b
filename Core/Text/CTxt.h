#pragma once
// CTxt: the library's own string. An owned, NUL-terminated buffer of bytes
// with a length and a capacity, grown exactly to fit and never shrunk.
//
// Storage rules callers may rely on:
// - A new text holds no buffer (GetData() is null); converting it to
//   const char* gives it a two-byte buffer holding "", so that conversion
//   never yields null.
// - Setting n characters keeps the buffer when its capacity is at least n + 2,
//   else allocates exactly n + 2 bytes. Appending n characters to length L
//   needs L + n + 2 bytes; appending one character needs L + 3. The buffer
//   never shrinks except when it is released.
// - A buffer pointer equal to 0xFEEEFEEE counts as already released.
// - A text never shares its buffer; pointers from GetData() or the conversion
//   stay valid until the next operation that changes the text.
//
// Results: a length, a count or an index on success; negative codes (listed per
// member) for failures, and a negative code always leaves the text unchanged.
// Nothing throws except FormatMessageA (std::bad_alloc).
//
// Choices where the behaviour is otherwise open:
// - Text arguments documented as required are still checked: a null one is
//   taken as "".
// - A NUL character is never stored by Add, InsertAt or FillChar (the text
//   would stop matching its length); FillChar('\0', n) gives "".
// - ExtractRange with a first position below 1 starts at position 1.
// - ReplaceInText and RemoveFromText with an empty search text change nothing
//   and return the length.
// - Format results longer than 100,000 characters are cut to 100,000.
// - MakeLength and MakeFixedLength with n below 0 change nothing.
// - ReadFromRam takes n below 0 as 0 and reads a null source as no bytes.
// - Replace(from, '\0') ends the text at the first replaced character.
// - Format gives "" when the C library cannot format (an encoding error).

#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

#include "Core/Platform/WinTypes.h"

class CTxtArray;
class CTxtPool;

class CTxt {
public:
    /// An empty text without a buffer.
    CTxt();
    /// A copy of p; null gives a text without a buffer.
    CTxt(const char* p);
    /// A copy of other's characters (no buffer when other has none).
    CTxt(const CTxt& other);
    /// Takes over other's buffer; other is left without one.
    CTxt(CTxt&& other) noexcept;
    /// Releases the buffer.
    ~CTxt();

    /// Releases the buffer (same as ReleaseBuffer).
    void Empty();
    /// Frees the buffer and clears data, length and capacity; nothing without a buffer.
    void ReleaseBuffer();
    /// Clears the three fields without freeing anything (raw-storage initialisation only).
    void Reset();
    /// End-of-program hook; the class keeps no shared storage, so this does nothing.
    static void Shutdown();

    /// Becomes a copy of p; null releases the buffer.
    void SetTxt(const char* p);
    /// SetTxt(p); returns *this.
    CTxt& operator=(const char* p);
    /// Copies other's text; unchanged when other has no buffer or is this buffer.
    CTxt& operator=(const CTxt& other);
    /// Takes over other's buffer; unchanged when other has no buffer.
    CTxt& operator=(CTxt&& other) noexcept;
    /// AddTxt(p); returns *this.
    CTxt& operator+=(const char* p);
    /// The characters, never null (gives the text a buffer holding "" if it has none).
    operator const char*() const;
    /// The buffer pointer as it is, null when there is no buffer.
    const char* GetData() const;
    /// Becomes at most the first width characters of p, trailing blanks removed.
    void SetTxtFixLen(const char* p, int width);
    /// Becomes the bytes at src up to the first zero within n; returns n.
    int ReadFromRam(const void* src, int n);

    /// Characters before the terminator.
    int GetLength() const;
    /// Bytes allocated for the buffer; 0 without a buffer.
    int GetCapacity() const;
    /// True when the length is 0.
    bool IsEmpty() const;
    /// True when the length is above 0.
    bool IsFilled() const;
    /// The character at i; unchecked, the caller keeps 0 <= i < length.
    char GetAt(int i) const;
    /// The character at i; unchecked, the caller keeps 0 <= i < length.
    char operator[](int i) const;
    /// Writes c at i; unchecked, 0 <= i < length and c not NUL are the caller's duty.
    void SetAt(int i, char c);

    /// Appends p; returns the new length.
    int AddTxt(const char* p);
    /// Appends c; returns the new length.
    int Add(char c);
    /// Inserts p before index pos (clamped to 0..length); returns the new length.
    int InsertAt(int pos, const char* p);
    /// Inserts c before index pos (clamped to 0..length); returns the new length.
    int InsertAt(int pos, char c);
    /// Becomes n copies of c (n below 1 taken as 1); returns the new length.
    int FillChar(char c, int n);

    /// Removes count characters from index start; new length, -1 start < 0, -2 start >= length, -3 count < 1, -4 empty.
    int RemoveRange(int start, int count);
    /// Keeps 1-based positions first..last; new length, -1 empty, -2 first > length, -3 last > length, -4 first > last.
    int ExtractRange(int first, int last);
    /// Keeps only the characters found in keep; new length, -1 empty.
    int ExtractChar(const char* keep);
    /// Removes every c; new length, -1 empty.
    int RemoveChar(char c);
    /// Removes every character found in list; new length, -1 empty.
    int RemoveCharList(const char* list);
    /// Replaces every from by to in place; the number replaced, 0 when empty.
    int Replace(char from, char to);
    /// Replaces every find (any case) by with (null removes); new length, -1 empty.
    int ReplaceInText(const char* find, const char* with);
    /// Removes every find (any case); new length, -1 empty.
    int RemoveFromText(const char* find);

    /// Index of the first c; -1 empty, -2 none.
    int FindChar(char c) const;
    /// Index of the first character found in list; -1 empty, -2 none.
    int FindCharList(const char* list) const;
    /// Index of the first find (any case); -1 none or empty.
    int FindTextA(const char* find) const;

    /// Removes every c at both ends; the new length, 0 when empty.
    int Trim(char c);
    /// Removes every c at the end; the number removed, 0 when empty.
    int TrimRight(char c);
    /// Keeps only "0123456789.E+-" (and "()" when withParens); the new length, 0 without a buffer.
    int TrimNum(int withParens);

    /// Upper-cases every character in place.
    void MakeUpper();
    /// Lower-cases every character in place.
    void MakeLower();
    /// Becomes "" in the same buffer, or in a new two-byte one when there is none.
    void MakeEmpty();
    /// Cuts the text to n characters when n is below the length.
    void MakeLength(int n);
    /// Cuts or pads with blanks to exactly n characters.
    void MakeFixedLength(int n);

    /// Becomes the printf result of fmt (at most 100,000 characters).
    void Format(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
    /// Format with the string resource id as the format; "" for an unknown id.
    void Format(UINT id, ...);
    /// Format's worker, taking the argument list.
    void FormatV(const char* fmt, va_list args) __attribute__((format(printf, 2, 0)));
    /// Becomes the message-formatter result of pattern (%1, %2!d!); "" for an empty result; throws std::bad_alloc on a bad pattern.
    void FormatMessageA(const char* pattern, ...);
    /// FormatMessageA with the string resource id as the pattern; "" for an unknown id.
    void FormatMessageA(UINT id, ...);
    /// Becomes the system's message for the last error (with its CR LF, at most 999 characters); the new length.
    int GetSysErrMsg();

    /// Replaces each "@n" by field n of values (fields split at delim); 0, or
    /// -1 values has no field, -2 text empty, -3 '@' without a number, -4 a
    /// missing or (lenient 0) empty field. On a code the text is unchanged.
    int FillPlaceHolder(const char* values, int lenient, char delim);

    // --- whole files, records and numbered names -------------------------
    // LoadFromFile, SaveToFile, SaveToFileCommit, GetNextFile and PrintFile
    // put their failure message into the text itself.

    /// Becomes the whole file (zero bytes included); the length, or -1 with "Cannot open '%s' (%s)".
    int LoadFromFile(const char* path);
    /// Writes the characters (append 1: at the end); the length, or -1 with "Missing filename" or "Cannot open '%s' (%s)".
    int SaveToFile(const char* path, int append);
    /// SaveToFile, flushed to disk before it returns.
    int SaveToFileCommit(const char* path, int append);
    /// Becomes the first free name of pattern's "%%" sequence; the number, or -1 without a placeholder.
    int GetNextFile(const char* pattern);
    /// Writes a record: 32-bit little-endian count, characters, zero; count + 4, -1/-2 on a failed write.
    int BinarySave(FILE* f) const;
    /// Reads a record; 0, or -1 for a short read or a count that is negative, absurd or past the end.
    int BinaryRead(FILE* f);
    /// Reads a record from memory; the bytes consumed, or -1 for a negative or absurd count.
    int BinaryRead(const unsigned char* mem);
    /// The same, taking at most available bytes; -1 when the record does not fit in them.
    int BinaryRead(const unsigned char* mem, int available);

    // --- paths ('/' and '\' both separate; "X:" is a drive) ---------------

    /// Part kind of the held path into out (0 drive, 1 folder, 2 name, 3 extension without '.', 4 drive+folder, 5 name+ext, 6 all but ext, 7 all); out's length.
    int GetFileTxt(int kind, CTxt& out) const;
    /// Single backslashes become '/', a pair stays; trailing '/' removed.
    void MakeFn();
    /// '/' becomes backslash (a pair is skipped); trailing separators removed.
    void MakeFnDOS();
    /// Replaces name and extension (null ext keeps the old one); 0.
    int MakeFileName(const char* name, const char* ext);
    /// Sets the extension; 1 when it was already ext (any case), else 0.
    int MakeFileExt(const char* ext);
    /// Appends s (after '-' when dash) to the name; the new length.
    int AddToFn(const char* s, int dash);
    /// Puts s (and '-' when dash) before the name; the new length.
    int InsertToFn(const char* s, int dash);
    /// 1 when part kind of both paths is equal (any case); kind 7 normalises both first.
    int IsSameFileTxt(const char* other, int kind);
    /// Appends fmt (a %s then a %d; null: "\r\n(File=%s, Line=%d)") with file and line; the new length.
    int AppendFileLocation(const char* file, int line, const char* fmt);
    /// Part kind of the running program's file name, its Release/ level left out.
    static void GetExeName(CTxt& out, int kind);
    /// Index of the first string equal to s (any case); -1 when none.
    static int FindStringArray(const std::vector<std::string>& strings, const char* s);

    // --- fields, hex and numbers -----------------------------------------

    /// Becomes src up to the first delim (trimRight: without blanks before it); the length.
    int GetField(const char* src, char delim, int trimRight);
    /// Becomes v as upper-case hex: kind 1/2/3 the last 2/4/6 digits, else 8.
    void GetHex(unsigned long v, int kind);
    /// Becomes v as hex with 2, 4 or 6 digits, else 8; the length.
    int MakeHexValue(int v, int digits);
    /// Becomes "0A,FF," for 1..1000 bytes, else "GetHexArray(%dBy)".
    void GetHexArray(const unsigned char* bytes, int n);
    /// toHex: every byte as two hex digits; 0: hex pairs back to bytes. The length, -1 empty.
    int ConvHex(int toHex);
    /// Becomes v with decimals places, trailing fraction zeros and a last point removed; the length.
    int MakeValueTxt(double v, int decimals);

    // --- conversions (each returns the new length) ------------------------

    /// Escapes < > & ' " and bytes outside 32..126 for XML.
    int ConvTxt2XML();
    /// Undoes ConvTxt2XML's escapes (the five entities and "&#xHH;").
    int ConvXML2Txt();
    /// Decodes web text: &nbsp; &amp; backslash escapes, '+', "%%" and %HH.
    int ConvHTM2TXT();
    /// decode 0: CR, LF, tab become \r \n \t; otherwise back (other escapes dropped).
    int ConvCRLF(int decode);
    /// Puts a CR before every LF that has none.
    int InsertCR();
    /// Reversible scrambling of printable characters (restore undoes it).
    int ConvProt(int restore, int key);

    // --- masking ----------------------------------------------------------

    /// Characters not allowed in file names: replace 0 gives the first (0: none); else each becomes '_' and the first index (-1: none) is returned; -1 empty.
    int MaskNonFilename(int replace, const char* extra);
    /// The same for names of variables: letters, digits, '_' and extra.
    int MaskNonVar(int replace, const char* extra);
    /// Bytes outside 32..126 become '+'; the number replaced.
    int MaskNonPrintable();

    /// Becomes every text of list followed by sep (null: CR LF); the list's size.
    int LoadFromArray(CTxtArray* list, const char* sep);

    /// Hex dump of a file into "<name>-<width>.txt"; 0, or -1 empty/missing, -2 cannot open, -3 read error (message in the text).
    int PrintFile(const char* path, int width, int withPos);

private:
    friend class CTxtPool;
    // A text over size bytes of someone else's memory, holding the length
    // characters there: a negative capacity says the buffer is borrowed, so
    // it is never freed and any growth moves the text into a buffer of its own.
    CTxt(char* borrowed, int length, int size) : m_data(borrowed), m_length(length), m_capacity(-size) {}
    bool Borrowed() const { return m_capacity < 0; }
    void FreeOwn();

    void AssignN(const char* p, int n);
    void AppendN(const char* p, int n);
    void Grow(int n, bool keepText);
    bool FormatMessageV(const char* pattern, va_list args);
    void EnsureBuffer() const;

    // Mutable so that the const conversion can give a text its empty buffer.
    mutable char* m_data;
    mutable int m_length;
    mutable int m_capacity;
};
