// Values entered into a configuration parameter of every type, and value
// lists expanded on their own, from arbitrary text. The first byte picks the
// type ('a' Int ... 'l' a password text, 'm' a bare value list, also taken
// through the Windows-1252 conversion); the rest is what the user typed. A
// value list that never ends shows up as a time-out.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "Core/Config/CCfgDoc.h"
#include "Core/Platform/UserInterface.h"
#include "Core/Text/TextFunc.h"
#include "fuzz/QuietLog.h"

namespace {

const char* const kTypes[] = {"Int",    "IntNeg", "Float/4", "Text/8", "Bool",  "ParInt",
                              "ParFlt", "ParTxt", "ParSrc",  "Date",   "Color", "Text/20/pwd"};
const size_t kTypeCount = sizeof kTypes / sizeof kTypes[0];

class SilentPresenter : public zam::platform::MessageBoxPresenter {
public:
    int Show(const char*, const char*, UINT type) override { return zam::platform::DefaultAnswer(type); }
    void Beep(UINT) override {}
};

struct Editor {
    SilentPresenter Presenter;
    CCfgDoc Doc;
    Editor() {
        QuietLog();
        zam::platform::SetMessageBoxPresenter(&Presenter);
        for (const char* type : kTypes) {
            auto item = std::make_unique<CCfgItem>();
            item->Name = type;
            item->Group = "Fuzz";
            item->ParseType(type);
            Doc.Items.push_back(std::move(item));
        }
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Editor* editor = new Editor;
    if (size < 1) return 0;
    const size_t pick = static_cast<unsigned char>(data[0] - 'a') % (kTypeCount + 1);
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    CTxt out;
    if (pick == kTypeCount) {
        const int n = CCfgDoc::ExpandValueList(text.c_str(), out);
        if (n == 0 || n < -3 || n > CCfgDoc::kMaxListValues) __builtin_trap();
        // Descriptions come through the same conversion: UTF-8 afterwards, always.
        CTxt converted(text.c_str());
        txtfromcp1252(converted);
        if (!strisutf8(converted, converted.GetLength())) __builtin_trap();
        return 0;
    }
    CCfgItem& item = *editor->Doc.Items[pick];
    editor->Doc.CurItem = &item;
    const CTxt before(item.NewText);
    const int code = editor->Doc.ChgData(text.c_str(), out);
    if (code != 0 && (code < -4 || code > -2)) __builtin_trap();
    // A refused value leaves the item as it was.
    if (code < 0 && std::strcmp(before, item.NewText) != 0) __builtin_trap();
    CTxt shown;
    CCfgDoc::DisplayValue(item, item.NewText, shown);
    if (item.IsPassword() && item.NewText.IsFilled() && std::strcmp(shown, "********") != 0) __builtin_trap();
    CTxt label;
    editor->Doc.ItemLabel(item, label);
    return 0;
}
