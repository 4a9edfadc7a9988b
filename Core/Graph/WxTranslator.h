#pragma once
// The library's translator made of the toolkit's catalog reader: the
// program's catalog and the toolkit's own (stock buttons), in the language
// the environment asks for, from a locale folder of the program's choosing.

#include <wx/string.h>

#include <memory>

namespace zam::graph {

/// Reads the catalog named domain ("kronalt" reads LANG/LC_MESSAGES/kronalt.mo)
/// from localeFolder, in the first of the environment's languages that has
/// one, and installs it as the library's translator and as the toolkit's.
/// Returns the language chosen, empty when the program stays in English.
/// Safe to call before the toolkit has started.
wxString InstallWxTranslations(const char* localeFolder, const char* domain);

/// Removes the translator again; texts are English from then on.
void RemoveWxTranslations();

}  // namespace zam::graph

/// Tr for the toolkit: msgid in the user's language as a wxString.
wxString WxTr(const char* msgid);
