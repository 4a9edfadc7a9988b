// Loading a dialog template from an archive of arbitrary bytes: a refused
// load leaves an empty template, an accepted one stores back byte for byte.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "Core/Graph/CDynDlgTemplate.h"
#include "fuzz/QuietLog.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet = QuietLog();
    (void)quiet;
    static uint8_t nothing[1];
    // fmemopen wants at least one byte; an empty archive is one with that byte read.
    FILE* in = size ? fmemopen(const_cast<uint8_t*>(data), size, "rb") : fmemopen(nothing, 1, "rb");
    if (in == nullptr) return 0;
    if (size == 0) std::fgetc(in);
    CDynDlgTemplate t;
    CArchive load(in, CArchive::load);
    t.Serialize(load);
    const long used = std::ftell(in);
    std::fclose(in);
    if (!t.LoadOk()) {
        if (t.ItemCount != 0 || t.GetSize() != 24) __builtin_trap();
        return 0;
    }
    if (t.ItemCount != t.Items.size()) __builtin_trap();
    std::vector<uint8_t> out(static_cast<size_t>(used) + 16);
    FILE* back = fmemopen(out.data(), out.size(), "wb");
    CArchive store(back, CArchive::store);
    t.Serialize(store);
    std::fflush(back);
    const long written = std::ftell(back);
    std::fclose(back);
    // Only the stored count may differ from what was read: it is rewritten from the list.
    if (written != used || std::memcmp(out.data() + 10, data + 10, static_cast<size_t>(used) - 10) != 0)
        __builtin_trap();
    void* block = t.GetTemplate();
    if (block == nullptr || t.GetTemplate() != nullptr) __builtin_trap();
    t.ReleaseTemplate();
    return 0;
}
