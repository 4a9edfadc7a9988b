#include "Core/Config/CCfgDoc.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>
#include <vector>

#include "Core/System/Launch.h"
#include "Core/System/Profile.h"
#include "tests/Support/RecordingPresenter.h"
#include "tests/Support/ScopedEnv.h"
#include "tests/Support/TempDir.h"

namespace {

using zam::testing::RecordingPresenter;
using zam::testing::ScopedEnv;
using zam::testing::TempDir;

std::string Str(const char* s) { return s != nullptr ? s : ""; }

class RecordingView : public CCfgView {
public:
    void SetValueText(const char* text) override { ValueTexts.push_back(text); }
    void SetTreeLabel(CCfgItem&, const char* label) override { Labels.push_back(label); }
    void UpdateButtons(const CCfgItem& item) override { LastChanged = item.Changed; }
    std::vector<std::string> ValueTexts;
    std::vector<std::string> Labels;
    int LastChanged = -1;
};

const char* const kDefinition =
    "<?xml version=\"1.0\"?>\n"
    "<Kronalt>\n"
    "  <SysDef><Title>  Kronalt Settings  </Title><AppName>Kronalt</AppName></SysDef>\n"
    "  <CfgDef SectionName=\"SYS\" Intro=\"Change one setting at a time\" TreeWidth=\"30\" Size=\"60,70\">\n"
    "    <Group Name=\"Timer\">\n"
    "      <Par Name=\"Length\" Type=\"Int\" Dflt=\"60\">Minutes of a countdown</Par>\n"
    "      <Par Name=\"Ratio\" Type=\"Float/4\" Dflt=\"0.5\"/>\n"
    "      <Par Name=\"Label\" Type=\"Text/5\" Dflt=\"abc\"/>\n"
    "      <Par Name=\"Loud\" Type=\"Bool\" Dflt=\"YES\"/>\n"
    "      <Par Name=\"Source\" Type=\"ParSrc\" Dflt=\"Close(1)\"/>\n"
    "      <Par Name=\"Steps\" Type=\"ParInt\" Dflt=\"1>3\"/>\n"
    "      <Par Name=\"Tint\" Type=\"Color\" Dflt=\"1,2,3\"/>\n"
    "      <Par Name=\"Typo\" Type=\"Flaot\"/>\n"
    "      <Par Type=\"Int\"/>\n"
    "    </Group>\n"
    "    <Group><Par Name=\"Orphan\"/></Group>\n"
    "    <Group Name=\"Store\" Open=\"0\">\n"
    "      <Par Name=\"Who\" Type=\"Text\" Reg=\"Kronalt\" Dflt=\"me\"/>\n"
    "    </Group>\n"
    "  </CfgDef>\n"
    "</Kronalt>\n";

class CfgDocTest : public ::testing::Test {
protected:
    void SetUp() override {
        char ini[1000];
        GetIniPath(ini, sizeof ini);
        std::remove(ini);
        zam::platform::SetMessageBoxPresenter(&presenter);
        doc.SetView(&view);
    }
    void TearDown() override { zam::platform::SetMessageBoxPresenter(nullptr); }

    int Load(const std::string& text, CTxt& err) {
        dir.Write("def.xml", text);
        return doc.LoadSysDef(dir.File("def.xml").c_str(), err);
    }
    CCfgItem* Item(const char* name) {
        for (auto& item : doc.Items)
            if (Str(item->Name) == name) return item.get();
        return nullptr;
    }
    std::string Setting(const char* key) {
        std::string value;
        ProfileReadStr("SYS", key, "<missing>", value);
        return value;
    }

    TempDir dir;
    ScopedEnv config{"XDG_CONFIG_HOME", dir.Path().c_str()};
    RecordingPresenter presenter;
    RecordingView view;
    CCfgDoc doc;
};

TEST_F(CfgDocTest, LoadSysDefCodesAndMessages) {
    CTxt err;
    EXPECT_EQ(doc.LoadSysDef(dir.File("none.xml").c_str(), err), -1);
    EXPECT_NE(Str(err).find("Cannot open '"), std::string::npos);
    EXPECT_EQ(Load("<a><b></a>", err), -2);
    EXPECT_EQ(Str(err).rfind("Parse Erorr in '" + dir.File("def.xml") + "' (", 0), 0u);
    EXPECT_EQ(Load("<r><CfgDef SectionName=\"S\"/></r>", err), -3);
    EXPECT_EQ(Str(err), "Incomplete System Definition file - SysDef missing (" + dir.File("def.xml") + ")");
    EXPECT_EQ(Load("<r><SysDef><AppName>x</AppName></SysDef><CfgDef SectionName=\"S\"/></r>", err), -4);
    EXPECT_NE(Str(err).find("Title missing in SysDef"), std::string::npos);
    EXPECT_EQ(Load("<r><SysDef><Title>t</Title></SysDef></r>", err), -5);
    EXPECT_NE(Str(err).find("CfgDef Section missing"), std::string::npos);
    EXPECT_EQ(Load("<r><SysDef><Title>t</Title><BaseDir>/no/such</BaseDir></SysDef>"
                   "<CfgDef SectionName=\"S\"/></r>", err), -6);
    EXPECT_EQ(Str(err), "Invalid Base Foldder /no/such\r\n(" + dir.File("def.xml") + ")");
    EXPECT_EQ(Load("<r><SysDef><Title>t</Title></SysDef><CfgDef SectionName=\"\"/></r>", err), -6);
    EXPECT_NE(Str(err).find("SectionName"), std::string::npos);
    EXPECT_NE(Str(err).find(dir.File("def.xml")), std::string::npos);

    // A folder the caller set wins over the file's, which then need not exist.
    doc.BaseDir = "/caller";
    EXPECT_EQ(Load("<r><SysDef><Title>t</Title><BaseDir>/no/such</BaseDir></SysDef>"
                   "<CfgDef SectionName=\"S\"/></r>", err), 0);
    EXPECT_EQ(Str(doc.BaseDir), "/caller");
}

TEST_F(CfgDocTest, DefinitionFieldsGroupsAndItems) {
    CTxt err;
    ASSERT_EQ(Load(kDefinition, err), 0) << Str(err);
    EXPECT_EQ(Str(doc.Title), "Kronalt Settings");
    EXPECT_EQ(Str(doc.AppName), "Kronalt");
    EXPECT_EQ(Str(doc.SectionName), "SYS");
    EXPECT_EQ(Str(doc.Intro), "Change one setting at a time");
    EXPECT_EQ(doc.TreeWidthPct, 30);
    EXPECT_EQ(doc.TreeWidthPx, 120);
    EXPECT_EQ(doc.WidthPct, 60);
    EXPECT_EQ(doc.HeightPct, 70);

    EXPECT_EQ(doc.LoadItems(), 8);  // the misspelt type and the nameless ones are left out
    ASSERT_EQ(doc.Groups.size(), 2u);  // a group without Name contributes nothing
    EXPECT_EQ(Str(doc.Groups[1].Name), "Store");
    EXPECT_EQ(doc.Groups[1].Open, 0);
    EXPECT_EQ(Str(Item("Length")->ShownText), "60");
    EXPECT_EQ(Str(Item("Length")->Group), "Timer");
    EXPECT_EQ(Str(Item("Ratio")->ShownText), "0.5000");
    EXPECT_EQ(Str(Item("Loud")->ShownText), "YES");
    EXPECT_EQ(Str(Item("Source")->ShownText), "1");
    EXPECT_EQ(Str(Item("Steps")->ShownText), "1,2,3");
    EXPECT_EQ(Str(Item("Who")->ShownText), "me");
    std::string stored;
    RegGetGlobal("Who", stored, nullptr, "Kronalt");
    EXPECT_EQ(stored, "me");  // a missing store value is created with the default
    EXPECT_EQ(Setting("Length"), "<missing>");  // a plain read: nothing written

    // The same file in lower case loads the same.
    std::string lower = kDefinition;
    const std::vector<std::pair<std::string, std::string>> swaps = {
        {"SysDef", "sysdef"}, {"CfgDef", "cfgdef"}, {"SectionName", "sectionname"},
        {"Name=", "name="},   {"Title", "title"},   {"Type=", "type="}};
    for (const auto& [from, to] : swaps) {
        for (size_t at = lower.find(from); at != std::string::npos; at = lower.find(from, at))
            lower.replace(at, from.size(), to);
    }
    CCfgDoc again;
    ASSERT_EQ(again.LoadSysDef((dir.Write("lower.xml", lower), dir.File("lower.xml")).c_str(), err), 0);
    EXPECT_EQ(again.LoadItems(), 8);

    // No parameters at all: groups, no items.
    ASSERT_EQ(Load("<r><SysDef><Title>t</Title></SysDef><CfgDef SectionName=\"S\"><G Name=\"g\"/></CfgDef></r>",
                   err), 0);
    EXPECT_EQ(doc.LoadItems(), 0);
    EXPECT_EQ(doc.Groups.size(), 1u);
    EXPECT_EQ(doc.CountUpdated(), 0);
}

TEST_F(CfgDocTest, TypeKeywords) {
    struct Row {
        const char* Type;
        int Code, Width, Decimals;
        unsigned Style;
    };
    const Row rows[] = {
        {"Int", 1, 10, 2, 0x50032000}, {"IntNeg", 2, 10, 2, 0x50030000}, {"Float/4", 3, 10, 4, 0x50030000},
        {"flt", 3, 10, 2, 0x50030000}, {"Text", 4, 20, 2, 0x50030000},   {"Text/30/Upper", 4, 30, 2, 0x50032008},
        {"Text/Upper", 4, 0, 2, 0x50030000}, {"Bool", 5, 4, 2, 0x50030000}, {"ParInt", 6, 30, 2, 0x50030080},
        {"ParFlt", 7, 30, 2, 0x50030080}, {"ParTxt", 8, 45, 2, 0x50030080}, {"ParSrc", 9, 16, 2, 0x50030000},
        {"Date", 10, 10, 2, 0x50030000}, {" color / pwd ", 11, 12, 2, 0x50030020},
        {"Txt/8/Lower", 4, 8, 2, 0x50034010}, {"Float/999999999", 3, 10, 40, 0x50030000}, {"password", 0, 10, 2, 0x50030020}, {"Flaot", 0, 10, 2, 0x50030000},
    };
    for (const Row& row : rows) {
        CCfgItem item;
        EXPECT_EQ(item.ParseType(row.Type), row.Code) << row.Type;
        EXPECT_EQ(item.Width, row.Width) << row.Type;
        EXPECT_EQ(item.Decimals, row.Decimals) << row.Type;
        EXPECT_EQ(item.Style, row.Style) << row.Type;
    }
    for (const char* yes : {"on", "True", "1", "y", " YES "}) EXPECT_EQ(CfgYesNo(yes), 1) << yes;
    for (const char* no : {"0", "no", "", "-3", "off"}) EXPECT_EQ(CfgYesNo(no), 0) << no;
}

TEST_F(CfgDocTest, EnteredValuesAreNormalised) {
    CTxt err;
    EXPECT_EQ(doc.ChgData("1", err), -1);
    EXPECT_EQ(Str(err), "ChgData: Missing current Item");
    ASSERT_EQ(Load(kDefinition, err), 0);
    doc.LoadItems();
    auto enter = [&](const char* name, const char* text) {
        doc.SelectItem(Item(name));
        view.ValueTexts.clear();
        EXPECT_EQ(doc.ChgData(text, err), 0) << name << " " << text;
        return Str(doc.CurItem->NewText);
    };
    EXPECT_EQ(enter("Ratio", "12abc"), "12.0000");
    EXPECT_EQ(view.ValueTexts, std::vector<std::string>{"12.0000"});
    EXPECT_EQ(enter("Label", "  hello world  "), "hello");
    for (const char* yes : {"on", "True", "1", "y"}) EXPECT_EQ(enter("Loud", yes), "YES");
    EXPECT_EQ(doc.CurItem->Changed, 0);
    EXPECT_EQ(enter("Loud", ""), "NO");
    EXPECT_EQ(doc.CurItem->Changed, 1);
    EXPECT_EQ(view.LastChanged, 1);
    EXPECT_EQ(enter("Source", "High(2)"), "2");
    EXPECT_TRUE(view.ValueTexts.empty());  // the control keeps the text as entered
    EXPECT_EQ(enter("Source", "9"), "2");
    EXPECT_EQ(enter("Source", "Close"), "2");
    EXPECT_EQ(enter("Tint", "300,20,-1"), "44,20,255");
    EXPECT_EQ(enter("Steps", "3,1,3>3,2.5"), "1,2.5,3");
    EXPECT_EQ(enter("Steps", "5, 1>3"), "1,2,3,5");

    // A list without values leaves the item as it was.
    EXPECT_EQ(doc.ChgData("10>1", err), -2);
    EXPECT_EQ(Str(err), "Missing Strategy Input Value(s) in 10>1");
    EXPECT_EQ(Str(doc.CurItem->NewText), "1,2,3,5");

    CTxt out;
    EXPECT_EQ(CCfgDoc::ExpandValueList("1>10/2", out), 5);
    EXPECT_EQ(Str(out), "1,3,5,7,9");
    EXPECT_EQ(CCfgDoc::ExpandValueList("0>1/0.25,7>7", out), 6);
    EXPECT_EQ(Str(out), "0,0.25,0.5,0.75,1,7");
    EXPECT_EQ(CCfgDoc::ExpandValueList("0>1e9/1e-9", out), -2);  // refused at once, never cut
}

TEST_F(CfgDocTest, ApplyRestoreAndDefaultWriteTheStores) {
    CTxt err;
    ProfileWriteStr("SYS", "Length", "25");
    ASSERT_EQ(Load(kDefinition, err), 0);
    doc.LoadItems();
    doc.SelectItem(Item("Length"));
    doc.ApplyItem();  // nothing entered: nothing written over the stored value
    EXPECT_EQ(Setting("Length"), "25");
    EXPECT_TRUE(presenter.Boxes.empty());

    ASSERT_EQ(doc.ChgData("45", err), 0);
    doc.ApplyItem();
    EXPECT_EQ(Setting("Length"), "45");
    ASSERT_EQ(presenter.Boxes.size(), 1u);
    EXPECT_EQ(presenter.Boxes[0].Text, "Updated Timer Parameter Length:\r\n25 -> 45");
    EXPECT_EQ(presenter.Boxes[0].Caption, "Kronalt");
    EXPECT_EQ(view.Labels.back(), "Length=45*");
    EXPECT_EQ(doc.CountUpdated(), 1);

    doc.RestoreItem();  // the value shown when the dialog opened
    EXPECT_EQ(Setting("Length"), "25");
    EXPECT_EQ(doc.CountUpdated(), 0);
    doc.DefaultItem();
    EXPECT_EQ(Setting("Length"), "60");
    EXPECT_EQ(presenter.Boxes.back().Text, "Updated Timer Parameter Length:\r\n25 -> 60");

    doc.SelectItem(Item("Who"));
    ASSERT_EQ(doc.ChgData("  you ", err), 0);
    doc.ApplyItem();
    std::string stored;
    RegGetGlobal("Who", stored, nullptr, "Kronalt");
    EXPECT_EQ(stored, "you");
    EXPECT_EQ(presenter.Boxes.back().Text, "Updated Store Parameter Who:\r\nme -> you");
    EXPECT_EQ(Setting("Who"), "<missing>");
}

TEST_F(CfgDocTest, StartItemAndDescriptionLines) {
    CTxt err;
    ASSERT_EQ(Load(kDefinition, err), 0);
    doc.LoadItems();
    EXPECT_EQ(Str(doc.PickStartItem()->Name), "Length");  // nothing remembered: the first
    std::string last;
    ProfileReadStr("CFGDLG", "LastItemName", "", last);
    EXPECT_EQ(last, "Length");
    ProfileWriteStr("CFGDLG", "LastItemName", "Gone");
    EXPECT_EQ(doc.PickStartItem(), nullptr);  // the root is selected instead
    ProfileReadStr("CFGDLG", "LastItemName", "", last);
    EXPECT_EQ(last, "Gone");
    doc.SelectItem(Item("Length"));
    EXPECT_EQ(Str(doc.ItemText), "Minutes of a countdown\n");

    const std::string longWord(100, 'x');
    const std::string words = std::string(78, 'a') + " b" + std::string(5, 'c') + "   next";
    std::vector<CfgDescLine> lines;
    CCfgDoc::SplitDescription(("first\r\n{Pic:Chart}\n{line}\n" + longWord + "\n" + words).c_str(), lines);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(Str(lines[0].Content), "first");
    EXPECT_EQ(lines[1].LineKind, CfgDescLine::Picture);
    EXPECT_EQ(Str(lines[1].Content), "Chart");
    EXPECT_EQ(lines[2].LineKind, CfgDescLine::Rule);
    EXPECT_EQ(Str(lines[3].Content), longWord);  // no blank: not wrapped
    EXPECT_EQ(Str(lines[4].Content), std::string(78, 'a') + " b" + std::string(5, 'c'));
    EXPECT_EQ(Str(lines[5].Content), "next");
    // A view that wraps to its own width asks for the lines as written.
    CCfgDoc::SplitDescription(words.c_str(), lines, 0);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(Str(lines[0].Content), words);
}

// A definition with one item of each kind the tests below enter values into.
const char* const kEditDefinition =
    "<r><SysDef><Title>t</Title><AppName>Kronalt</AppName></SysDef><CfgDef SectionName=\"SYS\"><G Name=\"Timer\">"
    "<P Name=\"Length\" Type=\"Int\" Dflt=\"60\"/><P Name=\"Ratio\" Type=\"Float/2\"/>"
    "<P Name=\"Steps\" Type=\"ParFlt\"/><P Name=\"Huge\" Type=\"ParInt\" Dflt=\"1e30&gt;2e30\"/>"
    "<P Name=\"Due\" Type=\"Date\"/><P Name=\"BarColor\" Type=\"Color\"/><P Name=\"BkColor\" Type=\"Color\"/>"
    "<P Name=\"Loud\" Type=\"Bool\"/><P Name=\"Source\" Type=\"ParSrc\" Dflt=\"High(2)\"/>"
    "<P Name=\"PW\" Type=\"Text/20/pwd\"/><P Name=\"Note\" Type=\"ParTxt\"/></G></CfgDef></r>";

TEST_F(CfgDocTest, ValueListsEndAndAreRefusedBeyondTheCap) {
    CTxt out;
    // Steps of 1 vanish in the rounding of 1e30: the list must end, refused.
    EXPECT_EQ(CCfgDoc::ExpandValueList("1e30>2e30", out), -2);
    EXPECT_EQ(Str(out), "Too many values in 1e30>2e30: a value list holds at most 10000");
    EXPECT_EQ(CCfgDoc::ExpandValueList("1>20000,50000", out), -2);  // refused, not cut to 1…10000
    EXPECT_EQ(CCfgDoc::ExpandValueList("1>10000", out), 10000);
    EXPECT_EQ(CCfgDoc::ExpandValueList("1>10000,0>0", out), -2);
    EXPECT_EQ(CCfgDoc::ExpandValueList("0>0.3/0.1,0.1", out), 4);  // binary fractions still reach the end
    EXPECT_EQ(Str(out), "0,0.1,0.2,0.3");
    EXPECT_EQ(CCfgDoc::ExpandValueList("1,1e300", out), -3);

    CTxt err;
    ASSERT_EQ(Load(kEditDefinition, err), 0);
    doc.LoadItems();  // the shipped default 1e30>2e30 loads and shows as written
    EXPECT_EQ(Str(Item("Huge")->ShownText), "1e30>2e30");
    doc.SelectItem(Item("Huge"));
    doc.DefaultItem();
    ASSERT_EQ(presenter.Boxes.size(), 1u);
    EXPECT_NE(presenter.Boxes[0].Text.find("at most 10000"), std::string::npos);
    EXPECT_EQ(Setting("Huge"), "<missing>");
}

TEST_F(CfgDocTest, BadEntriesAreRefusedAndTheStoredValueKept) {
    CTxt err;
    ProfileWriteStr("SYS", "Length", "25");
    ASSERT_EQ(Load(kEditDefinition, err), 0);
    doc.LoadItems();
    struct Case {
        const char *Item, *Entered;
        int Code;
        const char* Expected;
    };
    const Case cases[] = {
        {"Length", "abc", -3, "Expected a whole number"}, {"Length", "", -3, "Expected a whole number"},
        {"Length", "99999999999", -4, "to 2147483647"},  {"Ratio", "1e300", -4, "to 3.4e38"},
        {"Due", "2/30/2026", -3, "such as 12/31/2026"},   {"BarColor", "purple-ish", -3, "0xBBGGRR"},
        {"Steps", "10>1", -2, "such as 1,5,10>20/2"},    {"Steps", "1e30>2e30", -2, "at most 10000"},
    };
    for (const Case& c : cases) {
        doc.SelectItem(Item(c.Item));
        presenter.Boxes.clear();
        EXPECT_EQ(doc.ChgData(c.Entered, err), c.Code) << c.Entered;
        ASSERT_EQ(presenter.Boxes.size(), 1u) << c.Entered;
        EXPECT_NE(presenter.Boxes[0].Text.find(c.Expected), std::string::npos) << presenter.Boxes[0].Text;
        EXPECT_EQ(presenter.Boxes[0].Text.rfind(Str(err) + "\r\n", 0), 0u);
        doc.ApplyItem();  // nothing was taken, so nothing is written
    }
    EXPECT_EQ(Str(err), "Too many values in 1e30>2e30: a value list holds at most 10000");
    EXPECT_EQ(Setting("Length"), "25");
    EXPECT_EQ(doc.CountUpdated(), 0);
}

TEST_F(CfgDocTest, OnlyWrittenValuesAreCountedAndStarred) {
    CTxt err;
    ProfileWriteStr("SYS", "BarColor", "red");
    ProfileWriteStr("SYS", "BkColor", "0x91FFFF");
    ProfileWriteStr("SYS", "Loud", "on");
    ProfileWriteStr("SYS", "Source", "Low(3)");
    ASSERT_EQ(Load(kEditDefinition, err), 0);
    doc.LoadItems();
    EXPECT_EQ(Str(Item("BarColor")->ShownText), "255,0,0");  // every form the program reads
    CTxt label;
    doc.ItemLabel(*Item("BkColor"), label);
    EXPECT_EQ(Str(label), "BkColor=255,255,145");

    // Taken but not applied, or applied unchanged in another form: nothing written.
    doc.SelectItem(Item("BarColor"));
    ASSERT_EQ(doc.ChgData("7,7,7", err), 0);
    for (const auto& [name, same] : {std::pair{"BkColor", "0x91ffff"}, {"Loud", "True"}}) {
        doc.SelectItem(Item(name));
        ASSERT_EQ(doc.ChgData(same, err), 0);
        doc.ApplyItem();
    }
    EXPECT_EQ(doc.CountUpdated(), 0);
    EXPECT_TRUE(presenter.Boxes.empty() && view.Labels.empty());
    EXPECT_EQ(Setting("Loud"), "on");

    doc.SelectItem(Item("BkColor"));
    ASSERT_EQ(doc.ChgData("Yellow", err), 0);
    doc.ApplyItem();
    EXPECT_EQ(Setting("BkColor"), "255,255,0");
    EXPECT_EQ(view.Labels.back(), "BkColor=255,255,0*");
    EXPECT_EQ(doc.CountUpdated(), 1);
    // Restore puts back the very text the editor opened with; the star goes.
    doc.RestoreItem();
    EXPECT_EQ(Setting("BkColor"), "0x91FFFF");
    EXPECT_EQ(view.Labels.back(), "BkColor=255,255,145");
    EXPECT_EQ(view.ValueTexts.back(), "255,255,145");
    EXPECT_EQ(doc.CountUpdated(), 0);

    // After Default a drop-down list is told the choice stored.
    doc.SelectItem(Item("Source"));
    doc.DefaultItem();
    EXPECT_EQ(Setting("Source"), "2");
    EXPECT_EQ(view.ValueTexts.back(), "High(2)");

    // A stored colour nobody can read is shown as it is, never as black.
    ProfileWriteStr("SYS", "BarColor", "chartreuse");
    doc.LoadItems();
    EXPECT_EQ(Str(Item("BarColor")->ShownText), "chartreuse");
}

TEST_F(CfgDocTest, PasswordsMaskedLongValuesCutInWhatIsShown) {
    CTxt err;
    ProfileWriteStr("SYS", "PW", "hunter2");
    ASSERT_EQ(Load(kEditDefinition, err), 0);
    doc.LoadItems();
    CTxt label;
    doc.ItemLabel(*Item("PW"), label);
    EXPECT_EQ(Str(label), "PW=********");
    doc.SelectItem(Item("PW"));
    ASSERT_EQ(doc.ChgData("opensesame", err), 0);
    doc.ApplyItem();
    EXPECT_EQ(Setting("PW"), "opensesame");
    EXPECT_EQ(presenter.Boxes.back().Text, "Updated Timer Parameter PW:\r\n******** -> ********");
    EXPECT_EQ(view.Labels.back(), "PW=*********");

    doc.SelectItem(Item("Note"));
    const std::string longValue(20000, 'v');
    ASSERT_EQ(doc.ChgData(longValue.c_str(), err), 0);
    doc.ApplyItem();
    EXPECT_EQ(presenter.Boxes.back().Text, "Updated Timer Parameter Note:\r\n -> " + std::string(80, 'v') + "\xE2\x80\xA6");
    CTxt stored;
    doc.ReadStoredText(*doc.CurItem, stored);  // stored whole, read back whole
    EXPECT_EQ(Str(stored), longValue);
}

TEST_F(CfgDocTest, DefinitionFilesRefusedOrConverted) {
    CTxt err;
    ASSERT_EQ(mkfifo(dir.File("pipe.xml").c_str(), 0600), 0);
    EXPECT_EQ(doc.LoadSysDef(dir.File("pipe.xml").c_str(), err), -1);
    EXPECT_EQ(Str(err), "Cannot open '" + dir.File("pipe.xml") + "' (Not a regular file)");

    // The parser's own messages name the definition file.
    EXPECT_EQ(Load("<a><b></a>", err), -2);
    ASSERT_FALSE(presenter.Boxes.empty());
    EXPECT_NE(presenter.Boxes[0].Text.find("File " + dir.File("def.xml")), std::string::npos);

    // Title, names and descriptions in Windows-1252 or UTF-8 all come out as UTF-8.
    for (const char* e : {"\xE4", "\xC3\xA4"}) {
        ASSERT_EQ(Load(std::string("<r><SysDef><Title>P") + e + "1</Title></SysDef><CfgDef SectionName=\"S\">"
                       "<G Name=\"G\"><P Name=\"Length\">f" + e + "r</P><P Name=\"Tint\"/></G></CfgDef></r>",
                       err), 0);
        EXPECT_EQ(Str(doc.Title), "P\xC3\xA4" "1");
        doc.LoadItems();
        doc.SelectItem(Item("Length"));
        EXPECT_EQ(Str(doc.ItemText), "f\xC3\xA4r\n");
        dir.Write("Tint.txt", std::string("caf") + e);  // a description file beside it
        doc.SelectItem(Item("Tint"));
        EXPECT_EQ(Str(doc.ItemText), "caf\xC3\xA4\n");
    }

    // A caption of blanks gives way to the program's name, else the file's.
    ASSERT_EQ(Load("<r><SysDef><Title> </Title><AppName>Kronalt</AppName></SysDef><CfgDef SectionName=\"S\"/></r>",
                   err), 0);
    EXPECT_EQ(Str(doc.Title), "Kronalt");
    CCfgDoc fresh;
    dir.Write("untitled.xml", "<r><SysDef><Title/></SysDef><CfgDef SectionName=\"S\"/></r>");
    ASSERT_EQ(fresh.LoadSysDef(dir.File("untitled.xml").c_str(), err), 0);
    EXPECT_EQ(Str(fresh.Title), "untitled.xml");
}

TEST_F(CfgDocTest, ItemFilesStayInsideTheBaseFolder) {
    CTxt err;
    ASSERT_EQ(Load("<r><SysDef><Title>t</Title></SysDef><CfgDef SectionName=\"S\"><G Name=\"g\">"
                   "<P Name=\"../../outside/evil\"/><P Name=\"Chart\"/></G></CfgDef></r>",
                   err), 0);
    EXPECT_EQ(Str(doc.BaseDir), dir.Path());  // no folder named: the definition's own
    doc.LoadItems();
    CTxt file;
    doc.SelectItem(Item("../../outside/evil"));
    EXPECT_EQ(doc.GetItemFile(nullptr, file, 1), -1);
    doc.SelectItem(Item("Chart"));
    EXPECT_EQ(doc.GetItemFile("/../x", file, 2), -1);
    ASSERT_EQ(mkfifo(dir.File("ChartA.jpeg").c_str(), 0600), 0);  // skipped: a pipe, not a picture
    dir.Write("ChartA.gif", "GIF89a");
    EXPECT_GT(doc.GetItemFile("A", file, 2), 0);
    EXPECT_EQ(Str(file), dir.File("ChartA.gif"));
}

// Settings that differ from their default, and all of them set back at once.
TEST_F(CfgDocTest, WhatDiffersFromTheDefaultAndDefaultsForAll) {
    const char* const definition =
        "<r><SysDef><Title>t</Title><AppName>Kronalt</AppName></SysDef><CfgDef SectionName=\"SYS\"><G Name=\"T\">"
        "<P Name=\"Length\" Type=\"Int\" Dflt=\"60\"/><P Name=\"Loud\" Type=\"Bool\" Dflt=\"YES\"/>"
        "<P Name=\"Tint\" Type=\"Color\" Dflt=\"255,0,0\"/><P Name=\"Steps\" Type=\"ParInt\" Dflt=\"1>3\"/>"
        "<P Name=\"Bad\" Type=\"Int\" Dflt=\"none\"/><P Name=\"PW\" Type=\"Text/20/pwd\" Dflt=\"s3cret\"/>"
        "</G></CfgDef></r>";
    // The same values in other forms are not differences.
    ProfileWriteStr("SYS", "Length", "060");
    ProfileWriteStr("SYS", "Loud", "on");
    ProfileWriteStr("SYS", "Tint", "red");
    ProfileWriteStr("SYS", "Steps", "3,2,1");
    ProfileWriteStr("SYS", "Bad", "7");
    ProfileWriteStr("SYS", "PW", "hunter2");
    CTxt err;
    ASSERT_EQ(Load(definition, err), 0);
    doc.LoadItems();
    for (const char* same : {"Length", "Loud", "Tint", "Steps"}) EXPECT_EQ(Item(same)->Modified, 0) << same;
    EXPECT_EQ(Item("Bad")->Modified, 1);
    EXPECT_EQ(Item("PW")->Modified, 1);

    doc.SelectItem(Item("Length"));
    ASSERT_EQ(doc.ChgData("45", err), 0);
    doc.ApplyItem();
    EXPECT_EQ(Item("Length")->Modified, 1);
    EXPECT_EQ(doc.CountModified(), 3);

    presenter.Boxes.clear();
    presenter.Answer = IDNO;
    EXPECT_EQ(doc.DefaultAll(err), 0);
    ASSERT_EQ(presenter.Boxes.size(), 1u);
    EXPECT_EQ(presenter.Boxes[0].Text, "Set all 3 settings that differ from their default back to it?");
    EXPECT_EQ(Setting("Length"), "45");

    presenter.Boxes.clear();
    presenter.Answer = IDYES;
    view.Labels.clear();
    EXPECT_EQ(doc.DefaultAll(err), 2);
    EXPECT_EQ(Setting("Length"), "060");  // as Default does: the text it opened with, which is the default
    EXPECT_EQ(Setting("PW"), "s3cret");
    EXPECT_EQ(Setting("Bad"), "7");  // a default the type refuses is no value to set
    // The question and one summary, nothing per item; the secret shows nowhere.
    ASSERT_EQ(presenter.Boxes.size(), 2u);
    EXPECT_EQ(presenter.Boxes[1].Text,
              "Set 2 settings back to their default:\r\nT Parameter Length: 45 -> 060\r\n"
              "T Parameter PW: ******** -> ********\r\n\r\n"
              "Left as they are, since their default is not a value of their type: T Parameter Bad");
    EXPECT_EQ(Str(err), presenter.Boxes[1].Text);
    EXPECT_EQ(view.Labels, (std::vector<std::string>{"Length=60", "PW=*********"}));
    EXPECT_EQ(doc.CurItem, Item("Length"));
    EXPECT_EQ(doc.CountModified(), 1);
    EXPECT_EQ(doc.CountUpdated(), 1);  // PW; Length is back to what it was at opening

    // Nothing left that can be set back: no question, one word.
    doc.SelectItem(Item("Bad"));
    ASSERT_EQ(doc.ChgData("0", err), 0);
    doc.ApplyItem();  // "none" reads as 0 too
    EXPECT_EQ(Item("Bad")->Modified, 0);
    presenter.Boxes.clear();
    EXPECT_EQ(doc.DefaultAll(err), 0);
    ASSERT_EQ(presenter.Boxes.size(), 1u);
    EXPECT_EQ(presenter.Boxes[0].Text, "Every setting has its default value.");
}

}  // namespace
