#include "Core/Graph/CEditMask.h"

#include <gtest/gtest.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/dialog.h>
#include <wx/sizer.h>
#include <wx/uiaction.h>

#include <string>

#include "Core/Platform/Locale.h"
#include "Core/Platform/UserInterface.h"
#include "tests/gui/GuiTestSupport.h"

namespace {

using zam::testing::Pump;

class BeepCounter : public zam::platform::MessageBoxPresenter {
public:
    BeepCounter() { zam::platform::SetMessageBoxPresenter(this); }
    ~BeepCounter() override { zam::platform::SetMessageBoxPresenter(nullptr); }
    int Show(const char*, const char*, UINT) override { return IDOK; }
    void Beep(UINT) override { ++Beeps; }
    int Beeps = 0;
};

// A dialog with the masked field and a plain one after it, typed into with
// real key presses through the X server.
class EditMaskWindowTest : public ::testing::Test {
protected:
    void Open(const char* mask) {
        dialog = new wxDialog(nullptr, wxID_ANY, "Mask");
        field = new CEditMask(mask);
        field->Create(0, wxRect(0, 0, 200, -1), dialog, 1001);
        other = new wxTextCtrl(dialog, 1002);
        auto* sizer = new wxBoxSizer(wxVERTICAL);
        sizer->Add(field, 0, wxALL, 5);
        sizer->Add(other, 0, wxALL, 5);
        dialog->SetSizerAndFit(sizer);
        field->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { ++textEvents; });
        dialog->Show();
        dialog->Raise();
        Pump();
        sim.MouseMove(field->GetScreenRect().GetPosition() + wxPoint(5, 5));
        field->SetFocus();
        Pump();
    }
    void TearDown() override {
        if (dialog != nullptr) dialog->Destroy();
        Pump();
    }
    void Type(const char* text) {
        sim.Text(text);
        Pump();
    }
    void Key(int key, int modifiers = wxMOD_NONE) {
        sim.Char(key, modifiers);
        Pump();
    }
    void Caret(long at) {
        field->SetSelection(at, at);
        Pump();
    }
    static std::string Date(const char* d, const char* m, const char* y) {
        const char separator = zam::platform::GetLocaleSeparators().Date;
        return std::string(d) + separator + m + separator + y;
    }

    wxUIActionSimulator sim;
    BeepCounter beeps;
    wxDialog* dialog = nullptr;
    CEditMask* field = nullptr;
    wxTextCtrl* other = nullptr;
    int textEvents = 0;
};

TEST_F(EditMaskWindowTest, TypingADateShowsTheLocaleSeparator) {
    Open("00/00/0000");
    ASSERT_TRUE(field->HasFocus());
    Type("12082015");
    EXPECT_EQ(field->GetValue().ToStdString(), Date("12", "08", "2015"));
    EXPECT_EQ(field->GetInputData(), "12082015");
    EXPECT_GT(textEvents, 0);

    // A letter where a digit belongs rings and changes nothing.
    Caret(3);
    Type("a");
    EXPECT_EQ(beeps.Beeps, 1);
    EXPECT_EQ(field->GetInputData(), "12082015");
}

TEST_F(EditMaskWindowTest, InsertOverwriteAndBackspace) {
    Open("00/00");
    field->SetInputData("1234");
    Caret(0);
    Type("5");
    EXPECT_EQ(field->GetInputData(), "5123");
    Key(WXK_INSERT);
    EXPECT_EQ(field->GetInsertMode(), 0);
    Caret(0);
    Type("6");
    EXPECT_EQ(field->GetInputData(), "6123");

    // Right after the literal: the digit before it goes.
    Caret(3);
    Key(WXK_BACK);
    EXPECT_EQ(field->GetInputData(), "623 ");
    long from = 0, to = 0;
    field->GetSelection(&from, &to);
    EXPECT_EQ(from, 1);
}

TEST_F(EditMaskWindowTest, PasteTakesWhatFits) {
    Open("00/00/0000");
    const struct {
        const char* clip;
        const char* input;
        long caret;
    } cases[] = {{"12/08/2015", "12082015", 10}, {"ab12", "12      ", 3}};
    for (const auto& c : cases) {
        field->EmptyData(1);
        ASSERT_TRUE(wxTheClipboard->Open());
        wxTheClipboard->SetData(new wxTextDataObject(c.clip));
        wxTheClipboard->Close();
        Caret(0);
        Key('V', wxMOD_CONTROL);
        EXPECT_EQ(field->GetInputData(), c.input) << c.clip;
        EXPECT_EQ(field->GetInsertionPoint(), c.caret) << c.clip;
    }
}

TEST_F(EditMaskWindowTest, AutoTabMovesToTheNextControl) {
    Open("00");
    field->SetAutoTab(1);
    Type("12");
    EXPECT_EQ(wxWindow::FindFocus(), other);
    EXPECT_EQ(field->GetInputData(), "12");
}

TEST_F(EditMaskWindowTest, TextFromOutsideStoresInputWithoutTextEvent) {
    Open("00/00/0000");
    int updates = 0;
    dialog->Bind(wxEVT_EDITMASK_UPDATE, [&](wxCommandEvent& e) {
        EXPECT_EQ(e.GetId(), 1001);
        ++updates;
    });
    textEvents = 0;
    field->SetValue(Date("24", "12", "1999"));
    EXPECT_EQ(field->GetInputData(), "24121999");
    EXPECT_EQ(field->GetValue().ToStdString(), Date("24", "12", "1999"));
    EXPECT_EQ(textEvents, 0);
    EXPECT_EQ(updates, 1);
}

}  // namespace
