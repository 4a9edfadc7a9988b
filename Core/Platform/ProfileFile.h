#pragma once
// Our INI engine: the profile-file calls the settings store is written
// against, with the same reading and writing rules, so hand-edited and
// program-written profiles behave alike.
//
// Reading: CR LF, LF or CR end a line; a UTF-8 byte-order mark is skipped.
// Sections ("[name]", text after ']' ignored) and keys (text before the first
// '=') match without regard to case, trimmed of blanks and tabs; only the
// first of duplicate sections is searched and the first of duplicate keys
// wins. Lines whose first non-blank character is ';' are comments. A value
// is trimmed, then loses one pair of matching surrounding quotes.
//
// Writing keeps every byte it does not need to change: a replaced key keeps
// its spelling and line end, a new key goes after its section's last
// non-blank line, a new section goes at the end; new lines end as the file's
// first line does (CR LF in a new file). Writing the value a key already has
// (as a reader would get it) changes nothing, not even the file's spelling.
// Every write is a read-modify-write under an exclusive advisory lock on the
// profile's folder, and replaces the file atomically (temporary file in the
// same folder, flushed to disk, renamed), so neither a crash nor a second
// process can tear or lose a profile.

#include <string>

namespace zam::platform {

/// Delivers the value of key in section of the profile at path into buf
/// (at most size - 1 characters, always terminated when size > 0), or the
/// default when the file, section or key is missing (null default: "").
/// Returns the number of characters delivered; size 0 returns 0 and leaves
/// buf untouched.
/// A null key lists the section's key names, a null section the file's
/// section names: each followed by NUL, then one more NUL; the count excludes
/// that last NUL. A list that does not fit is cut to end in two NULs and
/// returns size - 2. Listing the keys of a missing or empty section (or of a
/// missing file) delivers the default; a missing file has no sections (0).
int GetPrivateProfileStringA(const char* section, const char* key, const char* def, char* buf,
                             int size, const char* path);

/// 1 when the profile at path has a header for section (the reading rules'
/// matching), else 0 (also for a missing file or a null argument).
int ProfileHasSection(const char* section, const char* path);

/// Sets key in section to value (leading blanks removed). A null value
/// deletes the key's line; a null key deletes the whole section; deleting
/// what is not there succeeds. Returns 1 on success, 0 on failure: a null
/// section or path, a folder that does not exist or cannot be written, a
/// section holding CR, LF or ']', a key holding CR, LF or '=' or beginning
/// with '[' or ';', or a value holding CR or LF.
int WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                               const char* path);

/// The reading rules on a profile's bytes in memory (null data: no file);
/// the same results as GetPrivateProfileStringA.
int ProfileReadData(const std::string* data, const char* section, const char* key,
                    const char* def, char* buf, int size);

/// The writing rules on a profile's bytes in memory: the profile after the
/// write into out, or false when the write is refused or changes nothing.
bool ProfileEditData(const std::string& data, const char* section, const char* key,
                     const char* value, std::string& out);

}  // namespace zam::platform
