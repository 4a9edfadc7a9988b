// Placeholder filling: the one CTxt member built on the field functions.

#include <string>

#include "Core/Text/CTxt.h"
#include "Core/Text/TextFunc.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Digits beyond what an int holds cannot name a field; they read as no field.
const int kNoField = -1;

}  // namespace

int CTxt::FillPlaceHolder(const char* values, int lenient, char delim) {
    const int fields = strfldcnt(values, delim);
    if (fields < 1) return -1;
    if (IsEmpty()) return -2;
    const char* text = *this;
    std::string result;
    CTxt field;
    for (const char* p = text; *p != '\0';) {
        if (*p != '@') {
            result += *p++;
            continue;
        }
        ++p;
        if (!IsDigit(*p)) return -3;
        int n = 0;
        while (IsDigit(*p)) {
            n = n > 99999 ? kNoField : (n == kNoField ? kNoField : n * 10 + (*p - '0'));
            ++p;
        }
        if (n >= 1 && n <= fields) {
            strfldtxt(values, delim, n, n, field);
            if (field.IsEmpty() && lenient == 0) return -4;
            result += static_cast<const char*>(field);
        } else if (lenient == 0) {
            return -4;
        }
    }
    SetTxt(result.c_str());
    return 0;
}
