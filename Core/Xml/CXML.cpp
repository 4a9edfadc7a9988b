// CXML: reading the document, the tag stack and the messages. The scan
// itself is in CXMLScan.cpp.

#include "Core/Xml/CXML.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Core/Platform/UserInterface.h"
#include "Core/System/Log.h"
#include "Core/Text/CTxt.h"
#include "Core/Text/RuntimeConv.h"
#include "Core/Text/TextFunc.h"

namespace {

// More boxes than this would only bury the first, which is the one that matters.
const int kMaxBoxes = 12;

// Copies at most size - 1 characters and always terminates.
void CopyBounded(char* dest, size_t size, const char* src) {
    size_t n = std::strlen(src);
    if (n > size - 1) n = size - 1;
    std::memcpy(dest, src, n);
    dest[n] = '\0';
}

}  // namespace

CXML::CXML() { Clear(); }

CXML::~CXML() = default;

void CXML::Clear() {
    m_Errors.RemoveAll();
    m_Warnings.RemoveAll();
    m_Event = XML_OPENTAG;
    m_AttrID[0] = '\0';
    m_AttrTxt[0] = '\0';
    m_FileName[0] = '\0';
    m_Line = m_Col = m_Pos = m_Depth = 0;
    m_CurrTag = nullptr;
    std::memset(m_Tags, 0, sizeof m_Tags);
    m_NodeTop = nullptr;
}

int CXML::LoadFile(const char* path, XMLHandlerFunc handler, void* user) {
    if (path == nullptr) path = "";
    if (m_Flags & XMLFLG_TEXT) {
        const size_t n = std::strlen(path);
        // The scan counts in int; a text beyond that is cut where the count ends.
        const int length = n > 0x7FFFFFF0u ? 0x7FFFFFF0 : static_cast<int>(n);
        Clear();
        if (!m_TextName.empty()) {
            CopyBounded(m_FileName, sizeof m_FileName, m_TextName.c_str());
        } else {
            std::snprintf(m_FileName, sizeof m_FileName, "(%d Bytes RAM, %s)", length,
                          zam::PointerText(path).c_str());
        }
        return ScanText(path, length, handler, user);
    }
    char* buffer = nullptr;
    int length = 0;
    const int loaded = LoadFromDisk(path, buffer, length);
    if (loaded < 0) return loaded;
    CopyBounded(m_FileName, sizeof m_FileName, path);
    return ScanText(buffer, length, handler, user, buffer);
}

int CXML::LoadFromDisk(const char* path, char*& buffer, int& length) {
    CTxt msg;
    const int size = filesize(path);
    if (size < 0) {
        msg.Format("LoadFile: File '%s' does not exist", path);
        AddErr(msg);
        return -1;
    }
    if (size == 0) {
        msg.Format("LoadFile: File '%s' is empty", path);
        AddErr(msg);
        return -5;
    }
    // The buffer has the file's final size from the start, plus the
    // terminator the scan stops at, and the file comes in one read: no
    // refills, no copies, no second pass over the bytes.
    buffer = static_cast<char*>(std::malloc(static_cast<size_t>(size) + 1u));
    if (buffer == nullptr) {
        msg.Format("LoadFile: Out of memory, file '%s' (%d bytes)", path, size);
        AddErr(msg);
        return -2;
    }
    Clear();
    // Without waiting: a named pipe put in the file's place must not hold us.
    int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    int error = errno;
    struct stat st{};
    if (fd >= 0 && fstat(fd, &st) == 0 && !S_ISREG(st.st_mode)) {
        close(fd);
        fd = -1;
        error = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    }
    if (fd < 0) {
        msg.Format("LoadFile: Cannot open file '%s' (%s)", path,
                   error == EINVAL ? "Not a regular file" : std::strerror(error));
        AddErr(msg);
        std::free(buffer);
        buffer = nullptr;
        return -3;
    }
    // One read serves a regular file; only a file that is shorter than it
    // was a moment ago, or a signal, makes it come in more than one piece.
    size_t got = 0;
    while (got < static_cast<size_t>(size)) {
        const ssize_t n = read(fd, buffer + got, static_cast<size_t>(size) - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<size_t>(n);
    }
    close(fd);
    if (got != static_cast<size_t>(size)) {
        msg.Format("LoadFile: Read error %d%%, file '%s' (%d bytes)", static_cast<int>(got), path,
                   size);
        AddErr(msg);
        std::free(buffer);
        buffer = nullptr;
        return -4;
    }
    buffer[size] = '\0';
    length = size;
    return 0;
}

void CXML::Finish(char* ownedBuffer) {
    std::free(ownedBuffer);
    if (!(m_Flags & XMLFLG_NOERRBOX)) {
        for (int i = 0; i < m_Errors.GetSize() && i < kMaxBoxes; ++i) {
            zam::platform::ShowMessageBox(m_Errors.GetAtTxt(i), "XML", MB_OK | MB_ICONERROR);
        }
    }
    if (m_Flags & XMLFLG_WARNBOX) {
        for (int i = 0; i < m_Warnings.GetSize() && i < kMaxBoxes; ++i) {
            zam::platform::ShowMessageBox(m_Warnings.GetAtTxt(i), "XML", MB_OK | MB_ICONWARNING);
        }
    }
    if (m_Progress != nullptr) m_Progress(200.0f, m_FileName);
}

XML_TAGITEM* CXML::AddTag(const char* name) {
    if (name == nullptr) name = "";
    return AddTag(name, std::strlen(name));
}

XML_TAGITEM* CXML::AddTag(const char* name, size_t n) {
    if (n > static_cast<size_t>(kMaxTagName) || m_Depth >= kMaxDepth) {
        CTxt msg;
        if (n > static_cast<size_t>(kMaxTagName)) {
            msg.Format("Tagname '%.*s' is too long (max %d)", static_cast<int>(n), name, kMaxTagName);
        } else {
            msg.Format("Too many nested tags in '%.*s' (max depth %d)", static_cast<int>(n), name,
                       kMaxDepth);
        }
        AddErr(msg);
        return nullptr;
    }
    // Cleared field by field: the name's bytes past its terminator are never read.
    XML_TAGITEM& item = m_Tags[m_Depth];
    std::memcpy(item.Name, name, n);
    item.Name[n] = '\0';
    item.Node = nullptr;
    item.Parent = nullptr;
    item.Flags = m_Depth == 0 ? 0x0001 : 0;
    ++m_Depth;
    m_CurrTag = item.Name;
    return &item;
}

void CXML::CloseTag() {
    if (m_Depth > kMaxDepth) m_Depth = kMaxDepth;
    if (m_Depth <= 0) return;
    XML_TAGITEM& item = m_Tags[m_Depth - 1];
    item.Name[0] = '\0';
    item.Node = nullptr;
    item.Parent = nullptr;
    item.Flags = 0;
    --m_Depth;
    m_CurrTag = m_Depth > 0 ? m_Tags[m_Depth - 1].Name : nullptr;
}

int CXML::AddErr(const char* text) {
    CTxt msg;
    msg.Format("ERROR#%d:\n%s\n\nLine %d, Column %d\nFile %s", m_Errors.GetSize() + 1,
               text != nullptr ? text : "", m_Line, m_Col, m_FileName);
    LogTrace("XML", 0, "%s", static_cast<const char*>(msg));
    m_Errors.Add(msg);
    return 0;
}

int CXML::AddWarn(const char* text) {
    if (m_Flags & XMLFLG_NOWARN) return 0;
    CTxt msg;
    msg.Format("WARNING#%d:\n%s\n\nLine %d, Column %d\nFile %s", m_Warnings.GetSize() + 1,
               text != nullptr ? text : "", m_Line, m_Col, m_FileName);
    LogTrace("XML", 0, "%s", static_cast<const char*>(msg));
    m_Warnings.Add(msg);
    return 0;
}
