#pragma once
// Helpers of the XML tests: a handler that records every event as text, the
// tree builder a configuration reader would write, a recording message-box
// presenter and a log capture.

#include <string>
#include <vector>

#include "Core/Platform/CpuFeatures.h"
#include "Core/Platform/UserInterface.h"
#include "Core/System/Log.h"
#include "Core/Xml/CXML.h"
#include "Core/Xml/PlainNode.h"
#include "tests/Support/TempDir.h"

namespace zam::testing {

/// The scan's vector paths this processor has, the byte loop first.
inline std::vector<zam::platform::VectorLevel> VectorLevels() {
    std::vector<zam::platform::VectorLevel> levels;
    for (int l = 0; l <= static_cast<int>(zam::platform::DetectedVectorLevel()); ++l) {
        levels.push_back(static_cast<zam::platform::VectorLevel>(l));
    }
    return levels;
}

/// Makes the scan take the given path for as long as it lives.
class ScopedVectorLevel {
public:
    explicit ScopedVectorLevel(zam::platform::VectorLevel level)
        : m_Before(zam::platform::SetVectorLevelForTests(level)) {}
    ~ScopedVectorLevel() { zam::platform::SetVectorLevelForTests(m_Before); }
    ScopedVectorLevel(const ScopedVectorLevel&) = delete;
    ScopedVectorLevel& operator=(const ScopedVectorLevel&) = delete;

private:
    zam::platform::VectorLevel m_Before;
};

// Events as "0 a", "1 x=1", "2 a:text", "3 a", "4 a" (the innermost tag's name).
struct EventLog {
    std::vector<std::string> Events;
    // The result the handler gives at event number FailAt (0-based), else 0.
    int FailAt = -1;
    int FailWith = 0;
    // Sets node top at the event 0 of this tag (hook mode tests).
    std::string HookTag;

    static int Handler(CXML* xml, void* user) {
        auto* log = static_cast<EventLog*>(user);
        const XML_TAGITEM* item = xml->GetCurrTag();
        const std::string tag = item != nullptr ? item->Name : "(none)";
        std::string line = std::to_string(static_cast<int>(xml->GetXMLEvent())) + " ";
        switch (xml->GetXMLEvent()) {
        case XML_NEWATTR:
            line += std::string(xml->GetAttrID()) + "=" + xml->GetAttrTxt();
            break;
        case XML_DATA:
            line += tag + ":" + xml->GetAttrTxt();
            break;
        default:
            line += tag;
        }
        log->Events.push_back(line);
        if (xml->GetXMLEvent() == XML_OPENTAG && !log->HookTag.empty() && tag == log->HookTag)
            xml->SetNodeTop(xml->GetCurrTag());
        return static_cast<int>(log->Events.size()) - 1 == log->FailAt ? log->FailWith : 0;
    }
};

// The tree builder: the outermost element becomes the owner's top node (with
// its tag, unlike the configuration reader), deeper elements become children
// of their parent's node; declarations and comments are passed over.
inline int BuildTree(CXML* xml, void* user) {
    auto* root = static_cast<RootPlainNode*>(user);
    XML_TAGITEM* item = xml->GetCurrTag();
    if (item == nullptr) {
        xml->AddErr("Received NULL Tag");
        return -1;
    }
    if (item->Name[0] == '?' || item->Name[0] == '!') return 0;
    switch (xml->GetXMLEvent()) {
    case XML_OPENTAG:
        if (xml->GetDepth() == 1) {
            root->SetRootPlain(root);
            root->SetTag(item->Name);
            item->Node = root;
            item->Flags |= 0x0010;
        } else {
            auto* parent = static_cast<PlainNode*>(xml->GetTag(1)->Node);
            PlainNode* node = parent->AddNode();
            if (node == nullptr) return -1;
            node->SetTag(item->Name);
            item->Node = node;
            item->Parent = parent;
        }
        break;
    case XML_NEWATTR:
        static_cast<PlainNode*>(item->Node)->AddAttr(xml->GetAttrID(), xml->GetAttrTxt());
        break;
    case XML_DATA:
        static_cast<PlainNode*>(item->Node)->SetContent(xml->GetAttrTxt());
        break;
    default:
        break;
    }
    return 0;
}

struct ShownBox {
    std::string Text;
    std::string Caption;
    UINT Type;
};

// Installed for its lifetime.
class RecordingBoxes : public zam::platform::MessageBoxPresenter {
public:
    RecordingBoxes() { zam::platform::SetMessageBoxPresenter(this); }
    ~RecordingBoxes() override { zam::platform::SetMessageBoxPresenter(nullptr); }
    int Show(const char* text, const char* caption, UINT type) override {
        Boxes.push_back({text, caption, type});
        return IDOK;
    }
    void Beep(UINT) override {}
    std::vector<ShownBox> Boxes;
};

// Sends the process log to a file of its own for its lifetime.
class LogCapture {
public:
    LogCapture() {
        LogResetForTests();
        LogLine("*OPENLOG", m_Dir.File("capture.log").c_str(), 1);
    }
    ~LogCapture() {
        LogLine("*CLOSE", nullptr, 0);
        LogResetForTests();
    }
    std::string Text() const { return m_Dir.Read("capture.log"); }
    bool Contains(const std::string& s) const { return Text().find(s) != std::string::npos; }

private:
    TempDir m_Dir;
};

}  // namespace zam::testing
