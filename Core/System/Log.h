#pragma once
// The process-wide log: one plain text file per program and day, in
// logs/yyyymmdd beside the executable (or under the user's state folder when
// the executable's folder is read-only). The first call decides from the
// settings whether to log and opens the file; callers never open or close it.
// Unlocked: call it from the user-interface thread only.

#include <cstdarg>

/// Formats the message (bounded, 10,000 bytes) and logs it under source at
/// level (1 = "a", 2 = "b", ...; 0 or below shows a blank). A formatted text
/// of 10,000 characters or more is not logged: the "LOGTRACE Buffer overrun!"
/// box shows it cut, then it is dropped. No result.
void LogTrace(const char* source, int level, const char* fmt, ...)
    __attribute__((format(printf, 3, 4)));

/// LogTrace with the arguments already gathered.
void LogTraceV(const char* source, int level, const char* fmt, va_list args)
    __attribute__((format(printf, 3, 0)));

/// Logs "caption: message" from source "MessageBox" at level 0, then shows an
/// OK box with the message and waits for it to close. A formatted text of
/// 10,000 characters or more shows only the "LOGBOX Buffer overrun!" box and
/// is dropped. No result.
void LogBox(const char* caption, const char* fmt, ...) __attribute__((format(printf, 2, 3)));

/// LogBox with the arguments already gathered.
void LogBoxV(const char* caption, const char* fmt, va_list args)
    __attribute__((format(printf, 2, 0)));

/// Sets the log up on the first call of the process, then hands its
/// arguments to LogLine. Returns what LogLine returns.
int LogWrite(const char* source, const char* message, int level);

/// Writes one line (source may be null; the message is cut at 9,999
/// characters, its CR/LF shown as '+'), or carries out a command named by a
/// source beginning with '*' (any case):
///   "*OPENLOG" path, mode (1 starts empty, else append):
///              1 opened, -1 a file is already open (it stays), -2 cannot open;
///   "*FLUSH", "*CLOSE", "*COPY" (to LogCpy.tmp in the current folder): 0.
/// A line returns 0, written or dropped (no file open).
int LogLine(const char* source, const char* message, int level);

/// Copies the file source to target, replacing it. Returns 0 on success or
/// when both name the same file, -1 source missing, -2 target cannot be
/// deleted, -3 no buffer, -4 source cannot be opened (or is a folder),
/// -5 target cannot be created, -6 short write, -7 no target afterwards.
int FileCopy(const char* source, const char* target);

// --- Test hooks: not for the program --------------------------------------

/// Closes the file and forgets every decision, as before the first call.
void LogResetForTests();

/// How many times the log file was forced to disk since the last reset.
int LogForcedWritesForTests();
