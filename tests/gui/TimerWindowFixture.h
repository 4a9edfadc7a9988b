#pragma once
// The timer window opened as the program opens it, from no settings, its
// clock stopped so a test ticks it by hand.

#include <gtest/gtest.h>

#include <cstdio>

#include "Core/System/Profile.h"
#include "app/CDlgTimer.h"
#include "tests/gui/GuiTestSupport.h"

namespace zam::testing {

class TimerWindowFixture : public ::testing::Test {
protected:
    // What other tests left in the profile is not this test's business.
    void SetUp() override {
        char ini[1000];
        GetIniPath(ini, sizeof ini);
        std::remove(ini);
    }

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
