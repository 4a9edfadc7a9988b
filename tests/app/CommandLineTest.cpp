#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace {

CommandLine Parse(std::initializer_list<const char*> args) {
    std::vector<const char*> argv{"kronalt"};
    argv.insert(argv.end(), args);
    return ParseCommandLine(static_cast<int>(argv.size()), argv.data());
}

TEST(CommandLineTest, DefaultsAndOptions) {
    EXPECT_EQ(Parse({}).Action, CommandLineAction::RunWindow);
    CommandLine c = Parse({"--console"});
    EXPECT_EQ(c.Action, CommandLineAction::RunConsole);
    EXPECT_EQ(c.Console.Length, 60);
    EXPECT_EQ(c.Console.Interval, 0);
    EXPECT_FALSE(c.Console.LengthGiven);
    c = Parse({"--console", "--length", "25", "--interval", "-5"});
    EXPECT_EQ(c.Console.Length, 25);
    EXPECT_EQ(c.Console.Interval, -5);
    EXPECT_TRUE(c.Console.LengthGiven && c.Console.IntervalGiven);
    EXPECT_EQ(Parse({"--length", "3"}).Action, CommandLineAction::RunConsole);
    EXPECT_EQ(Parse({"--version"}).Action, CommandLineAction::ShowVersion);
    EXPECT_EQ(Parse({"--console", "--help"}).Action, CommandLineAction::ShowHelp);
}

TEST(CommandLineTest, BadOptionsAreRefused) {
    for (auto args : {std::initializer_list<const char*>{"--length"},
                      std::initializer_list<const char*>{"--length", "ten"},
                      std::initializer_list<const char*>{"--interval", "5x"},
                      std::initializer_list<const char*>{"--length", "99999999999"},
                      std::initializer_list<const char*>{"--bogus"}}) {
        CommandLine c = Parse(args);
        EXPECT_EQ(c.Action, CommandLineAction::Error);
        EXPECT_FALSE(c.Error.empty());
    }
}

TEST(CommandLineTest, PresetsAndClockTimes) {
    CommandLine c = Parse({"--preset", "Short break", "--until", "7:05"});
    EXPECT_EQ(c.Action, CommandLineAction::RunWindow);  // neither asks for the terminal
    EXPECT_EQ(c.Console.Preset, "Short break");
    EXPECT_EQ(c.Console.UntilHour, 7);
    EXPECT_EQ(c.Console.UntilMinute, 5);
    EXPECT_EQ(c.Console.UntilSecond, 0);
    EXPECT_EQ(Parse({"--console", "--until", "23:59:59"}).Console.UntilSecond, 59);
    EXPECT_EQ(Parse({"--list-presets"}).Action, CommandLineAction::ListPresets);
    for (const char* bad : {"25:00", "7:5x", "7", "12:60", "12:00:60", ":30", "1:2:3:4", "", "-1:00"}) {
        EXPECT_EQ(Parse({"--until", bad}).Action, CommandLineAction::Error) << bad;
    }
    EXPECT_EQ(Parse({"--until"}).Action, CommandLineAction::Error);
    EXPECT_EQ(Parse({"--preset"}).Action, CommandLineAction::Error);
    EXPECT_EQ(Parse({"--preset", ""}).Action, CommandLineAction::Error);
}

}  // namespace
