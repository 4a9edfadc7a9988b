#include "app/DataFolder.h"

#include <string>

#include "Core/System/Profile.h"

const char* const KRONALT_PRODUCT_PAGE = "https://www.example.com/kronalt/index.htm";

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
    char exeDir[1000];
    GetExeDir(exeDir, sizeof exeDir);
    CTxt bin(exeDir);
    bin.MakeFn();
    CTxt root;
    bin.GetFileTxt(4, root);  // the folder above bin/, with its separator
    if (root.IsEmpty()) root = "./";
    folder.Format("%sshare/kronalt", static_cast<const char*>(root));
    return folder.GetLength();
}
