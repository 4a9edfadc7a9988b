// The general date-time reader and its relatives on arbitrary text.

#include <cstddef>
#include <cstdint>
#include <string>

#include "Core/Text/CTxt.h"
#include "Core/Time/CZAMDateTime.h"
#include "fuzz/QuietLog.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet = QuietLog();
    (void)quiet;
    const std::string text(reinterpret_cast<const char*>(data), size);

    CZAMDateTime dt;
    const int rc = dt.SetDT(text.c_str());
    if (rc < -3 || rc > 0) __builtin_trap();
    if (rc == 0 && dt.IsValid()) {
        // Whatever was read comes back from the forms the value writes.
        for (int kind : {0, 9, 10, 16, 18, 19, 29}) {
            std::string written;
            dt.GetStr(written, kind);
            CZAMDateTime back;
            if (back.SetDT(written.c_str()) != 0 || back.Compare(&dt, 6) != 0) __builtin_trap();
        }
    }
    if (dt.SetDTCheck(text.c_str()) == 0 && !dt.IsValid()) __builtin_trap();
    const int date = dt.SetDate(text.c_str());
    if (date != 0 && date != -1) __builtin_trap();
    dt.SetDTConvLocal(text.c_str());
    dt.SetDTDash(text.c_str(), static_cast<int>(size % 4));
    CTxt out;
    if (CZAMDateTime::SetDTConvLocalTxt(text.c_str(), out) != out.GetLength()) __builtin_trap();
    return 0;
}
