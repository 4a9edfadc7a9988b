// The time from File > Configuration and Preferences to the configuration
// editor's first paint, on the shipped Kronalt.xml: the command runs, and the
// first paint of any window of the editor ends the measurement and closes
// it. Needs a display (xvfb-run). Prints the median and range of 20 opens.
//
// Then the filter on a generated definition of 30,000 parameters: each
// keystroke, from the field's new text to the tree drawn again, against a
// plain peer in the same run, a bare wxTreeCtrl refilled with what a
// std::string search of the same texts finds.

#include <unistd.h>
#include <wx/app.h>
#include <wx/eventfilter.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/textctrl.h>
#include <wx/treectrl.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "Core/Graph/CDataTreeCtrl.h"
#include "Core/Graph/CDlgCfg.h"
#include "Core/Graph/WxUserInterface.h"
#include "app/CDlgTimer.h"
#include "bench/GeneratedDefinition.h"

namespace {

using Clock = std::chrono::steady_clock;

// The first paint can come while the dialog is being shown, before its modal
// loop runs; the close waits for the loop.
void CloseWhenModal(CDlgCfg* editor) {
    if (editor->IsModal()) {
        editor->CloseWithCount();
        return;
    }
    editor->CallAfter([editor] { CloseWhenModal(editor); });
}

class FirstPaint : public wxEventFilter {
public:
    int FilterEvent(wxEvent& event) override {
        if (!m_Waiting || event.GetEventType() != wxEVT_PAINT) return Event_Skip;
        auto* window = wxDynamicCast(event.GetEventObject(), wxWindow);
        auto* editor = window != nullptr ? wxDynamicCast(wxGetTopLevelParent(window), CDlgCfg) : nullptr;
        if (editor == nullptr) return Event_Skip;
        m_Waiting = false;
        Painted = Clock::now();
        editor->CallAfter([editor] { CloseWhenModal(editor); });
        return Event_Skip;
    }
    void Arm() { m_Waiting = true; }
    Clock::time_point Painted;

private:
    bool m_Waiting = false;
};

const int kFilterParameters = 30000;

std::string FilterDefinition() {
    return GeneratedDefinition(kFilterParameters, "SectionName=\"BENCH\" TreeWidth=\"40\"", false);
}

// Every prefix of each word, as typed; the empty text last brings all back.
std::vector<std::string> Keystrokes() {
    std::vector<std::string> out;
    for (const char* word : {"Param2917", "WRAPPED", "example value", "no such setting"}) {
        for (size_t n = 1; n <= std::strlen(word); ++n) out.emplace_back(word, n);
    }
    out.emplace_back();
    return out;
}

double Millis(Clock::time_point from) {
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

void Report(const char* what, std::vector<double> millis) {
    std::sort(millis.begin(), millis.end());
    std::printf("%s: median %.1f ms, slowest %.1f ms over %zu keystrokes\n", what, millis[millis.size() / 2],
                millis.back(), millis.size());
}

// The peer: a tree of the toolkit refilled from a plain search.
std::vector<double> PeerKeystrokes(const std::vector<std::string>& labels, const std::vector<std::string>& texts) {
    auto* frame = new wxFrame(nullptr, wxID_ANY, "peer", wxDefaultPosition, wxSize(800, 700));
    auto* tree = new wxTreeCtrl(frame, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                                wxTR_DEFAULT_STYLE | wxTR_HIDE_ROOT | wxTR_SINGLE);
    frame->Show();
    wxTheApp->Yield(true);
    std::vector<double> millis;
    for (const std::string& key : Keystrokes()) {
        const Clock::time_point start = Clock::now();
        std::string needle = key;
        std::transform(needle.begin(), needle.end(), needle.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        tree->Freeze();
        tree->DeleteAllItems();
        const wxTreeItemId root = tree->AddRoot("");
        const wxTreeItemId top = tree->AppendItem(root, "BENCH");
        wxTreeItemId group;
        size_t groupIndex = static_cast<size_t>(-1);
        for (size_t i = 0; i < texts.size(); ++i) {
            if (!needle.empty() && texts[i].find(needle) == std::string::npos) continue;
            if (i / 50 != groupIndex) {
                groupIndex = i / 50;
                group = tree->AppendItem(top, wxString::Format("Group %zu", groupIndex));
            }
            tree->AppendItem(group, wxString::FromUTF8(labels[i].c_str()));
        }
        wxTreeItemIdValue cookie;
        tree->Expand(top);
        for (wxTreeItemId g = tree->GetFirstChild(top, cookie); g.IsOk(); g = tree->GetNextChild(top, cookie))
            tree->Expand(g);
        tree->Thaw();
        tree->Update();
        millis.push_back(Millis(start));
    }
    frame->Destroy();
    return millis;
}

void FilterBench() {
    char path[] = "/tmp/kronalt-filterbench-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) return;
    close(fd);
    std::ofstream(path) << FilterDefinition();

    std::vector<double> ours;
    double first = 0;
    std::vector<std::string> labels, texts;
    CDlgCfg holder;
    CTxt err;
    if (holder.LoadSysDef(path, err) != 0) {
        std::printf("filter: %s\n", static_cast<const char*>(err));
        return;
    }
    const Clock::time_point opening = Clock::now();
    double opened = 0;
    wxTheApp->CallAfter([&] {
        CDlgCfg* editor = nullptr;
        for (wxWindow* top : wxTopLevelWindows)
            if (auto* found = wxDynamicCast(top, CDlgCfg); found != nullptr && found->IsModal()) editor = found;
        if (editor == nullptr) return;
        opened = Millis(opening);
        bool firstKey = true;
        for (const std::string& key : Keystrokes()) {
            const Clock::time_point start = Clock::now();
            editor->FilterEdit->SetValue(wxString::FromUTF8(key.c_str()));  // as typed: the text event
            editor->Tree->Update();
            (firstKey ? first : ours.emplace_back()) = Millis(start);
            firstKey = false;
        }
        for (const auto& item : editor->Doc.Items) {
            CTxt label, value, description;
            editor->Doc.ItemLabel(*item, label);
            editor->Doc.LabelValue(*item, value);
            editor->Doc.ItemDescription(*item, description);
            labels.emplace_back(static_cast<const char*>(label));
            std::string text = std::string(item->Name) + "\n" + static_cast<const char*>(value) + "\n" +
                               static_cast<const char*>(description);
            std::transform(text.begin(), text.end(), text.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            texts.push_back(std::move(text));
        }
        editor->CloseWithCount();
    });
    holder.DoConfig(err, nullptr);
    std::remove(path);
    const std::vector<double> peer = PeerKeystrokes(labels, texts);
    std::printf("filter, %d parameters: editor opened in %.0f ms; first keystroke %.1f ms (index made)\n",
                kFilterParameters, opened, first);
    Report("filter keystroke, editor (match, tree refilled and drawn)", ours);
    Report("filter keystroke, peer (std::string find, bare wxTreeCtrl refilled and drawn)", peer);
    std::vector<double> a = ours, b = peer;
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    std::printf("ratio of medians editor/peer: %.2f\n", a[a.size() / 2] / b[b.size() / 2]);
}

}  // namespace

int main(int argc, char** argv) {
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) return 1;
    wxInitAllImageHandlers();
    zam::graph::InstallWxUserInterface();
    auto* window = new CDlgTimer();
    window->OnInitDialog();
    window->Show();
    window->GetTimer().Stop();
    wxTheApp->Yield(true);

    FirstPaint filter;
    wxEvtHandler::AddFilter(&filter);
    std::vector<double> millis;
    for (int run = 0; run < 21; ++run) {
        filter.Arm();
        const Clock::time_point start = Clock::now();
        window->OnConfig();
        if (run > 0) {  // the first open also loads fonts and themes once
            millis.push_back(std::chrono::duration<double, std::milli>(filter.Painted - start).count());
        }
    }
    wxEvtHandler::RemoveFilter(&filter);
    std::sort(millis.begin(), millis.end());
    std::printf("configuration editor, menu command to first paint: median %.1f ms (%.1f - %.1f) over %zu opens\n",
                millis[millis.size() / 2], millis.front(), millis.back(), millis.size());
    window->Destroy();
    FilterBench();
    zam::graph::RemoveWxUserInterface();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return 0;
}
