// Entering, applying, restoring and resetting a parameter, value lists and
// description lines.

#include <strings.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "Core/Config/CCfgDoc.h"
#include "Core/Platform/UserInterface.h"
#include "Core/System/Launch.h"
#include "Core/System/Profile.h"
#include "Core/Text/RuntimeConv.h"

namespace {

// A range like 0>1e9/1e-9 would never end; far more values than any list of
// settings needs end it.
const size_t kMaxListValues = 10000;

void AddDistinct(std::vector<float>& values, float v) {
    if (std::find(values.begin(), values.end(), v) == values.end()) values.push_back(v);
}

void ExpandRange(const std::string& field, size_t gt, std::vector<float>& values) {
    const float from = static_cast<float>(zam::RuntimeAtof(field.substr(0, gt).c_str()));
    const size_t slash = field.find('/', gt + 1);
    const float to = static_cast<float>(zam::RuntimeAtof(
        field.substr(gt + 1, slash == std::string::npos ? std::string::npos : slash - gt - 1).c_str()));
    float step = slash == std::string::npos ? 0.0f
                                            : static_cast<float>(zam::RuntimeAtof(field.c_str() + slash + 1));
    if (step == 0.0f) step = to > from ? 1.0f : -1.0f;
    if ((to - from) * step < 0) step = -step;
    if (from > to) return;
    AddDistinct(values, from);
    if (step <= 0.0f) return;  // equal bounds: that one value
    for (size_t k = 1; values.size() < kMaxListValues; ++k) {
        const float v = from + static_cast<float>(k) * step;
        if (v > to) break;
        AddDistinct(values, v);
    }
}

bool SameNoCase(const char* a, const char* b) { return strcasecmp(a, b) == 0; }

// Both unfilled counts as equal; one filled, the other not, as different.
bool SameValue(const CDataValue& a, const CDataValue& b) {
    if (!a.IsFilled() || !b.IsFilled()) return a.IsFilled() == b.IsFilled();
    return a.Compare(&b) == 0;
}

}  // namespace

int CCfgDoc::ExpandValueList(const char* list, CTxt& out) {
    const std::string text = list != nullptr ? list : "";
    std::vector<float> values;
    for (size_t at = 0; at <= text.size() && values.size() < kMaxListValues;) {
        size_t comma = text.find(',', at);
        if (comma == std::string::npos) comma = text.size();
        const std::string field = text.substr(at, comma - at);
        const size_t gt = field.find('>');
        if (gt == std::string::npos) {
            if (field.find_first_not_of(" \t") != std::string::npos)
                AddDistinct(values, static_cast<float>(zam::RuntimeAtof(field.c_str())));
        } else {
            ExpandRange(field, gt, values);
        }
        at = comma + 1;
    }
    if (values.empty()) {
        out.Format("Missing Strategy Input Value(s) in %s", text.c_str());
        return -1;
    }
    std::sort(values.begin(), values.end());
    out.MakeEmpty();
    for (size_t i = 0; i < values.size(); ++i) {
        CTxt number;
        number.MakeValueTxt(values[i], 2);
        if (i > 0) out.Add(',');
        out.AddTxt(number);
    }
    return static_cast<int>(values.size());
}

int CCfgDoc::ChgData(const char* entered, CTxt& err) {
    if (CurItem == nullptr) {
        err = "ChgData: Missing current Item";
        return -1;
    }
    CCfgItem& item = *CurItem;
    const char* s = entered != nullptr ? entered : "";
    CDataValue& value = item.EnteredValue();
    CTxt t;
    switch (item.Type) {
    case CFGTYPE_INT:
    case CFGTYPE_INTNEG:
        value.SetIntVal(zam::RuntimeAtoi(s));
        t.Format("%d", zam::RuntimeAtoi(s));
        break;
    case CFGTYPE_FLOAT:
        value.SetFloatVal(static_cast<float>(zam::RuntimeAtof(s)));
        t.Format("%.*f", item.Decimals, zam::RuntimeAtof(s));
        break;
    case CFGTYPE_TEXT:
        t = s;
        t.Trim(' ');
        t.MakeLength(item.Width);
        value.SetText(t);
        break;
    case CFGTYPE_BOOL:
        value.SetIntVal(CfgYesNo(s));
        t = CfgYesNo(s) ? "YES" : "NO";
        break;
    case CFGTYPE_PARINT:
    case CFGTYPE_PARFLT:
        // A list without values leaves the item as it was: its message is
        // for the user, never a value.
        if (ExpandValueList(s, t) < 0) {
            err = static_cast<const char*>(t);
            return -2;
        }
        value.SetText(t);
        break;
    case CFGTYPE_PARTXT:
        t = s;
        t.Trim(' ');
        value.SetText(t);
        break;
    case CFGTYPE_PARSRC: {
        const int n = CfgParSrcNumber(s);
        if (n < 1 || n > 8) return 0;  // the text stays as typed, nothing else changes
        item.NewText.Format("%d", n);
        value.SetText(item.NewText);
        item.Entered = 1;
        item.Changed = SameValue(value, item.LoadedValue()) ? 0 : 1;
        if (m_View != nullptr) m_View->UpdateButtons(item);
        return 0;
    }
    case CFGTYPE_DATE:
        CfgDateText(s, t);
        value.SetText(t);
        break;
    case CFGTYPE_COLOR:
        CfgColorText(s, t);
        value.SetText(t);
        break;
    default:
        return 0;
    }
    item.Changed = SameValue(value, item.LoadedValue()) ? 0 : 1;
    if (m_View != nullptr) m_View->UpdateButtons(item);
    item.NewText = static_cast<const char*>(t);
    item.Entered = 1;
    if (!SameNoCase(t, s) && m_View != nullptr) m_View->SetValueText(t);
    return 0;
}

void CCfgDoc::ApplyItem() {
    // Nothing entered yet (a list left untouched): nothing to write, and
    // certainly not an empty value over the stored one.
    if (CurItem == nullptr || !CurItem->Entered) return;
    CCfgItem& item = *CurItem;
    CTxt old;
    if (item.Reg.IsEmpty()) {
        ProfileReadStr(item.Sect, item.Name, "", old);
        ProfileWriteStr(item.Sect, item.Name, item.NewText);
    } else {
        std::string stored;
        RegGetGlobal(item.Name, stored, item.Dflt, item.Reg, 1);
        old = stored.c_str();
        RegSetGlobal(item.Name, item.NewText, item.Reg);
    }
    if (SameNoCase(old, item.NewText)) return;
    if (item.Type != CFGTYPE_PARSRC && m_View != nullptr) m_View->SetValueText(item.NewText);
    MarkChanged(item);
    CTxt message;
    message.Format("Updated %s Parameter %s:\r\n%s -> %s", static_cast<const char*>(item.Group),
                   static_cast<const char*>(item.Name), static_cast<const char*>(old),
                   static_cast<const char*>(item.NewText));
    zam::platform::ShowMessageBox(message, AppName, MB_OK | MB_ICONINFORMATION);
}

void CCfgDoc::RestoreItem() {
    if (CurItem == nullptr) return;
    CTxt err;
    const CTxt shown(CurItem->ShownText);
    if (ChgData(shown, err) == 0) ApplyItem();
}

void CCfgDoc::DefaultItem() {
    if (CurItem == nullptr) return;
    CTxt err;
    const CTxt dflt(CurItem->Dflt);
    if (ChgData(dflt, err) == 0) ApplyItem();
}

int CCfgDoc::CountUpdated() const {
    int n = 0;
    for (const auto& item : Items) n += item->Changed == 1 ? 1 : 0;
    return n;
}

void CCfgDoc::MarkChanged(CCfgItem& item) {
    CTxt label;
    label.Format("%s=%s*", static_cast<const char*>(item.Name), static_cast<const char*>(item.NewText));
    if (m_View != nullptr) m_View->SetTreeLabel(item, label);
}

void CCfgDoc::SplitDescription(const char* text, std::vector<CfgDescLine>& lines) {
    lines.clear();
    std::string line;
    auto finish = [&lines](const std::string& content) {
        CfgDescLine out;
        if (strncasecmp(content.c_str(), "{Pic", 4) == 0) {
            out.LineKind = CfgDescLine::Picture;
            const size_t colon = content.find(':');
            std::string name = colon == std::string::npos ? std::string() : content.substr(colon + 1);
            const size_t next = name.find(':');
            if (next != std::string::npos) name.resize(next);
            name.erase(std::remove_if(name.begin(), name.end(), [](char c) { return c == '{' || c == '}'; }),
                       name.end());
            out.Content = name.c_str();
        } else if (strncasecmp(content.c_str(), "{Line", 5) == 0) {
            out.LineKind = CfgDescLine::Rule;
        } else {
            out.Content = content.c_str();
        }
        lines.push_back(std::move(out));
    };
    const char* p = text != nullptr ? text : "";
    bool skipBlanks = false;
    for (; *p != '\0'; ++p) {
        const char c = *p;
        if (c == '\r') continue;
        if (skipBlanks && c == ' ') continue;
        skipBlanks = false;
        if (c == '\n') {
            finish(line);
            line.clear();
            continue;
        }
        // A blank from the 80th character on ends the line; the blanks after
        // it start no new one.
        if (c == ' ' && line.size() >= 79) {
            finish(line);
            line.clear();
            skipBlanks = true;
            continue;
        }
        line += c;
    }
    if (!line.empty()) finish(line);
}
