#pragma once
// The program's version and the day it was built, as the title and the
// about box show them.

/// "1.2a"
extern const char* const KRONALT_VERSION;

/// The build date as "Aug 12 2015": three-letter month, day, four-digit year.
const char* BuildDate();
