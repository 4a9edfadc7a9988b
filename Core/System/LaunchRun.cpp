// Starting programs, the editor and the browser.

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include "Core/Platform/Process.h"
#include "Core/Platform/Terminal.h"
#include "Core/Platform/Registry.h"
#include "Core/Platform/SysError.h"
#include "Core/Platform/UserInterface.h"
#include "Core/System/Launch.h"
#include "Core/System/Log.h"
#include "Core/System/Profile.h"
#include "Core/Text/CTxt.h"
#include "Core/Text/TextFunc.h"

using zam::platform::ProcessRequest;
using zam::platform::ProcessResult;

namespace {

// The shell stands in for the command interpreter: a program is run, any
// other file goes to the desktop's opener, as its associated program. The
// file name arrives as "$1", never as part of the script.
const char* const kOpenFileScript =
    "if [ -f \"$1\" ] && [ -x \"$1\" ]; then exec \"$1\"; fi; exec xdg-open \"$1\"";

const size_t kEditorMax = 999;

}  // namespace

std::string zam::DefaultEditorCommand() {
    // A terminal editor cannot show from a program started on the desktop.
    if (!zam::platform::InputIsTerminal()) return "xdg-open";
    for (const char* variable : {"VISUAL", "EDITOR"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && value[0] != '\0') return value;
    }
    return "xdg-open";
}

namespace {

void ToForwardSlashes(std::string& text) {
    for (char& c : text) {
        if (c == '\\') c = '/';
    }
}

// A relative name could begin with '-' and pass for an option, or lack a
// '/' and be searched in PATH; "./" keeps it a file name.
std::string AsPathArgument(const std::string& path) {
    return !path.empty() && path[0] == '/' ? path : "./" + path;
}

void ShowLaunchError(int code, const char* commandLine) {
    CTxt text;
    text.Format("File Launch Error (%d) in:\r\n%s\r\n%s", code, commandLine,
                zam::platform::SysErrorMessage(code).c_str());
    CTxt caption;
    CTxt::GetExeName(caption, 2);
    zam::platform::ShowMessageBox(text, caption, MB_OK);
}

}  // namespace

int RunCommand(const char* command, int showErrors) {
    const std::string text = command != nullptr ? command : "";
    size_t at = 0;
    ProcessRequest request;
    request.CreationFlags = NORMAL_PRIORITY_CLASS | DETACHED_PROCESS;
    bool wait = false;
    bool bang = false;
    std::string commandLine;

    if (text.compare(at, 1, "^") == 0) {
        CTxt file(text.c_str() + 1);
        // Forward slashes are this system's own path form; backslashes
        // would make another file of it.
        file.MakeFn();
        const std::string fallback = zam::DefaultEditorCommand().substr(0, kEditorMax);
        CTxt editor;
        ProfileReadStr("SYS", "EDITOR", fallback.c_str(), editor);
        // An empty editor would leave the file itself as the program to run.
        if (editor.IsEmpty()) editor = fallback.c_str();
        ProfileWriteStr("SYS", "EDITOR", editor);
        CTxt line;
        line.Format("%s \"%s\"", static_cast<const char*>(editor), static_cast<const char*>(file));
        commandLine = static_cast<const char*>(line);
        request.Argv = zam::platform::SplitCommandLine(editor);
        request.Argv.push_back(static_cast<const char*>(file));
        bang = true;
        at = text.size();
    }
    if (!bang) {
        if (text.compare(at, 1, "<") == 0) {
            wait = true;
            ++at;
        }
        if (text.compare(at, 1, "#") == 0) {
            request.StartFlags = STARTF_USESHOWWINDOW | STARTF_RUNFULLSCREEN;
            request.CreationFlags &= ~DETACHED_PROCESS;
            ++at;
        }
        if (text.compare(at, 1, "~") == 0) {
            request.ShowWindow = SW_MINIMIZE;
            ++at;
        }
        if (text.compare(at, 1, "@") == 0) {
            request.StartFlags = STARTF_USESHOWWINDOW;
            request.CreationFlags &= ~DETACHED_PROCESS;
            ++at;
        }
        if (text.compare(at, 1, "!") == 0) {
            bang = true;
            ++at;
            commandLine = text.substr(at);
            request.Argv = zam::platform::SplitCommandLine(commandLine.c_str());
        }
    }
    if (!bang) {
        const std::string file = text.substr(at);
        struct stat st{};
        if (stat(file.c_str(), &st) != 0) {
            const int code = errno;
            ShowLaunchError(code, file.c_str());
            return -1;
        }
        commandLine = "/bin/sh -c \"" + file + "\"";
        request.Argv = {"/bin/sh", "-c", kOpenFileScript, "sh", AsPathArgument(file)};
    }

    const ProcessResult result = zam::platform::StartProcess(request, wait);
    if (!result.Started()) {
        if (showErrors == 1) ShowLaunchError(result.Error, commandLine.c_str());
        return -result.Error;
    }
    if (!wait) return 1;
    if (!result.Waited) return 1;
    if (result.Signal != 0) return kRunCommandSignalled - result.Signal;
    return result.ExitCode;
}

int BrowserFromOpenCommand(const char* registered, CTxt& browser) {
    const std::string text = registered != nullptr ? registered : "";
    std::string joined;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(' ', start);
        std::string field = text.substr(start, end == std::string::npos ? end : end - start);
        const bool placeholder = field.compare(0, 2, "\"%") == 0 || field.compare(0, 1, "%") == 0;
        // Either a beginning of "http:" (the empty field too) or beginning with it.
        const bool address = stricmpmode(field.c_str(), "http:", 3) == 0;
        if (!placeholder && !address) {
            ToForwardSlashes(field);
            joined += field + " ";
        }
        if (end == std::string::npos) break;
        start = end + 1;
    }
    browser = joined.c_str();
    return browser.GetLength();
}

int OpenUrl(const char* address, int wait) {
    std::string registered;
    if (zam::platform::RegistryBrowserCommand(registered)) {
        CTxt browser;
        BrowserFromOpenCommand(registered.c_str(), browser);
        ProfileWriteStr("INTERNET", "Browser", browser);
    }
    CTxt setting;
    ProfileReadStr("INTERNET", "Browser", "", setting);
    std::string browser = static_cast<const char*>(setting);
    std::string target = address != nullptr ? address : "";
    ToForwardSlashes(browser);
    ToForwardSlashes(target);
    if (!target.empty() && target[0] == '-') target = AsPathArgument(target);

    CTxt line;
    line.Format("%s \"%s\"", browser.c_str(), target.c_str());
    CTxt logLine;
    logLine.Format("HELP: Cmd=%s<", static_cast<const char*>(line));
    LogLine("Test", logLine, 0);

    ProcessRequest request;
    request.Argv = zam::platform::SplitCommandLine(browser.c_str());
    int error = ENOENT;  // no browser at all: the address must not become the program
    if (!request.Argv.empty()) {
        request.Argv.push_back(target);
        const ProcessResult result = zam::platform::StartProcess(request, wait == 1);
        if (result.Started()) return 0;
        error = result.Error;
    }
    CTxt message;
    message.Format("Cannot start '%s' (%d)\r\n", static_cast<const char*>(setting), error);
    zam::platform::ShowMessageBox(message, "View Error", MB_OK);
    return -1;
}
