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

}  // namespace
