#include "app/Version.h"

#include <cstring>

const char* const KRONALT_VERSION = "1.2a";

const char* BuildDate() {
    // The compiler pads a one-digit day with a blank ("Dec  7 2026"); the
    // title reads better with a single blank.
    static char date[16] = "";
    if (date[0] == '\0') {
        const char* raw = __DATE__;
        size_t j = 0;
        for (size_t i = 0; raw[i] != '\0' && j + 1 < sizeof date; ++i) {
            if (raw[i] == ' ' && j > 0 && date[j - 1] == ' ') continue;
            date[j++] = raw[i];
        }
        date[j] = '\0';
    }
    return date;
}
