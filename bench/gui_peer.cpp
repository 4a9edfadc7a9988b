// The peer of the window benchmark: the smallest wxWidgets program that does
// what the timer does while it waits — a window with a label that a
// one-second timer rewrites. Whatever it costs is the toolkit's own floor.

#include <wx/wx.h>

#include <ctime>

class PeerApp : public wxApp {
public:
    bool OnInit() override {
        auto* frame = new wxFrame(nullptr, wxID_ANY, "Peer (Velmora)", wxPoint(100, 100), wxSize(872, 123));
        auto* label = new wxStaticText(new wxPanel(frame), wxID_ANY, "", wxPoint(10, 10));
        auto* timer = new wxTimer(frame);
        frame->Bind(wxEVT_TIMER, [label](wxTimerEvent&) {
            label->SetLabel(wxString::Format("%ld", static_cast<long>(std::time(nullptr))));
        });
        timer->Start(1000);
        frame->Show();
        return true;
    }
};

wxIMPLEMENT_APP(PeerApp);
