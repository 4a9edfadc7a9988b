#pragma once
// The timer window opened as the program opens it, its clock stopped so a
// test ticks it by hand.

#include <gtest/gtest.h>

#include "app/CDlgTimer.h"
#include "tests/gui/GuiTestSupport.h"

namespace zam::testing {

class TimerWindowFixture : public ::testing::Test {
protected:
    CDlgTimer* OpenWindow() {
        window = new CDlgTimer();
        window->OnInitDialog();
        window->Show();
        Pump();
        window->GetTimer().Stop();  // the tests tick by hand, on their own clock
        return window;
    }
    void CloseWindow() {
        if (window == nullptr) return;
        window->Destroy();
        window = nullptr;
        Pump();
    }

    CDlgTimer* window = nullptr;
};

}  // namespace zam::testing
