#include "Core/Platform/Http.h"

#include <curl/curl.h>

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

bool GlobalInit() {
    static std::once_flag once;
    static bool ok = false;
    std::call_once(once, [] { ok = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK; });
    return ok;
}

}  // namespace

void SetHttpTimeouts(long connectMs, long totalMs) {
    g_connectMs = connectMs > 0 ? connectMs : 5000;
    g_totalMs = totalMs > 0 ? totalMs : 15000;
}

int HttpGet(const char* url, const char* agent, std::string& body, size_t maxBytes) {
    body.clear();
    if (!GlobalInit()) return -1;
    CURL* curl = curl_easy_init();
    if (curl == nullptr) return -1;
    Sink sink{&body, maxBytes};
    curl_slist* headers = nullptr;
    headers = curl_slist_append(headers, "Cache-Control: no-cache");
    headers = curl_slist_append(headers, "Pragma: no-cache");
    curl_easy_setopt(curl, CURLOPT_URL, url != nullptr ? url : "");
    curl_easy_setopt(curl, CURLOPT_USERAGENT, agent != nullptr ? agent : "");
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_FRESH_CONNECT, 1L);
    // An address from the settings must not reach files or other protocols.
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, g_connectMs);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, g_totalMs);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Collect);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &sink);
    const CURLcode code = curl_easy_perform(curl);
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    curl_slist_free_all(headers);
    curl_easy_cleanup(curl);
    if (code == CURLE_OK || (code == CURLE_WRITE_ERROR && sink.Full)) return 0;
    // Without a reply the page was never opened; a reply that broke off was not read.
    return status == 0 ? -2 : -3;
}

}  // namespace zam::platform
