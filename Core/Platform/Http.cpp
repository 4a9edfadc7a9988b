#include "Core/Platform/Http.h"

#include <curl/curl.h>
#include <dlfcn.h>

#include <mutex>

namespace zam::platform {

namespace {

long g_connectMs = 5000;
long g_totalMs = 15000;

struct Sink {
    std::string* Body;
    size_t MaxBytes;
    bool Full = false;
};

size_t Collect(char* data, size_t size, size_t count, void* user) {
    auto* sink = static_cast<Sink*>(user);
    const size_t bytes = size * count;
    const size_t room = sink->MaxBytes - sink->Body->size();
    if (bytes >= room) {
        // Enough read: stop the transfer here rather than take in the rest.
        sink->Body->append(data, room);
        sink->Full = true;
        return 0;
    }
    sink->Body->append(data, bytes);
    return bytes;
}

// libcurl and the TLS, Kerberos and LDAP libraries behind it are a good
// share of the program's memory at start-up, and most runs never read a web
// page: the library is loaded on the first GET, not with the program.
struct Curl {
    decltype(&::curl_global_init) GlobalInit = nullptr;
    decltype(&::curl_easy_init) EasyInit = nullptr;
    decltype(&::curl_easy_setopt) EasySetopt = nullptr;
    decltype(&::curl_easy_perform) EasyPerform = nullptr;
    decltype(&::curl_easy_getinfo) EasyGetinfo = nullptr;
    decltype(&::curl_easy_cleanup) EasyCleanup = nullptr;
    decltype(&::curl_slist_append) SlistAppend = nullptr;
    decltype(&::curl_slist_free_all) SlistFreeAll = nullptr;
};

template <typename F>
bool Resolve(void* library, const char* name, F& to) {
    to = reinterpret_cast<F>(dlsym(library, name));
    return to != nullptr;
}

// Null when the library cannot be loaded or set up: every GET then fails as
// one without a session would. Loaded once and never unloaded, since curl's
// global state must not go away under a later GET.
const Curl* GlobalInit() {
    static std::once_flag once;
    static Curl curl;
    static bool ok = false;
    std::call_once(once, [] {
        void* library = dlopen("libcurl.so.4", RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr) return;
        ok = Resolve(library, "curl_global_init", curl.GlobalInit) &&
             Resolve(library, "curl_easy_init", curl.EasyInit) &&
             Resolve(library, "curl_easy_setopt", curl.EasySetopt) &&
             Resolve(library, "curl_easy_perform", curl.EasyPerform) &&
             Resolve(library, "curl_easy_getinfo", curl.EasyGetinfo) &&
             Resolve(library, "curl_easy_cleanup", curl.EasyCleanup) &&
             Resolve(library, "curl_slist_append", curl.SlistAppend) &&
             Resolve(library, "curl_slist_free_all", curl.SlistFreeAll) &&
             curl.GlobalInit(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    });
    return ok ? &curl : nullptr;
}

}  // namespace

void SetHttpTimeouts(long connectMs, long totalMs) {
    g_connectMs = connectMs > 0 ? connectMs : 5000;
    g_totalMs = totalMs > 0 ? totalMs : 15000;
}

int HttpGet(const char* url, const char* agent, std::string& body, size_t maxBytes) {
    body.clear();
    const Curl* lib = GlobalInit();
    if (lib == nullptr) return -1;
    CURL* curl = lib->EasyInit();
    if (curl == nullptr) return -1;
    Sink sink{&body, maxBytes};
    curl_slist* headers = nullptr;
    headers = lib->SlistAppend(headers, "Cache-Control: no-cache");
    headers = lib->SlistAppend(headers, "Pragma: no-cache");
    lib->EasySetopt(curl, CURLOPT_URL, url != nullptr ? url : "");
    lib->EasySetopt(curl, CURLOPT_USERAGENT, agent != nullptr ? agent : "");
    lib->EasySetopt(curl, CURLOPT_HTTPHEADER, headers);
    lib->EasySetopt(curl, CURLOPT_FRESH_CONNECT, 1L);
    // An address from the settings must not reach files or other protocols.
    lib->EasySetopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    lib->EasySetopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    lib->EasySetopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    lib->EasySetopt(curl, CURLOPT_MAXREDIRS, 5L);
    lib->EasySetopt(curl, CURLOPT_CONNECTTIMEOUT_MS, g_connectMs);
    lib->EasySetopt(curl, CURLOPT_TIMEOUT_MS, g_totalMs);
    lib->EasySetopt(curl, CURLOPT_NOSIGNAL, 1L);
    lib->EasySetopt(curl, CURLOPT_WRITEFUNCTION, Collect);
    lib->EasySetopt(curl, CURLOPT_WRITEDATA, &sink);
    const CURLcode code = lib->EasyPerform(curl);
    long status = 0;
    lib->EasyGetinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    lib->SlistFreeAll(headers);
    lib->EasyCleanup(curl);
    if (code == CURLE_OK || (code == CURLE_WRITE_ERROR && sink.Full)) return 0;
    // Without a reply the page was never opened; a reply that broke off was not read.
    return status == 0 ? -2 : -3;
}

}  // namespace zam::platform
