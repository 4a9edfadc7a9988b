#include "Core/Platform/UserInterface.h"

#include <cstdio>
#include <map>

namespace zam::platform {

namespace {

// Without a window there is nobody to ask: say what would have been shown and
// take the box's default button, as an unattended run should.
class StdErrPresenter : public MessageBoxPresenter {
public:
    int Show(const char* text, const char* caption, UINT type) override {
        std::fprintf(stderr, "[%s] %s\n", caption ? caption : "", text ? text : "");
        return DefaultAnswer(type);
    }
    void Beep(UINT) override {
        std::fputc('\a', stderr);
        std::fflush(stderr);
    }
};

// The classic desktop scheme, for programs that run without a theme.
class BuiltInColours : public SystemColourSource {
public:
    COLORREF Get(int index) override {
        switch (index) {
        case COLOR_ACTIVECAPTION: return RGB(153, 180, 209);
        case COLOR_MENU: return RGB(240, 240, 240);
        case COLOR_WINDOW: return RGB(255, 255, 255);
        case COLOR_WINDOWFRAME: return RGB(100, 100, 100);
        case COLOR_ACTIVEBORDER: return RGB(180, 180, 180);
        case COLOR_BTNFACE: return RGB(240, 240, 240);
        default: return RGB(0, 0, 0);
        }
    }
};

MessageBoxPresenter* g_presenter = nullptr;
ListViewSource* g_listViews = nullptr;
SystemColourSource* g_colours = nullptr;

MessageBoxPresenter& Presenter() {
    static StdErrPresenter fallback;
    return g_presenter ? *g_presenter : fallback;
}

std::map<UINT, std::string>& Resources() {
    static std::map<UINT, std::string> table;
    return table;
}

}  // namespace

void SetMessageBoxPresenter(MessageBoxPresenter* presenter) { g_presenter = presenter; }

int ShowMessageBox(const char* text, const char* caption, UINT type) {
    return Presenter().Show(text, caption, type);
}

void MessageBeep(UINT type) { Presenter().Beep(type); }

int DefaultAnswer(UINT type) {
    static const int buttons[][3] = {
        {IDOK, IDOK, IDOK},               // MB_OK
        {IDOK, IDCANCEL, IDCANCEL},       // MB_OKCANCEL
        {IDABORT, IDRETRY, IDIGNORE},     // MB_ABORTRETRYIGNORE
        {IDYES, IDNO, IDCANCEL},          // MB_YESNOCANCEL
        {IDYES, IDNO, IDNO},              // MB_YESNO
        {IDRETRY, IDCANCEL, IDCANCEL},    // MB_RETRYCANCEL
    };
    UINT set = type & MB_TYPEMASK;
    if (set > 5) set = 0;
    UINT def = (type & MB_DEFMASK) >> 8;
    if (def > 2) def = 0;
    return buttons[set][def];
}

void SetSystemColourSource(SystemColourSource* source) { g_colours = source; }

COLORREF GetSysColor(int index) {
    static BuiltInColours fallback;
    return g_colours ? g_colours->Get(index) : fallback.Get(index);
}

void SetListViewSource(ListViewSource* source) { g_listViews = source; }

ListViewSource* GetListViewSource() { return g_listViews; }

void RegisterStringResource(UINT id, const char* text) { Resources()[id] = text ? text : ""; }

bool LoadStringResource(UINT id, std::string& out) {
    auto it = Resources().find(id);
    if (it == Resources().end()) return false;
    out = it->second;
    return true;
}

void ClearStringResources() { Resources().clear(); }

}  // namespace zam::platform
