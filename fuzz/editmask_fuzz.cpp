// The masked edit's window-free half under a random mask and a random run of
// edits: typing, Delete and Backspace over random selections, pastes, texts
// set from outside, prompt and mode changes. After every step the display
// must have one character per position, the input one per input position,
// and every input position must hold the prompt or a character it accepts.

#include <cstddef>
#include <cstdint>
#include <string>

#include "Core/Graph/CEditMaskText.h"
#include "QuietLog.h"

namespace {

class Reader {
public:
    Reader(const uint8_t* data, size_t size) : m_Data(data), m_Size(size) {}
    bool More() const { return m_Next < m_Size; }
    uint8_t Byte() { return m_Next < m_Size ? m_Data[m_Next++] : 0; }
    // A text of up to max bytes; NUL ends a C string, so it becomes a letter.
    std::string Text(size_t max) {
        std::string text;
        for (size_t n = Byte() % (max + 1); n > 0 && More(); --n) {
            const char c = static_cast<char>(Byte());
            text += c != '\0' ? c : 'x';
        }
        return text;
    }

private:
    const uint8_t* m_Data;
    size_t m_Size;
    size_t m_Next = 0;
};

class Field : public CEditMaskText {
public:
    using CEditMaskText::CEditMaskText;
    void ValidationError() override {}
    void Check() const {
        const int count = GetPositionCount();
        int inputs = 0;
        for (int i = 0; i < count; ++i) {
            const CMaskData* position = GetMaskData(i);
            if (!position->IsInput()) continue;
            ++inputs;
            char stored = 0;
            const char c = position->m_Char;
            if (c != GetPromptSymbol() && !(position->Accepts(c, stored) && stored == c)) __builtin_trap();
        }
        if (static_cast<int>(ShowMask().size()) != count) __builtin_trap();
        if (count > 0 && static_cast<int>(GetInputData().size()) != inputs) __builtin_trap();
        std::string text;
        GetFieldText(text);
        if (count > 0 && text != ShowMask()) __builtin_trap();
        int start = 0, end = 0;
        GetFieldSel(start, end);
        if (start < 0 || start > end || end > static_cast<int>(text.size())) __builtin_trap();
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet = QuietLog();
    (void)quiet;
    Reader in(data, size);
    const std::string mask = in.Text(24);
    Field field(mask.c_str());
    field.Check();
    for (int step = 0; step < 64 && in.More(); ++step) {
        const uint8_t op = in.Byte();
        const int span = field.GetPositionCount() + 3;
        const int start = in.Byte() % span - 1;
        const int end = start + in.Byte() % 4;
        field.SetFieldSel(start, end);
        switch (op % 10) {
        case 0:
        case 1: field.HandleChar(in.Byte()); break;
        case 2: field.HandleKeyDown(CEditMaskText::KeyDelete, false); break;
        case 3: field.HandleChar(CEditMaskText::KeyBack); break;
        case 4: field.HandlePaste(in.Text(16).c_str()); break;
        case 5: field.SetPromptSymbol(static_cast<char>(in.Byte())); break;
        case 6: field.SetFieldText(in.Text(16).c_str()); break;
        case 7: {
            const std::string text = in.Text(16);
            field.SetInputData(text.c_str(), in.Byte() % 8 - 1, op & 0x10);
            break;
        }
        case 8: field.HandleCut(); break;
        default:
            field.HandleKeyDown(CEditMaskText::KeyHome + in.Byte() % 10, op & 0x10);
            break;
        }
        field.Check();
    }
    return 0;
}
