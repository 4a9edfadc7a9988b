#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

// Every test sees the same zone, one with daylight saving, whatever the
// machine is set to; tests that need another set TZ themselves.
int main(int argc, char** argv) {
    setenv("TZ", "America/New_York", 1);
    tzset();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
