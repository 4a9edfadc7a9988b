#include "Core/Graph/CEditMaskText.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Core/Platform/Locale.h"
#include "Core/Platform/UserInterface.h"
#include "Core/System/Log.h"
#include "tests/Support/TempDir.h"

namespace {

// The in-memory field, with the protected steps opened up and the parent's
// notifications, focus moves and beeps recorded.
class MaskField : public CEditMaskText, public zam::platform::MessageBoxPresenter {
public:
    explicit MaskField(const char* mask) : CEditMaskText(mask) { zam::platform::SetMessageBoxPresenter(this); }
    ~MaskField() override { zam::platform::SetMessageBoxPresenter(nullptr); }
    using CEditMaskText::DeleteRange;
    using CEditMaskText::GetPreviousInputLocation;
    using CEditMaskText::InsertAt;
    using CEditMaskText::IsInputData;
    using CEditMaskText::SetAt;

    void Type(const char* keys) {
        for (const char* p = keys; *p != '\0'; ++p) HandleChar(static_cast<unsigned char>(*p));
    }
    void Select(int start, int end = -1) { SetFieldSel(start, end < 0 ? start : end); }
    std::string Field() const {
        std::string text;
        GetFieldText(text);
        return text;
    }
    int Caret() const {
        int start = 0, end = 0;
        GetFieldSel(start, end);
        return start;
    }

    void NotifyParent(int code) override { Codes.push_back(code); }
    bool FocusNextControl() override { return ++Tabs > 0; }
    int Show(const char*, const char*, UINT) override { return IDOK; }
    void Beep(UINT) override { ++Beeps; }

    std::vector<int> Codes;
    int Tabs = 0;
    int Beeps = 0;
};

// A date separator unlike the mask's, so a test sees where the locale's is used.
class EditMaskTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        zam::platform::LocaleSeparators separators;
        separators.Date = '.';
        separators.Time = 'h';
        zam::platform::SetLocaleSeparatorsOverride(&separators);
    }
    void TearDown() override { zam::platform::SetLocaleSeparatorsOverride(nullptr); }
};

TEST_F(EditMaskTextTest, MaskPositionsEscapesAndRebuild) {
    MaskField date("00/00/0000");
    EXPECT_EQ(date.ShowMask(), "  .  .    ");

    MaskField escaped("\\0:\\\\C");
    EXPECT_EQ(escaped.GetPositionCount(), 4);
    EXPECT_EQ(escaped.ShowMask(), "0h\\ ");
    EXPECT_EQ(escaped.GetMask(), "\\0:\\\\C");
    EXPECT_EQ(CEditMaskText::GetNumFixedChar("\\0:\\\\C"), 2);

    // A trailing backslash is one empty literal, shown blank so the display
    // keeps a character per position.
    MaskField trailing("00\\");
    EXPECT_EQ(trailing.GetPositionCount(), 3);
    EXPECT_EQ(trailing.ShowMask(), "   ");
    EXPECT_EQ(trailing.GetMask(), "00\\");
    EXPECT_EQ(CEditMaskText::GetNumFixedChar("00\\"), 0);

    // 'c' is a literal and 'C' takes input: the masks differ in more than case.
    MaskField kinds("cc");
    kinds.SetMask("CC");
    EXPECT_EQ(kinds.GetMaskData(0)->m_Kind, CMaskData::KindPrintable);
}

TEST_F(EditMaskTextTest, PositionsAndIndexes) {
    MaskField field("00/00");
    EXPECT_EQ(field.RPtoLP(2), -1);
    EXPECT_EQ(field.RPtoLP(3), 2);
    EXPECT_EQ(field.LPtoRP(2), 3);
    EXPECT_EQ(field.LPtoRP(4), -1);
    EXPECT_EQ(field.IsInputData(-1), 0);
    EXPECT_EQ(field.IsInputData(2), 0);
    EXPECT_EQ(field.GetPreviousInputLocation(2), 2);
    EXPECT_EQ(field.GetPreviousInputLocation(9), 5);
}

TEST_F(EditMaskTextTest, InputDataFromFormattedText) {
    MaskField date("00/00/0000");
    EXPECT_EQ(date.GetInputData("12.08.2015"), "12082015");
    EXPECT_EQ(date.GetInputData("12/08/2015"), "12/08/2015");  // not this locale's separator
    EXPECT_EQ(date.GetInputData("1208.2015"), "1208.2015");    // the run is not at its place
    MaskField weight("(00) kg");
    EXPECT_EQ(weight.GetInputData("(12) kg"), "12) kg");  // a trailing run stays
}

TEST_F(EditMaskTextTest, SetInputDataRawStartAndSkips) {
    MaskField field("0000");
    field.SetPromptSymbol('_');
    EXPECT_EQ(field.SetInputData("1_2", 0, 0), 1);
    EXPECT_EQ(field.GetInputData(), "12__");
    EXPECT_EQ(field.SetInputData("1_2", 0, 1), 1);
    EXPECT_EQ(field.GetInputData(), "1_2_");
    EXPECT_EQ(field.SetInputData("9x8", 1, 0), 0);
    EXPECT_EQ(field.GetInputData(), "198_");
    EXPECT_EQ(field.SetInputData("123456"), 1);  // the surplus is no skip
    EXPECT_EQ(field.GetInputData(), "1234");
    MaskField cased(">>><<<");
    cased.Type("abcDEF");
    EXPECT_EQ(cased.GetInputData(), "ABCdef");
}

TEST_F(EditMaskTextTest, PromptSymbolChanges) {
    MaskField field("000");
    field.SetInputData("7");
    for (char refused : {'\0', '\n', '\r', '\x7f'}) {
        field.SetPromptSymbol(refused);
        EXPECT_EQ(field.GetPromptSymbol(), ' ');
    }
    field.SetPromptSymbol('*');
    EXPECT_EQ(field.Field(), "7**");
    field.EmptyData(1);
    EXPECT_EQ(field.Field(), "***");
    EXPECT_EQ(field.IsInputEmpty(), 1);
    field.EmptyData(0);
    EXPECT_EQ(field.GetPositionCount(), 0);
    EXPECT_EQ(field.Field(), "");
}

TEST_F(EditMaskTextTest, RefusalsChangeNothing) {
    MaskField field("0000");
    field.SetInputData("5234");
    field.HandleKeyDown(CEditMaskText::KeyInsert, false);
    field.Select(1);
    field.Codes.clear();
    field.Type("x");
    EXPECT_EQ(field.Beeps, 1);
    EXPECT_EQ(field.GetInputData(), "5234");
    EXPECT_TRUE(field.Codes.empty());

    // Inserting would push the letter into a digit's place: refused whole.
    MaskField mixed("0?");
    mixed.SetInputData("1a");
    EXPECT_EQ(mixed.InsertAt(0, '2'), -1);
    EXPECT_EQ(mixed.GetInputData(), "1a");
    EXPECT_EQ(mixed.SetAt(1, '3'), -1);
}

TEST_F(EditMaskTextTest, DeleteAndBackspaceOverLiterals) {
    MaskField field("00/00");
    field.SetInputData("1234");
    field.Select(2);
    field.HandleKeyDown(CEditMaskText::KeyDelete, false);
    EXPECT_EQ(field.GetInputData(), "1234");

    field.Select(3);
    field.HandleChar(CEditMaskText::KeyBack);
    EXPECT_EQ(field.GetInputData(), "134 ");
    EXPECT_EQ(field.Caret(), 1);

    // Selections holding only literals slide until they cover input.
    MaskField dashes("0--00");
    dashes.SetInputData("123");
    dashes.Select(1, 2);
    dashes.HandleKeyDown(CEditMaskText::KeyDelete, false);
    EXPECT_EQ(dashes.GetInputData(), "13 ");
    dashes.SetInputData("123");
    dashes.Select(2, 3);
    dashes.HandleChar(CEditMaskText::KeyBack);
    EXPECT_EQ(dashes.GetInputData(), "23 ");
    EXPECT_EQ(dashes.Caret(), 0);

    MaskField tail("00--");
    tail.SetInputData("12");
    tail.Select(2, 3);
    tail.HandleKeyDown(CEditMaskText::KeyDelete, false);
    EXPECT_EQ(tail.GetInputData(), "12");
}

TEST_F(EditMaskTextTest, DeleteIsLogged) {
    zam::testing::TempDir dir;
    const std::string path = dir.Path() + "/mask.log";
    LogResetForTests();
    ASSERT_EQ(LogLine("*OPENLOG", path.c_str(), 1), 1);
    MaskField field("00");
    field.Select(0, 1);
    field.HandleKeyDown(CEditMaskText::KeyDelete, false);
    LogLine("*CLOSE", "", 0);
    std::ifstream in(path);
    const std::string log((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(log.find("   0,  1  Before, Count=2"), std::string::npos) << log;
    LogResetForTests();
}

TEST_F(EditMaskTextTest, CaretKeysSkipLiterals) {
    MaskField field("00/00");
    field.Select(1);
    field.HandleKeyDown(CEditMaskText::KeyRight, false);
    EXPECT_EQ(field.Caret(), 3);
    field.HandleKeyDown(CEditMaskText::KeyLeft, false);
    EXPECT_EQ(field.Caret(), 2);
    EXPECT_EQ(field.HandleKeyDown(CEditMaskText::KeyRight, true), 0);
    field.SetAutoTab(1);
    field.Select(4);
    field.HandleKeyDown(CEditMaskText::KeyRight, false);
    EXPECT_EQ(field.Tabs, 1);
}

TEST_F(EditMaskTextTest, TextFromOutsidePasteAndCut) {
    MaskField field("00/00/0000");
    field.SetFieldText("12.08.2015");
    EXPECT_EQ(field.GetInputData(), "12082015");
    EXPECT_EQ(field.Codes, std::vector<int>({EN_UPDATE}));  // no EN_CHANGE
    field.Codes.clear();
    field.Select(9);
    field.Type("7");
    EXPECT_EQ(field.Codes, std::vector<int>({EN_UPDATE, EN_CHANGE}));

    field.Select(0);
    field.HandlePaste("31/12/1999");  // the slashes are no input here
    EXPECT_EQ(field.GetInputData(), "31121999");

    field.Select(1, 4);
    field.HandleCut();
    EXPECT_EQ(field.GetInputData(), "321999  ");
    EXPECT_EQ(field.Caret(), 1);
}

TEST_F(EditMaskTextTest, FocusLossAndClickOnEmptyInput) {
    struct Refusing : MaskField {
        using MaskField::MaskField;
        int OnValidate() override { return 0; }
        void TakeFocus() override { ++Taken; }
        int Taken = 0;
    } field("--00");
    field.Select(4);
    field.HandleKillFocus();
    EXPECT_EQ(field.Taken, 1);
    EXPECT_EQ(field.Beeps, 1);
    EXPECT_EQ(field.Caret(), 2);
    EXPECT_EQ(field.HandleLButtonDown(false), 1);
    EXPECT_EQ(field.Taken, 2);
    field.SetInputData("1");
    EXPECT_EQ(field.HandleLButtonDown(false), 0);
}

TEST_F(EditMaskTextTest, WithoutMaskThePlainField) {
    MaskField plain(nullptr);
    EXPECT_EQ(plain.HandleChar('a'), 0);
    EXPECT_EQ(plain.SetInputData("hello"), 1);  // a plain field takes the text as it is
    EXPECT_EQ(plain.GetInputData(), "hello");
    plain.DeleteContents();
    EXPECT_EQ(plain.IsInputEmpty(), 1);
}

}  // namespace
