#include "Core/Platform/Locale.h"

#include <gtest/gtest.h>

namespace {

using zam::platform::SeparatorFromFormat;
using zam::platform::SeparatorFromValue;

TEST(LocaleTest, SeparatorOfTimeAndDateFormats) {
    EXPECT_EQ(SeparatorFromFormat("%m/%d/%y", '?'), '/');
    EXPECT_EQ(SeparatorFromFormat("%d.%m.%Y", '?'), '.');
    EXPECT_EQ(SeparatorFromFormat("%T", '?'), ':');
    EXPECT_EQ(SeparatorFromFormat("%Ey-%Om", '?'), '-');
    EXPECT_EQ(SeparatorFromFormat("%-d/%-m", '?'), '/');
    // Text before the first field is no separator; a multibyte one cannot be shown.
    EXPECT_EQ(SeparatorFromFormat("at %H:%M", '?'), ':');
    EXPECT_EQ(SeparatorFromFormat("%Y\xe5\xb9\xb4%m", '?'), '?');
    EXPECT_EQ(SeparatorFromFormat("%Y", '?'), '?');
    EXPECT_EQ(SeparatorFromFormat(nullptr, '?'), '?');
}

TEST(LocaleTest, SeparatorOfNumericValues) {
    EXPECT_EQ(SeparatorFromValue(",", '.'), ',');
    EXPECT_EQ(SeparatorFromValue("", ','), ',');
    EXPECT_EQ(SeparatorFromValue("\xe2\x80\xaf", ','), ',');
}

TEST(LocaleTest, CLocaleAndOverride) {
    zam::platform::LocaleSeparators c;
    ASSERT_TRUE(zam::platform::ReadLocaleSeparators("C", c));
    EXPECT_EQ(c.Decimal, '.');
    EXPECT_EQ(c.Thousands, ',');  // the C locale has none: the default
    EXPECT_EQ(c.Date, '/');
    EXPECT_FALSE(zam::platform::ReadLocaleSeparators("xx_NOWHERE.none", c));

    zam::platform::LocaleSeparators fixed;
    fixed.Date = '-';
    zam::platform::SetLocaleSeparatorsOverride(&fixed);
    EXPECT_EQ(zam::platform::GetLocaleSeparators().Date, '-');
    zam::platform::SetLocaleSeparatorsOverride(nullptr);
}

}  // namespace
