#include "Core/Graph/WxTranslator.h"

#include <wx/filename.h>
#include <wx/translation.h>
#include <wx/utils.h>

#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "Core/Platform/Translation.h"

namespace zam::graph {
namespace {

// Catalogs from named folders only. The toolkit's own loader asks the
// application for its standard paths, which do not exist before the toolkit
// starts, and the terminal countdown and --help never start it.
class FolderLoader final : public wxTranslationsLoader {
public:
    explicit FolderLoader(std::vector<wxString> folders) : m_Folders(std::move(folders)) {}

    wxMsgCatalog* LoadCatalog(const wxString& domain, const wxString& lang) override {
        for (const wxString& folder : m_Folders) {
            const wxString path = CatalogPath(folder, lang, domain);
            if (wxFileName::FileExists(path)) return wxMsgCatalog::CreateFromFile(path, domain);
        }
        return nullptr;
    }

    wxArrayString GetAvailableTranslations(const wxString&) const override { return wxArrayString(); }

    static wxString CatalogPath(const wxString& folder, const wxString& lang, const wxString& domain) {
        return folder + "/" + lang + "/LC_MESSAGES/" + domain + ".mo";
    }

private:
    std::vector<wxString> m_Folders;
};

class CatalogTranslator final : public zam::platform::Translator {
public:
    CatalogTranslator(std::unique_ptr<wxTranslations> catalogs, const wxString& domain)
        : m_Catalogs(std::move(catalogs)), m_Domain(domain) {}

    const char* Translate(const char* msgid) override {
        // Remote requests are answered on another thread, and the texts
        // handed out must outlive the call: each is kept once, in a node
        // that never moves.
        std::lock_guard<std::mutex> lock(m_Lock);
        auto found = m_Texts.find(msgid);
        if (found != m_Texts.end()) return found->second.empty() ? msgid : found->second.c_str();
        const wxString* translated = m_Catalogs->GetTranslatedString(wxString::FromUTF8(msgid), m_Domain);
        std::string& kept = m_Texts[msgid];
        if (translated != nullptr) kept = translated->utf8_string();
        return kept.empty() ? msgid : kept.c_str();
    }

private:
    std::unique_ptr<wxTranslations> m_Catalogs;
    wxString m_Domain;
    std::mutex m_Lock;
    std::unordered_map<std::string, std::string> m_Texts;
};

std::unique_ptr<CatalogTranslator> g_Translator;

// The catalogs of one language; the program's own folder first, then the
// toolkit's for its stock labels.
wxTranslations* NewCatalogs(const wxString& language, const wxString& folder) {
    auto* catalogs = new wxTranslations;
    catalogs->SetLoader(new FolderLoader({folder, wxGetInstallPrefix() + "/share/locale"}));
    catalogs->SetLanguage(language);
    return catalogs;
}

}  // namespace

wxString InstallWxTranslations(const char* localeFolder, const char* domain) {
    RemoveWxTranslations();
    const wxString folder = wxString::FromUTF8(localeFolder);
    const wxString name = wxString::FromUTF8(domain);
    wxString chosen;
    for (const std::string& language : zam::platform::PreferredLanguages()) {
        const wxString lang = wxString::FromUTF8(language);
        if (wxFileName::FileExists(FolderLoader::CatalogPath(folder, lang, name))) {
            chosen = lang;
            break;
        }
    }
    if (chosen.empty()) return chosen;
    std::unique_ptr<wxTranslations> ours(NewCatalogs(chosen, folder));
    if (!ours->AddCatalog(name, wxLANGUAGE_ENGLISH_US)) return wxString();
    // The toolkit gets a set of its own, with only its stock words: it
    // deletes what it holds when it shuts down, and the library's texts are
    // asked for after that too.
    wxTranslations* toolkits = NewCatalogs(chosen, folder);
    toolkits->AddStdCatalog();
    wxTranslations::Set(toolkits);
    g_Translator = std::make_unique<CatalogTranslator>(std::move(ours), name);
    zam::platform::SetTranslator(g_Translator.get());
    return chosen;
}

void RemoveWxTranslations() {
    zam::platform::SetTranslator(nullptr);
    g_Translator.reset();
    wxTranslations::Set(nullptr);
}

}  // namespace zam::graph

wxString WxTr(const char* msgid) { return wxString::FromUTF8(Tr(msgid)); }
