#pragma once
// A message-box presenter that keeps every box instead of showing it, and
// answers the box's default button (or the answer a test sets).

#include <string>
#include <vector>

#include "Core/Platform/UserInterface.h"

namespace zam::testing {

struct ShownBox {
    std::string Text, Caption;
    UINT Type;
};

class RecordingPresenter : public zam::platform::MessageBoxPresenter {
public:
    int Show(const char* text, const char* caption, UINT type) override {
        Boxes.push_back({text ? text : "", caption ? caption : "", type});
        return Answer != 0 ? Answer : zam::platform::DefaultAnswer(type);
    }
    void Beep(UINT) override {}
    std::vector<ShownBox> Boxes;
    int Answer = 0;
};

}  // namespace zam::testing
