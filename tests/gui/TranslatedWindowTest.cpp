// The program in another language: the captions come from the catalogs the
// build compiled, and the windows make room for them.

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/msgdlg.h>
#include <wx/generic/msgdlgg.h>
#include <wx/menu.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/timer.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Core/Graph/CDlgCfg.h"
#include "Core/Graph/WxTranslator.h"
#include "Core/Graph/WxUserInterface.h"
#include "app/CDlgTimer.h"
#include "app/CProgressBar.h"
#include "app/Resource.h"
#include "tests/Support/ScopedEnv.h"
#include "tests/gui/GuiTestSupport.h"
#include "tests/gui/TimerWindowFixture.h"

namespace {

using zam::testing::ScopedEnv;

std::string Utf8(const wxString& text) { return text.utf8_string(); }

class TranslatedWindowTest : public zam::testing::TimerWindowFixture {
protected:
    void TearDown() override {
        CloseWindow();
        zam::graph::RemoveWxTranslations();
    }
    void Use(const char* language) {
        m_Language.Set(language);
        EXPECT_EQ(Utf8(zam::graph::InstallWxTranslations(KRONALT_LOCALE_DIR, "kronalt")), language);
    }
    std::string Label(int id) { return Utf8(window->FindWindow(id)->GetLabel()); }

    // Whatever the test machine's own locale says.
    ScopedEnv m_Language{"LANGUAGE", nullptr}, m_All{"LC_ALL", nullptr}, m_Messages{"LC_MESSAGES", nullptr},
        m_Lang{"LANG", nullptr};
};

bool ShowsText(wxWindow* control) {
    if (wxDynamicCast(control, wxButton) != nullptr) return true;
    return wxDynamicCast(control, wxStaticText) != nullptr && !control->HasFlag(wxST_NO_AUTORESIZE);
}

int TextWidth(wxWindow* control) {
    return control->GetTextExtent(wxControl::RemoveMnemonics(control->GetLabel())).GetWidth();
}

// The room each caption and label of the row has beside its text.
std::vector<int> Rooms(wxWindow* panel) {
    std::vector<int> rooms;
    for (wxWindow* control : panel->GetChildren()) {
        if (ShowsText(control)) rooms.push_back(control->GetSize().GetWidth() - TextWidth(control));
    }
    return rooms;
}

// Every caption and label has the room beside its text that its English one
// has, or all the room it asks for: nothing is cut that English shows whole.
void ExpectRowFits(wxWindow* panel, const std::vector<int>& english) {
    const std::vector<int> rooms = Rooms(panel);
    ASSERT_EQ(rooms.size(), english.size());
    size_t i = 0;
    for (wxWindow* control : panel->GetChildren()) {
        if (!ShowsText(control)) continue;
        const int asked = control->GetBestSize().GetWidth() - TextWidth(control);
        EXPECT_GE(rooms[i], std::min(english[i], asked)) << Utf8(control->GetLabel());
        ++i;
    }
    EXPECT_LE(panel->GetMinSize().GetWidth(), panel->GetParent()->GetClientSize().GetWidth());
}

TEST_F(TranslatedWindowTest, TheWindowShowsItsCaptionsInTheLanguageAndFitsThem) {
    struct Case {
        const char* language;
        const char* exit;
        const char* file;
        const char* paused;
    };
    // The English window first, as designed: its texts and their room.
    OpenWindow();
    window->OnTick();
    EXPECT_EQ(Label(IDC_EXIT), "E&xit");
    EXPECT_EQ(Label(IDC_STATUS), "Paused ");
    const wxSize englishSize = window->GetClientSize();
    const std::vector<int> english = Rooms(window->FindWindow(IDC_EXIT)->GetParent());
    CloseWindow();
    for (const Case& c : {Case{"de", "&Beenden", "&Datei", "Angehalten "}, Case{"fr", "&Quitter", "&Fichier", "En pause "}}) {
        Use(c.language);
        OpenWindow();
        window->OnTick();
        EXPECT_EQ(Label(IDC_EXIT), c.exit);
        EXPECT_EQ(Utf8(window->GetMenuBar()->GetMenuLabel(0)), c.file);
        EXPECT_EQ(Label(IDC_STATUS), c.paused);
        ExpectRowFits(window->FindWindow(IDC_EXIT)->GetParent(), english);
        EXPECT_EQ(window->GetClientSize().GetHeight(), englishSize.GetHeight());
        EXPECT_GE(window->GetClientSize().GetWidth(), englishSize.GetWidth());
        CloseWindow();
    }
}

TEST_F(TranslatedWindowTest, TheConfigurationEditorInGermanFitsItsButtons) {
    Use("de");
    OpenWindow();
    zam::testing::AnsweringPresenter presenter(IDOK);
    bool seen = false;
    wxTheApp->CallAfter([&seen] {
        for (wxWindow* top : wxTopLevelWindows) {
            auto* editor = wxDynamicCast(top, CDlgCfg);
            if (editor == nullptr || !editor->IsModal()) continue;
            seen = true;
            editor->EndModal(wxID_CANCEL);  // when the checks are over: an assertion ends them early
            ASSERT_NE(editor->ApplyBtn, nullptr);
            EXPECT_EQ(Utf8(editor->FindWindow(CDlgCfg::IdClose)->GetLabel()), "&Schließen");
            EXPECT_EQ(Utf8(editor->ApplyBtn->GetLabel()), "(Ü&bernehmen)");
            EXPECT_EQ(Utf8(editor->DefaultBtn->GetLabel()).rfind("Stan&dard", 0), 0u);
            for (wxButton* button : {editor->ApplyBtn, editor->RestoreBtn, editor->DefaultBtn}) {
                EXPECT_LE(button->GetBestSize().GetWidth(), button->GetSize().GetWidth()) << Utf8(button->GetLabel());
            }
        }
    });
    window->OnConfig();
    EXPECT_TRUE(seen);
}

TEST_F(TranslatedWindowTest, TheExitQuestionInGermanAnswersToJ) {
    Use("de");
    OpenWindow();
    zam::graph::InstallWxUserInterface();  // the program's own box, answered by a key
    std::string asked;
    wxTimer typist;
    typist.Bind(wxEVT_TIMER, [&typist, &asked](wxTimerEvent&) {
        for (wxWindow* top : wxTopLevelWindows) {
            auto* box = wxDynamicCast(top, wxGenericMessageDialog);
            if (box == nullptr || !box->IsModal()) continue;
            typist.Stop();
            asked = Utf8(box->GetMessage());
            wxKeyEvent press(wxEVT_CHAR_HOOK);
            press.m_keyCode = 'J';
            press.SetEventObject(box);
            box->ProcessWindowEvent(press);
            return;
        }
    });
    typist.Start(50);
    EXPECT_TRUE(window->ConfirmExit());
    EXPECT_EQ(asked, "Wirklich beenden?");
    zam::platform::SetMessageBoxPresenter(nullptr);
}

}  // namespace
