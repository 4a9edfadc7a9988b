// The flexible date reader with arbitrary text, field numbers and separator.

#include <cstddef>
#include <cstdint>
#include <string>

#include "Core/Time/CZAMDateTime.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    // Small field numbers mostly, now and then the far ones strfld knows.
    static const int kFields[8] = {-1, 0, 1, 2, 3, 4, 99, -99};
    const int yearField = kFields[data[0] & 7];
    const int monthField = kFields[data[1] & 7];
    const int dayField = kFields[data[2] & 7];
    const char separator = static_cast<char>(data[3]);
    const std::string text(reinterpret_cast<const char*>(data) + 4, size - 4);

    const int r =
        CZAMDateTime::GetDateAlpha(text.c_str(), yearField, monthField, dayField, separator);
    if (r != 1 && r != 2 && r != 3 && !CZAMDateTime::IsDate(r)) __builtin_trap();
    return 0;
}
