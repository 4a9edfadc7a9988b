// CTxtArray: loading lines from files, comma-separated files, and saving.

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "Core/Text/CTxtArray.h"
#include "Core/Text/TextFunc.h"

namespace {

// Lines of up to 100,000 characters, as the readers promise.
const int kLineArea = 100001;

void CannotOpen(CTxt& err, const char* path, int error) {
    err.Format("Cannot open %s (%s)", path, std::strerror(error));
}

}  // namespace

int CTxtArray::LoadFromFile(const char* path, CTxt& err, int keepLast) {
    const char* name = path != nullptr ? path : "";
    FILE* f = std::fopen(name, "rb");
    if (f == nullptr) {
        CannotOpen(err, name, errno);
        return -1;
    }
    RemoveAll();
    BulkGrowth growth(m_Items);
    std::vector<char> line(kLineArea);
    for (;;) {
        const int n = freadline(line.data(), kLineArea, f);
        if (n < 0) {
            if (keepLast) Add(line.data());
            break;
        }
        growth.Added(Add(line.data()) + 1);
    }
    std::fclose(f);
    return GetSize();
}

int CTxtArray::LoadFromFileBuf(const char* path, CTxt& err, int maxLines) {
    const char* name = path != nullptr ? path : "";
    if (bufopen(name) != 1) {
        CannotOpen(err, name, errno != 0 ? errno : ENOENT);
        bufclose();
        return -1;
    }
    if (maxLines >= 0) RemoveAll();
    BulkGrowth growth(m_Items);
    std::vector<char> line(kLineArea);
    for (int n; (n = bufgetline(line.data(), kLineArea)) >= 0;) {
        growth.Added(AddPooled(line.data(), n) + 1);
        if (maxLines > 0 && GetSize() >= maxLines) break;
    }
    bufclose();
    return GetSize();
}

int CTxtArray::LoadFromCSV(const char* path, CTxt& err) {
    if (LoadFromFileBuf(path, err, 0) < 0) return -1;
    std::string rewritten;
    for (int i = 0; i < GetSize(); ++i) {
        CTxt* line = GetAt(i);
        if (line == nullptr) continue;
        // Quotes only group: a comma inside them is data, one outside is a column break.
        rewritten.clear();
        bool quoted = false;
        for (const char* p = line->GetData() != nullptr ? line->GetData() : ""; *p != '\0'; ++p) {
            if (*p == '"') {
                quoted = !quoted;
            } else if (*p == ',' && !quoted) {
                rewritten += '\t';
            } else {
                rewritten += *p;
            }
        }
        line->SetTxt(rewritten.c_str());
    }
    return GetSize();
}

int CTxtArray::SaveToFile(const char* path, CTxt& msg, int maxLines, int append) {
    const char* name = path != nullptr ? path : "";
    FILE* f = std::fopen(name, append == 1 ? "ab" : "wb");
    if (f == nullptr) {
        CannotOpen(msg, name, errno);
        return -1;
    }
    const int count = maxLines > 0 && maxLines < GetSize() ? maxLines : GetSize();
    bool ok = true;
    for (int i = 0; i < count && ok; ++i) {
        const CTxt* text = GetAt(i);
        if (text != nullptr && text->GetLength() > 0) {
            ok = std::fwrite(text->GetData(), 1, static_cast<size_t>(text->GetLength()), f) ==
                 static_cast<size_t>(text->GetLength());
        }
        ok = ok && std::fwrite("\r\n", 1, 2, f) == 2;
    }
    ok = std::fflush(f) == 0 && ok;
    const int error = errno;
    ok = std::fclose(f) == 0 && ok;
    if (!ok) {
        // A full disk must not be reported as saved lines.
        msg.Format("Cannot write %s (%s)", name, std::strerror(error));
        return -1;
    }
    msg.Format(GetSize() > 1 ? "Saved %d lines to %s" : "Saved %d line to %s", GetSize(), name);
    return 0;
}

int CTxtArray::SaveToNextFile(const char* pattern, CTxt& msg) {
    const char* p = pattern != nullptr ? pattern : "";
    CTxt name;
    if (std::strchr(p, '%') == nullptr || name.GetNextFile(p) < 0) {
        msg.Format("Missing Sequence Placeholder (%%) in: %s", p);
        return -10;
    }
    return SaveToFile(name, msg, 0, 0);
}
