#include "app/DataFolder.h"

#include <cctype>
#include <cstring>
#include <string>

#include "Core/System/Profile.h"

int GetDataFolder(CTxt& folder) {
    // A plain string read: a folder the user chose is used, and nothing is
    // written back when they did not choose one.
    const char* const kMissing = "\x01missing";
    std::string chosen;
    ProfileReadStr("SYS", "DataDir", kMissing, chosen);
    if (chosen != kMissing && !chosen.empty()) {
        folder.SetTxt(chosen.c_str());
        folder.MakeFn();
        return folder.GetLength();
    }
    return GetInstalledDataFolder(folder);
}

namespace {

// "<install root>/share/<name>" beside the program's bin folder.
int InstalledShareFolder(const char* name, CTxt& folder) {
    char exeDir[1000];
    GetExeDir(exeDir, sizeof exeDir);
    CTxt bin(exeDir);
    bin.MakeFn();
    CTxt root;
    bin.GetFileTxt(4, root);  // the folder above bin/, with its separator
    if (root.IsEmpty()) root = "./";
    folder.Format("%sshare/%s", static_cast<const char*>(root), name);
    return folder.GetLength();
}

}  // namespace

int GetInstalledDataFolder(CTxt& folder) { return InstalledShareFolder("kronalt", folder); }

int GetLocaleFolder(CTxt& folder) { return InstalledShareFolder("locale", folder); }

void GetProductPage(CTxt& url) {
    CTxt folder;
    GetInstalledDataFolder(folder);
    // The folder comes from /proc/self/exe, so it is absolute; blanks and
    // other bytes a URL cannot carry as they are get escaped.
    std::string address = "file://";
    static const char kHex[] = "0123456789ABCDEF";
    for (const char* p = folder; *p != '\0'; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        if (std::isalnum(c) || std::strchr("/-._~", c) != nullptr) {
            address += static_cast<char>(c);
        } else {
            address += '%';
            address += kHex[c >> 4];
            address += kHex[c & 15];
        }
    }
    address += "/kronalt.html";
    url.SetTxt(address.c_str());
}
