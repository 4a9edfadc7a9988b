#pragma once
// Helpers for the window tests: folders, the audio capture file, running the
// toolkit's pending work, and a message-box presenter that answers as told.

#include <stdlib.h>
#include <wx/app.h>

#include <filesystem>
#include <string>
#include <vector>

#include "Core/Platform/UserInterface.h"

namespace zam::testing {

inline std::string MakeTempFolder(const char* stem) {
    std::string path = (std::filesystem::temp_directory_path() / (std::string(stem) + "-XXXXXX")).string();
    return mkdtemp(path.data()) != nullptr ? path : std::string();
}

inline std::string& AudioFile() {
    static std::string path;
    return path;
}
inline void SetAudioFile(const std::string& path) { AudioFile() = path; }

/// Lets the toolkit do what is pending (layout, painting, queued events).
inline void Pump() {
    for (int i = 0; i < 5; ++i) {
        wxTheApp->ProcessPendingEvents();
        wxTheApp->Yield(true);
    }
}

/// Answers every message box with the answer given and remembers the texts.
class AnsweringPresenter : public zam::platform::MessageBoxPresenter {
public:
    explicit AnsweringPresenter(int answer) : m_Answer(answer) { zam::platform::SetMessageBoxPresenter(this); }
    ~AnsweringPresenter() override { zam::platform::SetMessageBoxPresenter(nullptr); }
    int Show(const char* text, const char* caption, UINT type) override {
        Texts.emplace_back(text ? text : "");
        Captions.emplace_back(caption ? caption : "");
        Types.push_back(type);
        return m_Answer;
    }
    void Beep(UINT) override {}
    void SetAnswer(int answer) { m_Answer = answer; }
    std::vector<std::string> Texts;
    std::vector<std::string> Captions;
    std::vector<UINT> Types;

private:
    int m_Answer;
};

}  // namespace zam::testing
