// Lines from arbitrary bytes: the text list's memory loader and its
// comma-separated file loader with the quote-aware rewrite.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "Core/Text/CTxtArray.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    CTxtArray list;
    if (data[0] & 1) {
        list.LoadFromTxt(text.c_str());
        for (int i = 0; i < list.GetSize(); ++i) {
            const char* line = list.GetAtTxt(i);
            if (line != nullptr && std::string(line).find_first_of("\r\n") != std::string::npos)
                __builtin_trap();
        }
        return 0;
    }
    static const std::string path = [] {
        char folder[] = "/tmp/kronalt-fuzz-XXXXXX";
        return std::string(mkdtemp(folder)) + "/fuzz.csv";
    }();
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return 0;
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
    CTxt err;
    list.LoadFromCSV(path.c_str(), err);
    for (int i = 0; i < list.GetSize(); ++i) {
        const char* line = list.GetAtTxt(i);
        if (line != nullptr && std::string(line).find('"') != std::string::npos) __builtin_trap();
    }
    return 0;
}
