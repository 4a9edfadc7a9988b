#include "Core/Config/CCfgFilter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Core/Config/CCfgDoc.h"
#include "Core/System/Profile.h"
#include "tests/Support/RecordingPresenter.h"
#include "tests/Support/ScopedEnv.h"
#include "tests/Support/TempDir.h"

namespace {

using zam::testing::RecordingPresenter;
using zam::testing::ScopedEnv;
using zam::testing::TempDir;

std::string Folded(const char* text) {
    std::string out;
    CCfgFilter::Fold(text, out);
    return out;
}

TEST(CfgFilterFold, CapitalsOfSeveralScriptsOtherBytesKept) {
    EXPECT_EQ(Folded("BarColor 0x91FFFF"), "barcolor 0x91ffff");
    EXPECT_EQ(Folded("CAFÉ ÆØÅ ÀÞ ×"), "café æøå àþ ×");  // the multiplication sign has no case
    EXPECT_EQ(Folded("ŁÓDŹ ĀŊ Ÿ"), "łódź āŋ ÿ");
    EXPECT_EQ(Folded("ΣΑΣ ПРИВЕТ ЁЖ Ђ"), "σασ привет ёж ђ");
    EXPECT_EQ(Folded("€ 中文 \xC3"), "€ 中文 \xC3");  // three-byte characters and a cut sequence as they are
}

class CfgFilterTest : public ::testing::Test {
protected:
    void SetUp() override {
        char ini[1000];
        GetIniPath(ini, sizeof ini);
        std::remove(ini);
        zam::platform::SetMessageBoxPresenter(&presenter);
    }
    void TearDown() override { zam::platform::SetMessageBoxPresenter(nullptr); }

    std::vector<std::string> Names(const char* text, bool modifiedOnly = false) {
        std::vector<CCfgItem*> found;
        const size_t count = filter.Match(text, modifiedOnly, found);
        EXPECT_EQ(count, found.size());
        std::vector<std::string> names;
        for (CCfgItem* item : found) names.push_back(static_cast<const char*>(item->Name));
        return names;
    }

    TempDir dir;
    ScopedEnv config{"XDG_CONFIG_HOME", dir.Path().c_str()};
    RecordingPresenter presenter;
    CCfgDoc doc;
    CCfgFilter filter;
};

TEST_F(CfgFilterTest, NameShownValueAndDescriptionWithoutCaseInTreeOrder) {
    dir.Write("def.xml",
              "<r><SysDef><Title>t</Title></SysDef><CfgDef SectionName=\"SYS\">"
              "<G Name=\"Bar\"><P Name=\"BarColor\" Type=\"Color\" Dflt=\"49,193,249\">Filled part</P>"
              "<P Name=\"Intervall\" Type=\"Int\" Dflt=\"5\">Minutes between chimes</P></G>"
              "<G Name=\"Other\"><P Name=\"Title\" Type=\"Text/40\" Dflt=\"Café crème\"/>"
              "<P Name=\"Secret\" Type=\"Text/20/pwd\" Dflt=\"chimera\"/></G></CfgDef></r>");
    // Title's description comes from its file, written in a Windows code page.
    dir.Write("Title.txt", "The window's caption, na\xEFve or not");
    ProfileWriteStr("SYS", "Intervall", "42");
    CTxt err;
    ASSERT_EQ(doc.LoadSysDef(dir.File("def.xml").c_str(), err), 0);
    doc.LoadItems();
    filter.Index(doc);
    ASSERT_EQ(filter.Size(), 4u);

    using Found = std::vector<std::string>;
    EXPECT_EQ(Names(""), (Found{"BarColor", "Intervall", "Title", "Secret"}));
    EXPECT_EQ(Names("  "), Names(""));
    EXPECT_EQ(Names("COLOR"), Found{"BarColor"});           // name
    EXPECT_EQ(Names("193,2"), Found{"BarColor"});           // shown value
    EXPECT_EQ(Names("42"), Found{"Intervall"});
    EXPECT_EQ(Names("CHIME"), Found{"Intervall"});          // description; the password's value is not shown
    EXPECT_EQ(Names("CAFÉ CR"), Found{"Title"});
    EXPECT_EQ(Names("NAÏVE"), Found{"Title"});              // from the description file
    EXPECT_EQ(Names("r"), (Found{"BarColor", "Intervall", "Title", "Secret"}));
    EXPECT_TRUE(Names("no such thing").empty());
    EXPECT_TRUE(Names("color=").empty());                   // the label's "=" joins nothing

    // Only what differs from the default, and a value written meanwhile.
    EXPECT_EQ(Names("", true), Found{"Intervall"});
    EXPECT_TRUE(Names("color", true).empty());
    CCfgItem* bar = doc.Items[0].get();
    doc.SelectItem(bar);
    ASSERT_EQ(doc.ChgData("1,2,3", err), 0);
    doc.ApplyItem();
    filter.Update(doc, *bar);
    EXPECT_EQ(Names("1,2,3"), Found{"BarColor"});
    EXPECT_TRUE(Names("193").empty());
    EXPECT_EQ(Names("", true), (Found{"BarColor", "Intervall"}));
}

}  // namespace
