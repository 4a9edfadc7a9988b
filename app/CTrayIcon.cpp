#include "app/CTrayIcon.h"

#include <wx/dcmemory.h>
#include <wx/graphics.h>
#include <wx/image.h>
#include <wx/menu.h>
#include <wx/mstream.h>

#include <cmath>
#include <memory>

#include "Core/Graph/WxTranslator.h"
#include "app/CCountdown.h"
#include "app/CDlgTimer.h"
#include "app/CPresetMenu.h"
#include "app/IconPng.h"
#include "app/Resource.h"

namespace {

const int kIconPx = 32;
// The ring fills in this many steps: fine enough to see it move, coarse
// enough that it is redrawn about once a minute on a long countdown.
const int kRingSteps = 48;

enum : int {
    kStartPause = 0x6C00,
    kShowHide,
    kConfig,
    kExit,
    kPresetFirst,  // one per preset from here
};

wxString MinutesSeconds(int64_t seconds) {
    if (seconds < 0) seconds = 0;
    if (seconds >= 3600)
        return wxString::Format("%d:%02d:%02d", static_cast<int>(seconds / 3600),
                                static_cast<int>(seconds % 3600 / 60), static_cast<int>(seconds % 60));
    return wxString::Format("%02d:%02d", static_cast<int>(seconds / 60), static_cast<int>(seconds % 60));
}

wxBitmap ProgramIcon() {
    wxMemoryInputStream png(kIconPng, sizeof kIconPng);
    wxImage image(png, wxBITMAP_TYPE_PNG);
    if (!image.IsOk()) image = wxImage(kIconPx, kIconPx);
    return wxBitmap(image.Scale(kIconPx, kIconPx, wxIMAGE_QUALITY_HIGH));
}

}  // namespace

CTrayIcon::CTrayIcon(CDlgTimer* window) : m_Window(window), m_Base(ProgramIcon()) {
    Bind(wxEVT_TASKBAR_LEFT_DOWN, &CTrayIcon::OnLeftClick, this);
    Bind(wxEVT_MENU, &CTrayIcon::OnMenu, this);
}

bool CTrayIcon::Available() { return wxTaskBarIcon::IsAvailable(); }

wxString CTrayIcon::TooltipFor(const CCountdown& engine) {
    const int64_t total = engine.GetLengthSec();
    const int64_t elapsed = engine.GetElapsedSec();
    if (engine.IsOvertime())
        return wxString::Format(WxTr("Kronalt – +%s over %s"), MinutesSeconds(elapsed - total), MinutesSeconds(total));
    if (engine.IsCompleted()) return WxTr("Kronalt – Completed");
    const wxString left = MinutesSeconds(total - elapsed);
    if (engine.IsRunning()) return wxString::Format(WxTr("Kronalt – %s left of %s"), left, MinutesSeconds(total));
    if (elapsed > 0) return wxString::Format(WxTr("Kronalt – Paused, %s left of %s"), left, MinutesSeconds(total));
    return wxString::FromUTF8("Kronalt – ") + MinutesSeconds(total);
}

void CTrayIcon::Update(const CCountdown& engine) {
    int step = 0;
    const int64_t total = engine.GetLengthSec();
    if (engine.IsCompleted() || engine.IsOvertime()) {
        step = kRingSteps;
    } else if (total > 0) {
        step = static_cast<int>(engine.GetElapsedSec() * kRingSteps / total);
        if (step > kRingSteps) step = kRingSteps;
    }
    const wxString tooltip = TooltipFor(engine);
    if (step == m_Step && tooltip == m_Tooltip) return;
    if (step != m_Step) Draw(step);
    m_Step = step;
    m_Tooltip = tooltip;
    SetIcon(wxBitmapBundle(m_Picture), m_Tooltip);
}

void CTrayIcon::Draw(int step) {
    ++m_Draws;
    wxImage image = m_Base.ConvertToImage();
    if (!image.HasAlpha()) image.InitAlpha();
    wxBitmap canvas(image, 32);
    {
        wxMemoryDC dc(canvas);
        std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(dc));
        if (gc != nullptr && step > 0) {
            const double c = kIconPx / 2.0;
            const double r = kIconPx / 2.0 - 2.5;
            wxGraphicsPath ring = gc->CreatePath();
            const double start = -M_PI / 2;
            ring.AddArc(c, c, r, start, start + 2 * M_PI * step / kRingSteps, true);
            gc->SetPen(wxPen(wxColour(49, 193, 249), 4));
            gc->StrokePath(ring);
        }
    }
    m_Picture = canvas;
}

void CTrayIcon::OnLeftClick(wxTaskBarIconEvent&) {
    m_Window->ShowOrHide();
}

wxMenu* CTrayIcon::CreatePopupMenu() {
    auto* menu = new wxMenu;
    menu->Append(kStartPause, m_Window->GetStartPauseCaption());
    const std::vector<Preset>& presets = m_Window->GetPresetMenu().GetPresets();
    if (!presets.empty()) {
        menu->AppendSeparator();
        for (size_t i = 0; i < presets.size() && i < 64; ++i) {
            wxString name = wxString::FromUTF8(presets[i].Name.c_str());
            name.Replace("&", "&&");
            menu->Append(kPresetFirst + static_cast<int>(i), name);
        }
    }
    menu->AppendSeparator();
    menu->Append(kShowHide, m_Window->IsShown() ? WxTr("&Hide") : WxTr("&Show"));
    menu->Append(kConfig, WxTr("&Configuration and Preferences"));
    menu->AppendSeparator();
    menu->Append(kExit, WxTr("E&xit"));
    return menu;
}

void CTrayIcon::OnMenu(wxCommandEvent& event) {
    const int id = event.GetId();
    CDlgTimer* window = m_Window;
    // Carried out after the menu is gone: Exit may take this icon with it.
    if (id == kStartPause) {
        window->CallAfter([window] { window->OnStartPause(); });
    } else if (id == kShowHide) {
        window->CallAfter([window] { window->ShowOrHide(); });
    } else if (id == kConfig) {
        window->CallAfter([window] {
            window->ShowOrHide(true);
            window->OnConfig();
        });
    } else if (id == kExit) {
        window->CallAfter([window] { window->OnExitCommand(); });
    } else if (id >= kPresetFirst) {
        const int index = id - kPresetFirst;
        window->CallAfter([window, index] { window->GetPresetMenu().OnChoose(index); });
    }
}
