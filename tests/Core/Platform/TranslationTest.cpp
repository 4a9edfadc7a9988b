#include "Core/Platform/Translation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/Support/ScopedEnv.h"

namespace {

using zam::platform::PreferredLanguages;
using zam::testing::ScopedEnv;
using Languages = std::vector<std::string>;

// The four variables the language comes from, all set for one scope.
struct LanguageEnv {
    LanguageEnv(const char* language, const char* all, const char* messages, const char* lang)
        : Language("LANGUAGE", language), All("LC_ALL", all), Messages("LC_MESSAGES", messages), Lang("LANG", lang) {}
    ScopedEnv Language, All, Messages, Lang;
};

TEST(TranslationTest, LanguagesComeFromTheEnvironmentInGettextsOrder) {
    {
        LanguageEnv env("fr_CA:de", nullptr, nullptr, "it_IT.UTF-8");
        EXPECT_EQ(PreferredLanguages(), (Languages{"fr_CA", "fr", "de", "it_IT", "it"}));
    }
    {
        // LC_ALL outranks LC_MESSAGES, which outranks LANG; codeset and
        // modifier are not part of a catalog's name.
        LanguageEnv env(nullptr, "de_AT.UTF-8@euro", "fr_FR.UTF-8", "it_IT.UTF-8");
        EXPECT_EQ(PreferredLanguages(), (Languages{"de_AT", "de"}));
    }
    {
        LanguageEnv env("", "", "fr_FR", "it_IT");
        EXPECT_EQ(PreferredLanguages(), (Languages{"fr_FR", "fr"}));
    }
    {
        // No locale at all, as on a system with none generated: LANGUAGE
        // alone still chooses, and repeated or empty entries do no harm.
        LanguageEnv env("de::de_DE:de", nullptr, nullptr, nullptr);
        EXPECT_EQ(PreferredLanguages(), (Languages{"de", "de_DE"}));
    }
}

TEST(TranslationTest, AnExplicitCLocaleMeansTheEnglishProgram) {
    for (const char* c : {"C", "POSIX"}) {
        LanguageEnv env("de", nullptr, nullptr, c);
        EXPECT_TRUE(PreferredLanguages().empty()) << c;
    }
    LanguageEnv env("de", "C", nullptr, "fr_FR.UTF-8");
    EXPECT_TRUE(PreferredLanguages().empty());
    env.Lang.Set(nullptr);
    env.All.Set("C.UTF-8");  // a UTF-8 C locale does not silence LANGUAGE
    EXPECT_EQ(PreferredLanguages(), (Languages{"de"}));
}

class Doubling : public zam::platform::Translator {
public:
    const char* Translate(const char* msgid) override {
        Kept = std::string(msgid) + msgid;
        return Kept.c_str();
    }
    std::string Kept;
};

TEST(TranslationTest, TextsGoThroughTheInstalledTranslatorOnly) {
    const char* english = "Are you sure to exit?";
    EXPECT_EQ(Tr(english), english);  // the same text, not a copy
    Doubling translator;
    zam::platform::SetTranslator(&translator);
    EXPECT_STREQ(Tr("ab"), "abab");
    EXPECT_STREQ(Tr(""), "");  // the catalog header is never a translation
    zam::platform::SetTranslator(nullptr);
    EXPECT_EQ(Tr(english), english);
}

}  // namespace
