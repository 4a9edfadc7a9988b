#include "Core/Config/CCfgDoc.h"

#include <gtest/gtest.h>

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
        {"Txt/8/Lower", 4, 8, 2, 0x50034010}, {"password", 0, 10, 2, 0x50030020}, {"Flaot", 0, 10, 2, 0x50030000},
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
}

}  // namespace
