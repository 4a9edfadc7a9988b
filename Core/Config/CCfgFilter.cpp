#include "Core/Config/CCfgFilter.h"

#include <cstring>

#include "Core/Config/CCfgDoc.h"

namespace {

// The lower-case partner of a capital, or c itself.
unsigned LowerOf(unsigned c) {
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;              // Latin-1
    if (c >= 0x100 && c <= 0x17F) {                                         // Latin Extended-A
        // Pairs start on even code points, except between 0x139 and 0x148
        // and from 0x179, where they start on odd ones; 0x130, 0x131, 0x138
        // and 0x149 have no partner here.
        if (c == 0x178) return 0xFF;
        if (c == 0x130 || c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
        const bool oddPairs = (c >= 0x139 && c <= 0x148) || c >= 0x179;
        return (c % 2 == 0) != oddPairs ? c + 1 : c;
    }
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 0x20;            // Greek
    if (c >= 0x410 && c <= 0x42F) return c + 0x20;                         // Cyrillic
    if (c >= 0x400 && c <= 0x40F) return c + 0x50;
    return c;
}

void PutUtf8(unsigned c, std::string& out) {
    if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    }
    out += static_cast<char>(0x80 | (c & 0x3F));
}

bool Blank(const char* text) {
    for (const char* p = text; *p != '\0'; ++p)
        if (*p != ' ' && *p != '\t') return false;
    return true;
}

}  // namespace

void CCfgFilter::Fold(const char* text, std::string& out) {
    out.clear();
    if (text == nullptr) return;
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    out.reserve(std::strlen(text));
    while (*p != 0) {
        const unsigned char b = *p;
        if (b < 0x80) {
            out += static_cast<char>(b >= 'A' && b <= 'Z' ? b + 0x20 : b);
            ++p;
            continue;
        }
        // Only two-byte sequences hold the capitals folded here; everything
        // else goes through byte by byte, untouched.
        if ((b & 0xE0) == 0xC0 && (p[1] & 0xC0) == 0x80) {
            const unsigned c = ((b & 0x1Fu) << 6) | (p[1] & 0x3Fu);
            if (c >= 0x80) {
                PutUtf8(LowerOf(c), out);
                p += 2;
                continue;
            }
        }
        out += static_cast<char>(b);
        ++p;
    }
}

void CCfgFilter::Index(const CCfgDoc& doc) {
    m_Entries.clear();
    m_Where.clear();
    m_Entries.reserve(doc.Items.size());
    CTxt text;
    for (const auto& item : doc.Items) {
        Entry entry;
        entry.Item = item.get();
        Fold(item->Name, entry.Name);
        doc.LabelValue(*item, text);
        Fold(text, entry.Value);
        doc.ItemDescription(*item, text);
        Fold(text, entry.Description);
        m_Where[entry.Item] = m_Entries.size();
        m_Entries.push_back(std::move(entry));
    }
}

void CCfgFilter::Update(const CCfgDoc& doc, const CCfgItem& item) {
    const auto where = m_Where.find(&item);
    if (where == m_Where.end()) return;
    CTxt text;
    doc.LabelValue(item, text);
    Fold(text, m_Entries[where->second].Value);
}

size_t CCfgFilter::Match(const char* text, bool modifiedOnly, std::vector<CCfgItem*>& out) const {
    out.clear();
    const bool all = text == nullptr || Blank(text);
    std::string needle;
    if (!all) Fold(text, needle);
    for (const Entry& entry : m_Entries) {
        if (modifiedOnly && !entry.Item->Modified) continue;
        if (all || entry.Name.find(needle) != std::string::npos || entry.Value.find(needle) != std::string::npos ||
            entry.Description.find(needle) != std::string::npos) {
            out.push_back(entry.Item);
        }
    }
    return out.size();
}
