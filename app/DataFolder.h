#pragma once
// Where the program's data lives: the sounds and the definition file.

#include "Core/Text/CTxt.h"

/// The `DataDir` setting of section "SYS" when present (read as it is, never
/// written back), else "<install root>/share/kronalt" beside the program's
/// bin folder. Returns the length of folder.
int GetDataFolder(CTxt& folder);

/// "<install root>/share/kronalt", whatever DataDir says: the files that
/// come with the program. Returns the length of folder.
int GetInstalledDataFolder(CTxt& folder);

/// "<install root>/share/locale": the program's translations, each in
/// LANG/LC_MESSAGES/kronalt.mo. Returns the length of folder.
int GetLocaleFolder(CTxt& folder);

/// The product page shipped with the program, as a file:// address.
void GetProductPage(CTxt& url);
