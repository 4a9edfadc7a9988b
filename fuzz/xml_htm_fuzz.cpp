// The lenient tag reader on arbitrary bytes, then the lookups and edits that
// walk what it listed.

#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "Core/Platform/ProgramPath.h"
#include "Core/System/Profile.h"
#include "Core/Xml/PlainNode.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char folder[] = "/tmp/kronalt-fuzz-XXXXXX";
    if (mkdtemp(folder) == nullptr) return 0;
    zam::platform::SetProgramPathOverride(std::string(folder) + "/kronalt");
    ProfileWriteStr("RELEASE", "WriteLog", "NO");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    RootPlainNode root;
    CTxt message;
    const int n = root.LoadHTM(text.c_str(), message);
    if (n != root.GetNumNode()) __builtin_trap();
    unsigned lastPosition = 0;
    for (int id = 1; id <= n; ++id) {
        PlainNode* node = root.GetNode(id);
        if (node == nullptr || node->GetPlainID() != id) __builtin_trap();
        // Pairs point at each other; positions grow with the ids.
        const int partner = node->GetParentID();
        if (partner != 0 && root.GetNode(partner)->GetParentID() != id) __builtin_trap();
        if (id > 1 && node->GetDataItem() <= lastPosition) __builtin_trap();
        if (node->GetDataItem() >= size || text[node->GetDataItem()] != '<') __builtin_trap();
        lastPosition = node->GetDataItem();
    }
    for (int id = 1; id <= n; ++id) {
        PlainNode* node = root.GetNode(id);
        if (node == nullptr) continue;
        const char* tag = node->GetTag();
        node->LoadChildren(tag[0] == '/' ? tag + 1 : "b");
        node->FindChildByTag("a");
        node->GetNumDesc();
        root.FindContentTag(tag, "<x", id, 0);
        if (id % 7 == 3) root.DeleteNode(node);
    }
    return 0;
}
