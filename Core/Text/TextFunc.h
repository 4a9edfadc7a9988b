#pragma once
// Low-level functions on plain character arrays, shared by every class of
// the library: delimited fields, in-place trimming, a three-mode
// case-insensitive comparison, line reading, file facts, folder creation,
// and a buffered line reader over a file or a memory block.

#include <cstdio>

class CTxt;

/// Copies fields first..last (1-based; negative counts from the end; last 0
/// means first; 99/-99 the last/first field) of src into out (at most
/// outSize - 1 characters, always terminated when outSize > 0). Returns the
/// length of out, 0 when the field does not exist, -1 for an invalid range.
int strfld(const char* src, char delim, int first, int last, char* out, int outSize);

/// strfld into a 10,000-byte area, assigned to out (also on failure: "").
/// Returns what strfld returned.
int strfldtxt(const char* src, char delim, int first, int last, CTxt& out);

/// Field n read as a 32-bit integer; 0 when missing or empty.
int strfldint(const char* src, char delim, int n);

/// Number of fields of src ("a,b," has 2, "   " has 0).
int strfldcnt(const char* src, char delim);

/// Removes blanks and tabs at both ends in place; returns the new length.
int strtrimws(char* s);

/// Removes blanks, tabs, quotes and extra at both ends in place; returns the new length.
int strunquote(char* s, char extra);

/// Strips zeros after a decimal point in place (mode 0: only when all are
/// zeros, with the point; otherwise trailing zeros, then a last point).
/// Returns the new length.
int strcutzero(char* num, int mode);

/// Case-insensitive comparison: 0 equal in the mode's sense (1 whole text,
/// 2 a is a prefix of b, other: either is a prefix of the other), 1 differs,
/// 2 one text is longer (modes 1 and 2), 3 a null argument.
int stricmpmode(const char* a, const char* b, int mode);

/// Index of find in text without regard to case; -1 when absent.
int strifind(const char* text, const char* find);

/// Index of c in list; -1 when absent (the terminator is never found).
int strchrpos(char c, const char* list);

/// Reads one line from f's descriptor (LF, CR or CR LF end it) into buf, at
/// most size - 1 characters; the rest of a longer line is dropped. Returns
/// the count stored, or -1 at the end of the file (buf holds any unterminated
/// last line).
int freadline(char* buf, int size, FILE* f);

/// Size of the file in bytes; -2 null or empty path, -1 cannot be examined.
int filesize(const char* path);

/// What path names: 1 a regular file (a link to one counts), 0 something
/// else (a folder, a named pipe, a device, a socket), -1 nothing that can be
/// examined, -2 a null or empty path. Ask before opening anything a user or
/// a data file names: opening a named pipe waits for a writer that may
/// never come, and a device may never end.
int fileisregular(const char* path);

/// Modification time in seconds since 1970 UTC; 0 for a file named "NUL";
/// -1 when the file cannot be examined.
int filetime(const char* path);

/// 1 when the n bytes at s are well-formed UTF-8 (no overlong forms, no
/// surrogates, nothing beyond U+10FFFF), else 0; null counts as empty.
int strisutf8(const char* s, int n);

/// Text that is not well-formed UTF-8 is taken as Windows-1252, the code
/// page such files are commonly written in, and converted to UTF-8 in place:
/// every byte that starts no UTF-8 sequence becomes its Windows-1252
/// character (the five bytes that page leaves undefined become U+FFFD),
/// sequences that are UTF-8 stay. Returns 1 when the text was converted, 0
/// when it was UTF-8 already.
int txtfromcp1252(CTxt& text);

/// read() with an error reported as 0.
int fdread(int fd, char* buf, int size);

/// Creates every folder of path ('/' or '\' separators; a leading pair of
/// backslashes is kept). lastIsFile: the last component is a file name.
/// Returns 0 when the last folder attempted exists afterwards, -1 otherwise
/// (also for a path of more than 1,000 characters).
int mkdirpath(const char* path, int lastIsFile);

/// size bytes of zeros from the heap; null when refused.
void* zalloc(unsigned size);

/// Prepares the process-wide line reader for a file: 1 on success, 0 for a
/// null or empty path or a file that cannot be opened, -2 without memory.
int bufopen(const char* path);

/// The reader's next line into buf (at most size - 1 characters; CR skipped;
/// LF, NUL and 0x1A end a line); -1 at the end of the source.
int bufgetline(char* buf, unsigned size);

/// Closes the reader's file and releases its buffer.
void bufclose();

/// Prepares the reader for a caller's memory block (not taken over): 0, or
/// -1 for a null block, -2 for size <= 0.
int bufsetmem(char* block, int size);

/// Forgets the reader's buffer without releasing it (after a memory block).
void bufreset();

/// Loads the reader's next piece of file: 1 when nothing more can be read, else 0.
int buffill();
