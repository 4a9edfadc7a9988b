// Web, hex and escape decoding of arbitrary bytes: the conversions that meet
// text from files, form data and pages.

#include <cstddef>
#include <cstdint>
#include <string>

#include "Core/Text/CTxt.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    // The first byte picks the conversion, the rest is the text (up to its first zero).
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    CTxt t(text.c_str());
    switch (data[0] % 6) {
    case 0: t.ConvHTM2TXT(); break;
    case 1: t.ConvHex(0); break;
    case 2: t.ConvCRLF(1); break;
    case 3: t.ConvXML2Txt(); break;
    case 4: t.ConvTxt2XML(); t.ConvXML2Txt(); break;
    default: t.ConvCRLF(0); t.ConvCRLF(1); break;
    }
    // The text must still agree with its own length.
    if (t.GetData() != nullptr && t.GetData()[t.GetLength()] != '\0') __builtin_trap();
    return 0;
}
