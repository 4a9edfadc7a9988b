#include "Core/Platform/MessageFormat.h"

#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdint>
#include <string>

using zam::platform::FormatMessageFromString;
using zam::platform::FormatMessageFromStringV;
using zam::platform::MessageFormatError;

namespace {

// Formats and reports why it failed, so a test can tell the failures apart.
MessageFormatError FormatWhy(std::string& out, const char* pattern, ...) {
    va_list args;
    va_start(args, pattern);
    MessageFormatError error = MessageFormatError::None;
    FormatMessageFromStringV(pattern, args, out, &error);
    va_end(args);
    return error;
}

std::string Fmt(const char* pattern, const char* a = "A", const char* b = "B",
                const char* c = "C") {
    std::string out;
    FormatMessageFromString(out, pattern, a, b, c);
    return out;
}

}  // namespace

TEST(MessageFormatInserts, NumberedArgumentsInAnyOrder) {
    EXPECT_EQ("B then A", Fmt("%2 then %1"));
    EXPECT_EQ("AAC", Fmt("%1%1%3"));  // an unused number in between is skipped over

    std::string out;
    ASSERT_TRUE(FormatMessageFromString(out, "%10|%100", "1", "2", "3", "4", "5", "6", "7", "8",
                                        "9", "ten"));
    EXPECT_EQ("ten|ten0", out);  // two digits at most
}

TEST(MessageFormatInserts, ConversionsFetchEachArgumentByItsType) {
    std::string out;
    // The argument list is read in number order whatever order the pattern
    // uses them in, each with the width its conversion needs.
    ASSERT_TRUE(FormatMessageFromString(out, "%3!s! %2!.2f! %1!05d! %4!I64d! %5!x!", 42, 2.5,
                                        "name", static_cast<long long>(1) << 40, 255));
    EXPECT_EQ("name 2.50 00042 1099511627776 ff", out);

    ASSERT_TRUE(FormatMessageFromString(out, "%1!ld!/%2!lld!/%3!c!/%4!-3s!|", -7L, -8LL, 'z', "a"));
    EXPECT_EQ("-7/-8/z/a  |", out);

    ASSERT_TRUE(FormatMessageFromString(out, "%1!hd!", 70000));
    EXPECT_EQ("4464", out);

    ASSERT_TRUE(FormatMessageFromString(out, "%1!p!", reinterpret_cast<void*>(uintptr_t{0x1234})));
    EXPECT_EQ(std::string(2 * sizeof(void*) - 4, '0') + "1234", out);

    ASSERT_TRUE(FormatMessageFromString(out, "[%1]", static_cast<const char*>(nullptr)));
    EXPECT_EQ("[(null)]", out);
}

TEST(MessageFormatEscapes, LineEndsAndLiterals) {
    EXPECT_EQ("100% done. Yes!", Fmt("100%% done%. Yes%!"));
    EXPECT_EQ("a\r\nb", Fmt("a%nb"));
    EXPECT_EQ("a\tb\rc", Fmt("a%tb%rc"));
    EXPECT_EQ("1\r\n2\r\n3\r\n4", Fmt("1\n2\r3\r\n4"));
    EXPECT_EQ("stop", Fmt("stop%0 never %"));
    EXPECT_EQ("x", Fmt("%x"));
}

TEST(MessageFormatFailures, BadPatternsAndEmptyResults) {
    std::string out = "stale";
    EXPECT_EQ(MessageFormatError::BadPattern, FormatWhy(out, "ends in %"));
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(MessageFormatError::EmptyResult, FormatWhy(out, ""));
    EXPECT_EQ(MessageFormatError::EmptyResult, FormatWhy(out, "%0text"));
    EXPECT_EQ(MessageFormatError::EmptyResult, FormatWhy(out, "%1", ""));
    EXPECT_EQ(MessageFormatError::BadPattern, FormatWhy(out, nullptr));

    // Conversions that could not be fed safely are refused, never passed on.
    EXPECT_EQ(MessageFormatError::BadPattern, FormatWhy(out, "%1!d", 1));
    EXPECT_EQ(MessageFormatError::BadPattern, FormatWhy(out, "%1!n!", 1));
    EXPECT_EQ(MessageFormatError::BadPattern, FormatWhy(out, "%1!*d!", 1, 2));
    EXPECT_EQ(MessageFormatError::BadPattern, FormatWhy(out, "%1!ls!", L"w"));
    EXPECT_EQ(MessageFormatError::BadPattern, FormatWhy(out, "%1!Lf!", 1.0L));
    EXPECT_EQ(MessageFormatError::BadPattern, FormatWhy(out, "%1!999999d!", 1));
    EXPECT_EQ(MessageFormatError::BadPattern, FormatWhy(out, "%1!d! %1!s!", 1));
    EXPECT_EQ(MessageFormatError::BadPattern, FormatWhy(out, "%1!!", "a"));

    EXPECT_EQ(MessageFormatError::None, FormatWhy(out, "%1!65535s!", "a"));
    EXPECT_EQ(65535u, out.size());
}
