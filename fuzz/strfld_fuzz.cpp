// Field extraction with arbitrary text, delimiter and field numbers.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "Core/Text/CTxt.h"
#include "Core/Text/TextFunc.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 6) return 0;
    const char delim = static_cast<char>(data[0]);
    const int first = static_cast<int8_t>(data[1]) * (data[3] & 1 ? 1 : 7);
    const int last = static_cast<int8_t>(data[2]);
    const int outSize = 1 + data[4] % 64;
    const std::string text(reinterpret_cast<const char*>(data) + 5, size - 5);
    char out[64];
    const int n = strfld(text.c_str(), delim, first, last, out, outSize);
    if (n > outSize - 1 || static_cast<int>(std::strlen(out)) > outSize - 1) __builtin_trap();
    strfldcnt(text.c_str(), delim);
    strfldint(text.c_str(), delim, first);
    CTxt values(text.c_str());
    CTxt pattern("@1 @2 @99");
    pattern.FillPlaceHolder(values, data[3] & 2, delim);
    return 0;
}
