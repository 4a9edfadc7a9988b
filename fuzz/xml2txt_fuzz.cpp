// The writer's unescaping of arbitrary bytes: contents and values read back
// from files anyone may have edited.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "Core/Xml/PlainNode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The text is the bytes up to their first zero, as a caller's text would be.
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const char* text = bytes.c_str();
    const int length = static_cast<int>(std::strlen(text));

    CTxt plain;
    const int read = PlainNode::XML2Txt(text, plain);
    // Every unit read takes at least one byte and gives at most one character.
    if (read < 0 || read > length || plain.GetLength() > read) __builtin_trap();
    if (plain.GetData()[plain.GetLength()] != '\0') __builtin_trap();

    // Without backslash escapes in play, escaping and unescaping give the text back.
    if (std::strchr(text, '\\') == nullptr) {
        CTxt escaped, back;
        PlainNode::SaveTxt2XML(escaped, text);
        PlainNode::XML2Txt(escaped, back);
        if (std::strcmp(back, text) != 0) __builtin_trap();
    }
    return 0;
}
