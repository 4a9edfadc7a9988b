// The XML writer: a node tree as an indented file under a ROOT element, one
// element per line, each node's opening and closing parts written at once.

#include <cerrno>
#include <cstring>
#include <string>

#include "Core/System/Launch.h"
#include "Core/System/Log.h"
#include "Core/Text/TextFunc.h"
#include "Core/Time/CZAMDateTime.h"
#include "Core/Xml/PlainNode.h"

namespace {

const char kRootTag[] = "ROOT";

int Indent(int level) { return level > 0 ? 3 * level : 0; }

// The part of a content that is written: up to its first line end.
std::string FirstLine(const char* content) {
    return std::string(content, std::strcspn(content, "\r\n"));
}

// Writes at most one node buffer's worth: an oversized node has already been
// reported, and what follows the cut is lost rather than written past it.
bool WritePiece(const CTxt& piece, FILE* file) {
    int n = piece.GetLength();
    if (n > PlainNode::kSaveBufferSize) n = PlainNode::kSaveBufferSize;
    if (n == 0) return true;
    if (file == nullptr) return false;
    return std::fwrite(piece.GetData(), 1, static_cast<size_t>(n), file) == static_cast<size_t>(n);
}

// The scanner keeps a backslash in an attribute value together with the
// character after it, unread. A backslash before an escape would keep the
// escape undecoded, and one at the end would swallow the closing quote and
// with it the rest of the file; those backslashes are written as a reference.
// All others stay as they are, each paired with its literal successor.
std::string GuardBackslashes(const char* escaped) {
    std::string out;
    for (const char* p = escaped; *p != '\0'; ++p) {
        if (*p != '\\') {
            out += *p;
        } else if (p[1] == '\0' || p[1] == '&') {
            out += "&#x5C;";
        } else {
            out += *p;
            out += *++p;
        }
    }
    return out;
}

}  // namespace

int PlainNodeAttr::SaveAttr(CTxt& buffer, int /*level*/, int /*number*/) const {
    if (Name.IsEmpty()) return 0;
    CTxt value;
    PlainNode::SaveTxt2XML(value, Value);
    const int before = buffer.GetLength();
    buffer += " ";
    buffer += Name;
    buffer += "=\"";
    buffer += GuardBackslashes(value).c_str();
    buffer += "\"";
    return buffer.GetLength() - before;
}

int PlainNode::SaveOpen(CTxt& buffer, int level) const {
    CTxt piece;
    if (level <= 0) {
        CZAMDateTime now;
        now.SetNow();
        CTxt machine;
        GetMachineName(machine);
        piece.Format("<!--- Date=\"%04d%02d%02d\" Time=\"%02d%02d%02d\" Machine=\"%s\" -->\r\n<%s",
                     now.GetYear(), now.m_Month, now.m_Day, now.m_Hour, now.m_Min, now.m_Sec, static_cast<const char*>(machine), kRootTag);
    } else {
        piece.Format("%-*.*s<%s", Indent(level), Indent(level), "", static_cast<const char*>(m_Tag));
    }
    buffer += piece;
    return piece.GetLength();
}

int PlainNode::SaveContent(CTxt& buffer, int level) const {
    const int before = buffer.GetLength();
    // ROOT always gets a separate closing line, so it must never close itself
    // with "/>": that would leave the closing line without its opening.
    const bool hasChildren = !m_Children.empty() || level <= 0;
    if (m_Content.IsEmpty()) {
        buffer += hasChildren ? ">\r\n" : "/>\r\n";
        return buffer.GetLength() - before;
    }
    const std::string line = FirstLine(m_Content);
    CTxt escaped;
    SaveBTOA(line.c_str(), escaped, XMLPDT_TEXT, "RawContent");
    buffer += ">";
    buffer += escaped;
    if (!m_Children.empty()) buffer += "\r\n";
    return buffer.GetLength() - before;
}

int PlainNode::SaveClose(CTxt& buffer, int level) const {
    CTxt piece;
    if (level <= 0)
        piece.Format("</%s>\r\n", kRootTag);
    else if (!m_Children.empty())
        piece.Format("%-*.*s</%s>\r\n", Indent(level), Indent(level), "",
                     static_cast<const char*>(m_Tag));
    else if (m_Content.IsFilled())
        piece.Format("</%s>\r\n", static_cast<const char*>(m_Tag));
    buffer += piece;
    return piece.GetLength();
}

int PlainNode::SaveXMLPersistSaveIterate(PlainNode* node, int level, SAVE_INFO* info) {
    if (node == nullptr || info == nullptr) return 0;
    if (node->m_Tag.IsEmpty()) node->SetTag("NOTAG");
    if (info->SkipList.FindString(node->m_Tag) >= 0) return 0;
    if ((info->Flags & 0x02) != 0)
        LogTrace("Persist", 0, "PersistSaveIt: [%d] %s", level, static_cast<const char*>(node->m_Tag));

    CTxt buffer;
    int total = node->SaveOpen(buffer, level);
    for (int i = 0; i < node->GetNumAttr(); ++i)
        total += node->m_Attrs[static_cast<size_t>(i)]->SaveAttr(buffer, level, i);
    total += node->SaveContent(buffer, level);
    if (total > kSaveBufferSize)
        LogBox("Pesist", "Exceeded max Output buffer length of %d (%d)", kSaveBufferSize, total);

    ++info->Count;
    if (!WritePiece(buffer, info->File))
        LogTrace("Persist", 0, "PersistSaveIt: Write error in Node '%s'",
                 static_cast<const char*>(node->m_Tag));

    int result = 0;
    if (info->DepthLimit < 0 || level < info->DepthLimit) {
        for (int i = 0; i < node->GetNumChildren(); ++i) {
            const int rc = SaveXMLPersistSaveIterate(node->GetChild(i), level + 1, info);
            if (rc < 0 && result == 0) result = rc;
        }
    }

    buffer.MakeEmpty();
    node->SaveClose(buffer, level);
    if (!WritePiece(buffer, info->File))
        LogTrace("Persist", 0, "PersistSaveIt: Write error in Node '%s'",
                 static_cast<const char*>(node->m_Tag));
    return result;
}

int PlainNode::SaveXML(const char* path, CTxt& message, PlainNode* node, int flags,
                       SAVE_INFO* info) {
    const char* name = path != nullptr && *path != '\0' ? path : "Save.xml";
    SAVE_INFO defaults;
    if (info == nullptr) {
        defaults.Flags = flags & 0x02;
        info = &defaults;
    }

    FILE* file = std::fopen(name, "wb");
    if (file == nullptr) {
        message.Format("Save: Cannot open file '%s' (%s)", name, std::strerror(errno));
        if ((flags & 0x20) != 0) LogBox("SaveXML", "%s", static_cast<const char*>(message));
        return -2;
    }
    FILE* const outer = info->File;
    info->File = file;
    const int rc = SaveXMLPersistSaveIterate(node, 0, info);
    info->File = outer;
    // A write error that shows only when the buffered rest reaches the disk
    // is logged like the ones found on the way.
    if (std::fclose(file) != 0)
        LogTrace("Persist", 0, "PersistSaveIt: Write error in Node '%s'",
                 node != nullptr ? node->GetTag() : "");
    if (rc < 0) {
        message.Format("Save: Error %d in file '%s'", rc, name);
        if ((flags & 0x20) != 0) LogBox("SavXML", "%s", static_cast<const char*>(message));
        return rc;
    }

    if ((flags & 0x10) != 0) {
        mkdirpath("Backup", 0);
        CZAMDateTime now;
        now.SetNow();
        CTxt stamp;
        now.GetTxt(stamp, 10);
        std::string fileName;
        PathPart(name, 5, fileName);
        CTxt backup;
        backup.Format("Backup/%s_%s", static_cast<const char*>(stamp), fileName.c_str());
        // The main file is written; a backup that cannot be made still fails
        // the call, its message naming the backup.
        const int brc = SaveXML(backup, message, node, flags & ~0x10, info);
        if (brc < 0) return brc;
    }
    return info->Count;
}
