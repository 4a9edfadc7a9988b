// A program built on the installed library, as another tool would be.
#include <cstdio>

#include "Core/Text/CTxt.h"

int main() {
    CTxt text("installed");
    text.MakeUpper();
    std::puts(text);
    return text.GetLength() == 9 ? 0 : 1;
}
