#pragma once
// The user's language. Texts shown to the user are written in English in the
// source and looked up in the program's message catalog when they are shown;
// the catalog reader belongs to the window toolkit, so the library only holds
// a replaceable translator and keeps the English text when none is installed.

#include <string>
#include <vector>

namespace zam::platform {

/// Looks English texts up in a catalog; the window build installs one.
class Translator {
public:
    virtual ~Translator() = default;
    /// The text in the user's language, UTF-8, valid for the life of the
    /// translator; msgid itself when the catalog has no translation.
    virtual const char* Translate(const char* msgid) = 0;
};

/// Installs a translator (not owned); nullptr restores English.
void SetTranslator(Translator* translator);

/// msgid in the user's language through the installed translator.
const char* Translate(const char* msgid);

/// The languages the environment asks for, most wanted first, each followed
/// by its plainer forms ("de_AT.UTF-8" gives "de_AT", "de"): the entries of
/// LANGUAGE, then the first set of LC_ALL, LC_MESSAGES and LANG. Empty when
/// that locale is "C" or "POSIX", which always means the program's English.
/// Nothing here asks whether the system has the locale generated.
std::vector<std::string> PreferredLanguages();

}  // namespace zam::platform

/// Marks msgid for the catalog and gives it in the user's language. The
/// compiler checks a translated format against the arguments of the English one.
__attribute__((format_arg(1))) inline const char* Tr(const char* msgid) {
    return zam::platform::Translate(msgid);
}

/// Marks a text for the catalog where it is defined; it is translated by a
/// Tr call where it is shown.
#define TrNoop(msgid) (msgid)
