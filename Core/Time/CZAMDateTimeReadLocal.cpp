// Dates written in the computer's own short-date order, turned into the US
// order the other readers expect.

#include <cctype>
#include <cstring>
#include <string>

#include "Core/Platform/Registry.h"
#include "Core/System/Log.h"
#include "Core/Text/CTxt.h"
#include "Core/Text/TextFunc.h"
#include "Core/Time/CZAMDateTime.h"

namespace {

// Field positions of day, month and year in the short-date pattern, found
// once per process: the user does not change the locale under a running
// program, and the log should say once what was found.
struct LocalOrder {
    bool Detected = false;
    int Day = 2;
    int Month = 1;
    int Year = 3;
    bool HasTestPattern = false;
    std::string TestPattern;
};

LocalOrder& Order() {
    static LocalOrder order;
    return order;
}

const LocalOrder& DetectedOrder() {
    LocalOrder& order = Order();
    if (order.Detected) return order;
    order.Detected = true;

    std::string pattern;
    if (order.HasTestPattern)
        pattern = order.TestPattern;
    else if (!zam::platform::RegistryShortDatePattern(pattern))
        return order;
    if (pattern.empty()) return order;
    for (char& c : pattern) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));

    // Only '/' splits: "DD.MM.YYYY" is one field and only its first letter counts.
    const int fields = strfldcnt(pattern.c_str(), '/');
    char field[64];
    for (int i = 1; i <= fields; ++i) {
        strfld(pattern.c_str(), '/', i, 0, field, sizeof field);
        if (field[0] == 'D') order.Day = i;
        if (field[0] == 'M') order.Month = i;
        if (field[0] == 'Y') order.Year = i;
    }
    LogTrace("BT-AB", 2, "Detecetd DateFormat: %s (Day=%d, Month=%d, Year=%d)", pattern.c_str(),
             order.Day, order.Month, order.Year);
    return order;
}

}  // namespace

int CZAMDateTime::SetDTConvLocalTxt(const char* text, CTxt& out) {
    if (text == nullptr) text = "";
    const LocalOrder& order = DetectedOrder();

    const char* word = text;
    while (*word == ' ') ++word;
    const char* rest = word;
    while (*rest != '\0' && *rest != ' ') ++rest;
    const std::string first(word, static_cast<size_t>(rest - word));
    while (*rest == ' ') ++rest;

    const char* w = first.c_str();
    out.Format("%d/%d/%d %s", strfldint(w, '/', order.Month), strfldint(w, '/', order.Day),
               strfldint(w, '/', order.Year), rest);
    return out.GetLength();
}

int CZAMDateTime::SetDTConvLocal(const char* text) {
    CTxt us;
    SetDTConvLocalTxt(text, us);
    return SetDT(us);
}

void DateTimeLocalOrderForTests(const char* pattern) {
    LocalOrder& order = Order();
    order = LocalOrder();
    order.HasTestPattern = pattern != nullptr;
    if (pattern != nullptr) order.TestPattern = pattern;
}
