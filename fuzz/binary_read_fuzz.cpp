// Length-prefixed records from damaged or hostile memory.

#include <cstddef>
#include <cstdint>

#include "Core/Text/CTxt.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int available = size > 1000000 ? 1000000 : static_cast<int>(size);
    int offset = 0;
    CTxt t;
    // Read records one after the other, as a record file is read.
    while (offset < available) {
        const int used = t.BinaryRead(data + offset, available - offset);
        if (used < 0) break;
        if (used < 5 || used > available - offset) __builtin_trap();
        offset += used;
    }
    return 0;
}
