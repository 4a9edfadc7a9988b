// The XML scanner on arbitrary bytes in text mode, driving a tree builder.
// The first byte picks options: hook mode, warnings with boxes, a progress
// function, and an event at which the handler answers -7. Every input is
// also scanned on each vector path the processor has, and each must report
// exactly what the byte loop reports.

#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>

#include "Core/Platform/CpuFeatures.h"
#include "Core/Platform/ProgramPath.h"
#include "Core/Platform/UserInterface.h"
#include "Core/System/Profile.h"
#include "Core/Xml/CXML.h"
#include "Core/Xml/PlainNode.h"

namespace {

class SilentBoxes : public zam::platform::MessageBoxPresenter {
public:
    int Show(const char*, const char*, UINT) override { return IDOK; }
    void Beep(UINT) override {}
};

struct Run {
    RootPlainNode Nodes;
    int Events = 0;
    int FailAt = -1;
    bool Hook = false;
    bool Warn = false;
};

int Build(CXML* xml, void* user) {
    auto* run = static_cast<Run*>(user);
    const int depth = xml->GetDepth();
    if (depth < 0 || depth > CXML::kMaxDepth) __builtin_trap();
    if (std::strlen(xml->GetAttrID()) >= static_cast<size_t>(CXML::kAttrIDSize)) __builtin_trap();
    if (std::strlen(xml->GetAttrTxt()) >= static_cast<size_t>(CXML::kAttrTxtSize)) __builtin_trap();
    if (run->Warn) xml->AddWarn(xml->GetAttrTxt());
    if (run->Events++ == run->FailAt) return -7;
    XML_TAGITEM* item = xml->GetCurrTag();
    if ((item == nullptr) != (depth == 0)) __builtin_trap();
    if (item == nullptr || item->Name[0] == '?' || item->Name[0] == '!') return 0;
    if (std::strlen(item->Name) > static_cast<size_t>(CXML::kMaxTagName)) __builtin_trap();
    switch (xml->GetXMLEvent()) {
    case XML_OPENTAG:
        if (depth == 1) {
            run->Nodes.SetRootPlain(&run->Nodes);
            item->Node = &run->Nodes;
        } else if (XML_TAGITEM* parent = xml->GetTag(1); parent != nullptr && parent->Node != nullptr) {
            PlainNode* node = static_cast<PlainNode*>(parent->Node)->AddNode();
            if (node != nullptr) node->SetTag(item->Name);
            item->Node = node;
        }
        if (run->Hook && depth == 3) xml->SetNodeTop(item->Node != nullptr ? item->Node : item);
        break;
    case XML_NEWATTR:
        if (item->Node != nullptr)
            static_cast<PlainNode*>(item->Node)->AddAttr(xml->GetAttrID(), xml->GetAttrTxt());
        break;
    case XML_DATA:
        if (item->Node != nullptr) static_cast<PlainNode*>(item->Node)->SetContent(xml->GetAttrTxt());
        break;
    default:
        break;
    }
    return 0;
}

// Every event with where the scanner stood: kind, depth, line, column, and
// the texts it delivered.
int Record(CXML* xml, void* user) {
    auto* events = static_cast<std::string*>(user);
    const XML_TAGITEM* item = xml->GetCurrTag();
    *events += std::to_string(static_cast<int>(xml->GetXMLEvent())) + ' ' + std::to_string(xml->GetDepth()) +
               ' ' + std::to_string(xml->GetLine()) + ':' + std::to_string(xml->GetCol()) + ' ' +
               (item != nullptr ? item->Name : "") + '|' + xml->GetAttrID() + '|' + xml->GetAttrTxt() + '\n';
    return 0;
}

std::string EventsOnPath(const std::string& text, zam::platform::VectorLevel level) {
    const zam::platform::VectorLevel before = zam::platform::SetVectorLevelForTests(level);
    CXML xml;
    xml.SetFlg(XMLFLG_TEXT | XMLFLG_NOERRBOX);
    std::string events;
    const int result = xml.LoadFile(text.c_str(), Record, &events);
    events += "result " + std::to_string(result) + " at " + std::to_string(xml.GetLine()) + ':' +
              std::to_string(xml.GetCol()) + '\n';
    zam::platform::SetVectorLevelForTests(before);
    return events;
}

int Progress(float percent, const char*) {
    if (percent != -1.0f && percent != 200.0f && (percent < 0.0f || percent > 100.0f)) __builtin_trap();
    return 0;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Profile and log of a scratch program folder, with the log switched off:
    // every refused input would otherwise write a line.
    char folder[] = "/tmp/kronalt-fuzz-XXXXXX";
    if (mkdtemp(folder) == nullptr) return 0;
    zam::platform::SetProgramPathOverride(std::string(folder) + "/kronalt");
    ProfileWriteStr("RELEASE", "WriteLog", "NO");
    static SilentBoxes boxes;
    zam::platform::SetMessageBoxPresenter(&boxes);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const uint8_t options = data[0];
    const std::string text(reinterpret_cast<const char*>(data) + 2, size - 2);
    static CXML xml;  // 100 KB of buffers: kept between runs, as a program would
    Run run;
    run.Hook = options & 0x01;
    run.Warn = options & 0x02;
    run.FailAt = (options & 0x08) ? data[1] : -1;
    int flags = XMLFLG_TEXT | XMLFLG_NOERRBOX;
    if (run.Hook) flags |= XMLFLG_HOOK;
    if (run.Warn) flags |= XMLFLG_WARNBOX;
    if (options & 0x10) flags |= XMLFLG_NOWARN;
    xml.SetFlg(flags);
    xml.SetProgressFunc((options & 0x04) ? Progress : nullptr);
    const int result = xml.LoadFile(text.c_str(), Build, &run);
    if (result > 0) __builtin_trap();
    if (result == -103 && xml.GetErrList().GetSize() == 0) __builtin_trap();
    if (result == 0 && xml.GetErrList().GetSize() != 0) __builtin_trap();
    run.Nodes.GetNumDesc();

    const std::string reference = EventsOnPath(text, zam::platform::VectorLevel::Bytes);
    for (int level = 1; level <= static_cast<int>(zam::platform::DetectedVectorLevel()); ++level) {
        if (EventsOnPath(text, static_cast<zam::platform::VectorLevel>(level)) != reference) __builtin_trap();
    }
    return 0;
}
