// What the system is called and which version it runs; per-program values
// kept between runs.

#include <sys/utsname.h>

#include <cstdlib>
#include <string>

#include "Core/Platform/Registry.h"
#include "Core/System/Launch.h"
#include "Core/Text/CTxt.h"

namespace {

const size_t kMachineNameMax = 999;

std::string KeyPath(const char* key) {
    CTxt name(key);
    if (key == nullptr) CTxt::GetExeName(name, 2);
    return std::string("Software\\ZAM\\") + static_cast<const char*>(name);
}

}  // namespace

int GetOsVersion() {
    utsname names{};
    if (uname(&names) != 0) return 0;
    const char* p = names.release;
    int major = 0;
    int minor = 0;
    if (*p < '0' || *p > '9') return 0;
    // Bounded so that an odd release string cannot overflow the number.
    for (int digits = 0; *p >= '0' && *p <= '9' && digits < 4; ++p, ++digits)
        major = major * 10 + (*p - '0');
    if (*p == '.') {
        ++p;
        for (int digits = 0; *p >= '0' && *p <= '9' && digits < 2; ++p, ++digits)
            minor = minor * 10 + (*p - '0');
    }
    const int version = major * 100 + minor;
    // Above 8999 would mean the older family and the browser path; this
    // system only has the shell path.
    return version > 8999 ? 8999 : version;
}

int GetMachineName(CTxt& dest) {
    std::string name;
    const char* domain = std::getenv("USERDOMAIN");
    if (domain != nullptr) {
        name = domain;
    } else if (!zam::platform::RegistryComputerName(name)) {
        dest.MakeEmpty();
        return -2;
    }
    if (name.size() > kMachineNameMax) name.resize(kMachineNameMax);
    dest = name.c_str();
    return dest.GetLength();
}

int RegGetGlobal(const char* name, std::string& dest, const char* def, const char* key,
                 int create) {
    dest.clear();
    const std::string path = KeyPath(key);
    const bool writable = create == 1;
    const bool opened = writable ? zam::platform::RegistryCreateKey(path.c_str())
                                 : zam::platform::RegistryKeyExists(path.c_str());
    if (!opened) return -1;
    std::string value;
    if (zam::platform::RegistryQueryValue(path.c_str(), name, value)) {
        dest = value;
        return 0;
    }
    dest = def != nullptr ? def : "";
    // A key opened for reading takes no new value.
    if (!writable || !zam::platform::RegistrySetValue(path.c_str(), name, dest.c_str())) return -2;
    return 0;
}

int RegSetGlobal(const char* name, const char* text, const char* key) {
    const std::string path = KeyPath(key);
    if (!zam::platform::RegistryCreateKey(path.c_str())) return -1;
    return zam::platform::RegistrySetValue(path.c_str(), name, text) ? 0 : -2;
}
