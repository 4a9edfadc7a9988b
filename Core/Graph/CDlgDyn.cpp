#include "Core/Graph/CDlgDyn.h"

#include "Core/Graph/CDynDlgTemplate.h"
#include "Core/Graph/DialogFromTemplate.h"

wxIMPLEMENT_CLASS(CDlgDyn, wxDialog);

CDlgDyn::CDlgDyn() { Bind(wxEVT_BUTTON, &CDlgDyn::OnButton, this); }

bool CDlgDyn::CreateIndirect(const void* dialogTemplate, size_t size, wxWindow* parent) {
    return DialogFromTemplate(this, parent, dialogTemplate, size);
}

bool CDlgDyn::CreateIndirect(CDynDlgTemplate& dialogTemplate, wxWindow* parent) {
    const void* bytes = dialogTemplate.GetTemplate();
    if (bytes == nullptr) return false;
    const bool made = CreateIndirect(bytes, static_cast<size_t>(dialogTemplate.GetSize()), parent);
    dialogTemplate.ReleaseTemplate();
    return made;
}

void CDlgDyn::OnButton(wxCommandEvent& event) {
    const int id = event.GetId();
    if (id >= 1001 && id <= 1999 && IsModal()) {
        EndModal(id - 1000);
        return;
    }
    event.Skip();
}
