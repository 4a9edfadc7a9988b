#include "Core/Platform/Translation.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace zam::platform {
namespace {

std::atomic<Translator*> g_Translator{nullptr};

const char* Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0' ? value : nullptr;
}

// "de_AT.UTF-8@euro" is wanted as "de_AT", then as "de".
void AddWithPlainerForms(std::string name, std::vector<std::string>& out) {
    name = name.substr(0, name.find_first_of(".@"));
    if (name.empty() || name == "C" || name == "POSIX") return;
    for (;;) {
        bool known = false;
        for (const std::string& have : out) known = known || have == name;
        if (!known) out.push_back(name);
        const std::size_t cut = name.find('_');
        if (cut == std::string::npos) break;
        name.erase(cut);
    }
}

}  // namespace

void SetTranslator(Translator* translator) { g_Translator.store(translator); }

const char* Translate(const char* msgid) {
    Translator* translator = g_Translator.load();
    if (translator == nullptr || msgid == nullptr || msgid[0] == '\0') return msgid;
    return translator->Translate(msgid);
}

std::vector<std::string> PreferredLanguages() {
    std::vector<std::string> wanted;
    const char* locale = Environment("LC_ALL");
    if (locale == nullptr) locale = Environment("LC_MESSAGES");
    if (locale == nullptr) locale = Environment("LANG");
    // An explicit C locale asks for the untranslated program, whatever
    // LANGUAGE says; no locale at all does not, so LANGUAGE alone works on a
    // system without any locale generated.
    if (locale != nullptr && (std::strcmp(locale, "C") == 0 || std::strcmp(locale, "POSIX") == 0)) {
        return wanted;
    }
    if (const char* list = Environment("LANGUAGE")) {
        std::string entries(list);
        std::size_t start = 0;
        while (start <= entries.size()) {
            std::size_t end = entries.find(':', start);
            if (end == std::string::npos) end = entries.size();
            AddWithPlainerForms(entries.substr(start, end - start), wanted);
            start = end + 1;
        }
    }
    if (locale != nullptr) AddWithPlainerForms(locale, wanted);
    return wanted;
}

}  // namespace zam::platform
