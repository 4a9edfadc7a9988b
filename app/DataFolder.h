#pragma once
// Where the program's data lives: the sounds and the definition file.

#include "Core/Text/CTxt.h"

/// The `DataDir` setting of section "SYS" when present (read as it is, never
/// written back), else "<install root>/share/kronalt" beside the program's
/// bin folder. Returns the length of folder.
int GetDataFolder(CTxt& folder);

/// The maker's product page.
extern const char* const KRONALT_PRODUCT_PAGE;
