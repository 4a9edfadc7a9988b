// The standard message boxes and the exception record.

#include "Core/Platform/UserInterface.h"
#include "Core/System/Launch.h"

namespace {

WindowTitleReader g_titleReader = nullptr;

}  // namespace

void SetWindowTitleReader(WindowTitleReader reader) { g_titleReader = reader; }

int MsgBox(const char* text, int kind, HWND owner) {
    const std::string caption =
        owner != nullptr && g_titleReader != nullptr ? g_titleReader(owner) : std::string();
    UINT type = MB_OK | MB_ICONINFORMATION;
    switch (kind) {
    case 2: type = MB_OK | MB_ICONERROR; break;
    case 3: type = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2; break;
    case 4: type = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1; break;
    default: break;
    }
    const int answer =
        zam::platform::ShowMessageBox(text != nullptr ? text : "", caption.c_str(), type | MB_TOPMOST);
    return kind == 3 || kind == 4 ? answer : 0;
}

const CRuntimeClass CHttpGetException::classCHttpGetException = {
    "CHttpGetException", static_cast<int>(sizeof(CHttpGetException)), 0xFFFF,
    &CHttpGetException::CreateObject, RUNTIME_CLASS(CObject)};

CObject* CHttpGetException::CreateObject() { return new CHttpGetException(0); }

const CRuntimeClass* CHttpGetException::GetRuntimeClass() const {
    return RUNTIME_CLASS(CHttpGetException);
}
