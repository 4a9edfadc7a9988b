#pragma once
// The settings store: read with a default, normalise, write back. Every
// setting lives in one profile (INI) file, in section "SYS" unless a caller
// names another; the typed reads write their normal form back, so after one
// run the file lists every setting the program consulted.
//
// The last argument of every read and write is an optional profile path;
// without it the program's own profile is used (GetIniPath).

#include <string>

#include "Core/Platform/WinTypes.h"

class CTxt;

/// The executable's folder without a trailing separator (the development
/// folders Debug/ and Release/ are left out), kept for the process. Copies
/// at most size - 1 characters into dest; returns the folder's length.
int GetExeDir(char* dest, int size = 1000);

/// The profile's path, kept for the process: "<folder>/<program>.ini" beside
/// the executable when that folder is writable, else in the per-user
/// configuration folder "kronalt". Returns the path's length.
int GetIniPath(char* dest, int size = 1000);

/// Writes value (null deletes the key, a null key the section); non-zero on success.
int ProfileWriteStr(const char* section, const char* key, const char* value,
                    const char* file = nullptr);

/// Reads up to 999 characters, the default when the key is missing; returns the count.
int ProfileReadStr(const char* section, const char* key, const char* def, CTxt& dest,
                   const char* file = nullptr);
/// The same into a standard string.
int ProfileReadStr(const char* section, const char* key, const char* def, std::string& dest,
                   const char* file = nullptr);
/// The same into the caller's buffer of size bytes.
int ProfileReadStr(const char* section, const char* key, const char* def, char* buf, int size,
                   const char* file = nullptr);

/// 1 for "YES"/"TRUE" (any case), else 0; writes "YES"/"NO" back when needed.
int ProfileReadBool(const char* section, const char* key, int def, const char* file = nullptr);

/// The value read with atol (default when missing); writes "%d" back when needed.
int ProfileReadInt(const char* section, const char* key, int def, const char* file = nullptr);

/// Writes "%d" of value.
void ProfileWriteInt(const char* section, const char* key, int value, const char* file = nullptr);

/// The value read with atof (default when missing); writes "%.4f" back when needed.
float ProfileReadFloat(const char* section, const char* key, float def,
                       const char* file = nullptr);

/// ColorFromText of the stored text (or def); writes "r,g,b" back when needed.
COLORREF ProfileReadColor(const char* section, const char* key, const char* def,
                          const char* file = nullptr);

/// Writes "r,g,b" of value; non-zero on success.
int ProfileWriteColor(const char* section, const char* key, COLORREF value,
                      const char* file = nullptr);

/// "0x..." hex, "r,g,b", or a colour name (three take system colours); else 0.
COLORREF ColorFromText(const char* text);

/// ColorFromText for callers that must not mistake an unreadable text for
/// black: 1 when text is one of its forms written out in full ("0x" and one
/// to six hex digits; three fields 0-255 separated by commas; a colour
/// name), with the colour in colour; else 0 and colour 0.
int ColorTextRead(const char* text, COLORREF& colour);

/// Hexadecimal digits (blanks allowed, trailing ones ignored, at most 99).
unsigned HexToInt(const char* text);

/// Hexadecimal digits of the leading run; a trailing blank counts as 0.
unsigned HexPrefixToInt(const char* text);

/// 1 for "Y", "YES", "TRUE", "ON" (any case) or a number above 0, else 0.
int TextToBool(const char* text);
