// Entering, applying, restoring and resetting a parameter, value lists and
// description lines.

#include <strings.h>

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "Core/Config/CCfgDoc.h"
#include "Core/Platform/UserInterface.h"
#include "Core/Platform/Translation.h"
#include "Core/System/Launch.h"
#include "Core/System/Profile.h"
#include "Core/Text/RuntimeConv.h"

namespace {

// Past single precision the program reads a number back as infinity.
const double kFloatLimit = FLT_MAX;
const char* const kMaskedValue = "********";

bool SameNoCase(const char* a, const char* b) { return strcasecmp(a, b) == 0; }

// Both unfilled counts as equal; one filled, the other not, as different.
bool SameValue(const CDataValue& a, const CDataValue& b) {
    if (!a.IsFilled() || !b.IsFilled()) return a.IsFilled() == b.IsFilled();
    return a.Compare(&b) == 0;
}

bool Beyond(double v) { return !std::isfinite(v) || std::fabs(v) > kFloatLimit; }

// Leading blanks, then a sign and digits, or a point and digits: whether the
// text begins with a number at all ("12abc" does, "abc" and "" do not).
bool StartsWithNumber(const char* s) {
    while (*s == ' ' || *s == '\t') ++s;
    if (*s == '+' || *s == '-') ++s;
    if (*s == '.') ++s;
    return *s >= '0' && *s <= '9';
}

// The leading whole number of s; false without one. Saturates far beyond 32
// bits, so a long run of digits still reads as too large, never wraps.
bool LeadingWhole(const char* s, int64_t& value) {
    while (*s == ' ' || *s == '\t') ++s;
    const bool negative = *s == '-';
    if (*s == '+' || *s == '-') ++s;
    if (*s < '0' || *s > '9') return false;
    value = 0;
    for (; *s >= '0' && *s <= '9'; ++s) {
        if (value < (int64_t{1} << 40)) value = value * 10 + (*s - '0');
    }
    if (negative) value = -value;
    return true;
}

enum ListResult { kListOk = 0, kListTooMany = -2, kListBeyond = -3 };

// Adds the values of one "from>to/step" field; counts every value it names,
// so the cap bounds the work whatever the numbers are.
int AddRange(const std::string& field, size_t gt, std::vector<double>& values) {
    const double from = zam::RuntimeAtof(field.substr(0, gt).c_str());
    const size_t slash = field.find('/', gt + 1);
    const double to = zam::RuntimeAtof(
        field.substr(gt + 1, slash == std::string::npos ? std::string::npos : slash - gt - 1).c_str());
    double step = slash == std::string::npos ? 0.0 : zam::RuntimeAtof(field.c_str() + slash + 1);
    if (Beyond(from) || Beyond(to) || Beyond(step)) return kListBeyond;
    if (step == 0.0) step = to > from ? 1.0 : -1.0;
    if ((to - from) * step < 0) step = -step;
    if (from > to) return kListOk;
    if (values.size() >= static_cast<size_t>(CCfgDoc::kMaxListValues)) return kListTooMany;
    values.push_back(from);
    if (step <= 0.0) return kListOk;  // equal bounds: that one value
    // Steps, not distinct values, are counted: in 1e30>2e30 every step of 1
    // is lost in rounding, and a count of distinct values would never grow.
    // The small allowance keeps 0>0.3/0.1 ending at 0.3 despite binary
    // fractions.
    const double steps = std::floor((to - from) / step + 1e-7);
    if (steps > static_cast<double>(CCfgDoc::kMaxListValues) - static_cast<double>(values.size()))
        return kListTooMany;
    const int n = static_cast<int>(steps);
    for (int k = 1; k <= n; ++k) values.push_back(std::min(from + k * step, to));
    return kListOk;
}

// The list text the messages name: whole unless it is very long.
std::string ListForMessage(const std::string& text) {
    if (text.size() <= 200) return text;
    size_t cut = 200;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    return text.substr(0, cut) + "\xE2\x80\xA6";
}

}  // namespace

int CCfgDoc::ExpandValueList(const char* list, CTxt& out) {
    const std::string text = list != nullptr ? list : "";
    std::vector<double> values;
    int result = kListOk;
    for (size_t at = 0; at <= text.size() && result == kListOk;) {
        size_t comma = text.find(',', at);
        if (comma == std::string::npos) comma = text.size();
        const std::string field = text.substr(at, comma - at);
        const size_t gt = field.find('>');
        if (gt != std::string::npos) {
            result = AddRange(field, gt, values);
        } else if (field.find_first_not_of(" \t") != std::string::npos) {
            const double v = zam::RuntimeAtof(field.c_str());
            if (Beyond(v)) {
                result = kListBeyond;
            } else if (values.size() >= static_cast<size_t>(kMaxListValues)) {
                result = kListTooMany;
            } else {
                values.push_back(v);
            }
        }
        at = comma + 1;
    }
    if (result == kListTooMany) {
        out.Format(Tr("Too many values in %s: a value list holds at most %d"), ListForMessage(text).c_str(),
                   kMaxListValues);
        return result;
    }
    if (result == kListBeyond) {
        out.Format(Tr("Number beyond 3.4e38 in %s"), ListForMessage(text).c_str());
        return result;
    }
    if (values.empty()) {
        out.Format(Tr("Missing Strategy Input Value(s) in %s"), text.c_str());
        return -1;
    }
    std::sort(values.begin(), values.end());
    // Distinct as written: two values that differ only beyond the second
    // decimal would otherwise show as the same number twice.
    // Gathered in one string: a text grown to fit at each append would copy
    // the whole list once per value.
    std::string written, previous;
    CTxt number;
    int count = 0;
    for (double v : values) {
        number.MakeValueTxt(v, 2);
        if (count > 0 && previous == number.GetData()) continue;
        if (count > 0) written += ',';
        written += number.GetData();
        previous = number.GetData();
        ++count;
    }
    out = written.c_str();
    return count;
}

void CCfgDoc::DisplayValue(const CCfgItem& item, const char* value, CTxt& out, int maxChars) {
    const char* v = value != nullptr ? value : "";
    if (item.IsPassword()) {
        out = v[0] != '\0' ? kMaskedValue : "";
        return;
    }
    const std::string text = v;
    std::string shown;
    int chars = 0;
    size_t i = 0;
    for (; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && ++chars > maxChars) break;
    }
    if (i >= text.size()) {
        out = v;
        return;
    }
    shown = text.substr(0, i) + "\xE2\x80\xA6";
    out = shown.c_str();
}

int CCfgDoc::Refuse(const char* message, const char* expected, int code, CTxt& err) {
    err = message;
    if (m_Quiet != nullptr) return code;  // DefaultAll names the refused defaults once
    CTxt box;
    CTxt form;
    form.Format(Tr("Expected %s."), Tr(expected));
    box.Format("%s\r\n%s", message, static_cast<const char*>(form));
    zam::platform::ShowMessageBox(box, AppName, MB_OK | MB_ICONEXCLAMATION);
    return code;
}

int CCfgDoc::ChgData(const char* entered, CTxt& err) {
    if (CurItem == nullptr) {
        err = "ChgData: Missing current Item";
        return -1;
    }
    CCfgItem& item = *CurItem;
    const char* s = entered != nullptr ? entered : "";
    CTxt shown;
    DisplayValue(item, s, shown);
    CTxt notAccepted;
    notAccepted.Format(Tr("%s Parameter %s: '%s' is not accepted"), static_cast<const char*>(item.Group),
                       static_cast<const char*>(item.Name), static_cast<const char*>(shown));
    CDataValue& value = item.EnteredValue();
    CTxt t;
    switch (item.Type) {
    case CFGTYPE_INT:
    case CFGTYPE_INTNEG: {
        int64_t whole = 0;
        const char* form =
            item.Type == CFGTYPE_INT ? TrNoop("a whole number, such as 25") : TrNoop("a whole number, such as -5 or 25");
        if (!LeadingWhole(s, whole)) return Refuse(notAccepted, form, -3, err);
        if (whole < INT_MIN || whole > INT_MAX)
            return Refuse(notAccepted, TrNoop("a whole number from -2147483648 to 2147483647"), -4, err);
        value.SetIntVal(static_cast<int>(whole));
        t.Format("%d", static_cast<int>(whole));
        break;
    }
    case CFGTYPE_FLOAT: {
        if (!StartsWithNumber(s)) return Refuse(notAccepted, TrNoop("a number, such as 1.5"), -3, err);
        const double number = zam::RuntimeAtof(s);
        if (Beyond(number)) return Refuse(notAccepted, TrNoop("a number from -3.4e38 to 3.4e38"), -4, err);
        value.SetFloatVal(static_cast<float>(number));
        t.Format("%.*f", item.Decimals, number);
        break;
    }
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
    case CFGTYPE_PARFLT: {
        // A refused list leaves the item as it was: its message is for the
        // user, never a value.
        const int n = ExpandValueList(s, t);
        if (n < 0) {
            CTxt message;
            if (n == -1) {
                message.Format(Tr("Missing Strategy Input Value(s) in %s"), static_cast<const char*>(shown));
            } else {
                message = item.IsPassword() ? static_cast<const char*>(notAccepted) : static_cast<const char*>(t);
            }
            CTxt form;
            form.Format(Tr("numbers and ranges from>to/step separated by commas, such as 1,5,10>20/2, "
                           "at most %d values, each up to 3.4e38"),
                        kMaxListValues);
            return Refuse(message, form, -2, err);
        }
        value.SetText(t);
        break;
    }
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
        if (CfgDateText(s, t) == 0)
            return Refuse(notAccepted, TrNoop("a date that exists, written month/day/year, such as 12/31/2026"), -3,
                          err);
        value.SetText(t);
        break;
    case CFGTYPE_COLOR:
        if (CfgColorText(s, t) == 0) {
            return Refuse(notAccepted,
                          TrNoop("a colour as red,green,blue (such as 255,128,0), as 0xBBGGRR (such as 0x91FFFF) "
                                 "or as a name (such as red)"),
                          -3, err);
        }
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

void CCfgDoc::WriteStored(const CCfgItem& item, const char* text) {
    if (item.Reg.IsEmpty()) {
        ProfileWriteStr(item.Sect, item.Name, text);
    } else {
        RegSetGlobal(item.Name, text, item.Reg);
    }
}

void CCfgDoc::WriteAndReport(CCfgItem& item, const char* target) {
    CTxt old;
    ReadStoredText(item, "", old);
    const CTxt written(target);
    if (SameNoCase(old, written)) return;
    WriteStored(item, written);
    item.Updated = SameNoCase(written, item.OpenText) ? 0 : 1;
    UpdateModified(item, written);
    if (item.Type != CFGTYPE_PARSRC && m_View != nullptr) m_View->SetValueText(item.NewText);
    MarkChanged(item);
    CTxt oldShown, newShown, message;
    DisplayValue(item, old, oldShown);
    DisplayValue(item, written, newShown);
    if (m_Quiet != nullptr) {
        message.Format(Tr("%s Parameter %s: %s -> %s"), static_cast<const char*>(item.Group),
                       static_cast<const char*>(item.Name), static_cast<const char*>(oldShown),
                       static_cast<const char*>(newShown));
        m_Quiet->push_back(static_cast<const char*>(message));
        return;
    }
    CTxt heading;
    heading.Format(Tr("Updated %s Parameter %s:"), static_cast<const char*>(item.Group),
                   static_cast<const char*>(item.Name));
    message.Format("%s\r\n%s -> %s", static_cast<const char*>(heading), static_cast<const char*>(oldShown),
                   static_cast<const char*>(newShown));
    zam::platform::ShowMessageBox(message, AppName, MB_OK | MB_ICONINFORMATION);
}

void CCfgDoc::ApplyItem() {
    // Nothing entered yet (a list left untouched): nothing to write, and
    // certainly not an empty value over the stored one.
    if (CurItem == nullptr || !CurItem->Entered) return;
    CCfgItem& item = *CurItem;
    if (item.Changed) {
        WriteAndReport(item, item.NewText);
        return;
    }
    // The value the editor opened with: written only to undo an earlier
    // write, and then as the very text that was stored, not its normal form.
    CTxt current;
    ReadStoredText(item, current);
    if (!SameNoCase(current, item.OpenText)) WriteAndReport(item, item.OpenText);
}

void CCfgDoc::RestoreItem() {
    if (CurItem == nullptr) return;
    CCfgItem& item = *CurItem;
    item.NewText = static_cast<const char*>(item.ShownText);
    item.EnteredValue() = item.LoadedValue();
    item.Changed = 0;
    item.Entered = 1;
    if (m_View != nullptr) {
        m_View->UpdateButtons(item);
        CTxt choice;
        ChoiceText(item, choice);
        m_View->SetValueText(choice);
    }
    CTxt current;
    ReadStoredText(item, current);
    if (!SameNoCase(current, item.OpenText)) {
        WriteAndReport(item, item.OpenText);
    } else if (item.Updated) {
        item.Updated = 0;
        MarkChanged(item);
    }
}

void CCfgDoc::DefaultItem() {
    if (CurItem == nullptr) return;
    CTxt err;
    const CTxt dflt(CurItem->Dflt);
    if (ChgData(dflt, err) != 0) return;
    ApplyItem();
    if (m_View != nullptr && CurItem->Entered) {
        CTxt choice;
        ChoiceText(*CurItem, choice);
        m_View->SetValueText(choice);
    }
}

void CCfgDoc::ChoiceText(const CCfgItem& item, CTxt& out) const {
    out = static_cast<const char*>(item.NewText);
    if (item.Type != CFGTYPE_PARSRC) return;
    const int n = CfgParSrcNumber(item.NewText);
    if (n >= 1 && n <= 8) out = kCfgPriceSources[n - 1];
}

int CCfgDoc::CountUpdated() const {
    int n = 0;
    for (const auto& item : Items) n += item->Updated == 1 ? 1 : 0;
    return n;
}

void CCfgDoc::LabelValue(const CCfgItem& item, CTxt& out) const {
    DisplayValue(item, item.Updated ? item.NewText : item.ShownText, out);
}

void CCfgDoc::ItemLabel(const CCfgItem& item, CTxt& out) const {
    CTxt value;
    LabelValue(item, value);
    out.Format("%s=%s%s", static_cast<const char*>(item.Name), static_cast<const char*>(value),
               item.Updated ? "*" : "");
}

void CCfgDoc::MarkChanged(CCfgItem& item) {
    CTxt label;
    ItemLabel(item, label);
    if (m_View != nullptr) m_View->SetTreeLabel(item, label);
}

void CCfgDoc::SplitDescription(const char* text, std::vector<CfgDescLine>& lines, int wrapAt) {
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
        // A blank from the wrapAt-th character on ends the line; the blanks
        // after it start no new one.
        if (c == ' ' && wrapAt > 0 && line.size() >= static_cast<size_t>(wrapAt) - 1) {
            finish(line);
            line.clear();
            skipBlanks = true;
            continue;
        }
        line += c;
    }
    if (!line.empty()) finish(line);
}

void CCfgDoc::NormalForm(const CCfgItem& item, const char* text, CTxt& out) {
    const char* s = text != nullptr ? text : "";
    out = s;
    switch (item.Type) {
    case CFGTYPE_INT:
    case CFGTYPE_INTNEG:
        out.Format("%d", zam::RuntimeAtoi(s));
        break;
    case CFGTYPE_FLOAT:
        out.Format("%.*f", item.Decimals, zam::RuntimeAtof(s));
        break;
    case CFGTYPE_TEXT:
        out.MakeLength(item.Width);
        out.Trim(' ');
        break;
    case CFGTYPE_PARTXT:
        out.Trim(' ');
        break;
    case CFGTYPE_BOOL:
        out = CfgYesNo(s) ? "YES" : "NO";
        break;
    case CFGTYPE_PARINT:
    case CFGTYPE_PARFLT: {
        CTxt list;
        if (ExpandValueList(s, list) >= 0) out = static_cast<const char*>(list);
        break;
    }
    case CFGTYPE_PARSRC: {
        const int n = CfgParSrcNumber(s);
        if (n >= 1 && n <= 8) out.Format("%d", n);
        break;
    }
    case CFGTYPE_DATE:
        CfgDateText(s, out);
        break;
    case CFGTYPE_COLOR:
        CfgColorText(s, out);
        break;
    default:
        break;
    }
}

void CCfgDoc::UpdateModified(CCfgItem& item, const char* stored) {
    CTxt now, dflt;
    NormalForm(item, stored, now);
    NormalForm(item, item.Dflt, dflt);
    item.Modified = std::strcmp(now, dflt) != 0 ? 1 : 0;
}

int CCfgDoc::CountModified() const {
    int n = 0;
    for (const auto& item : Items) n += item->Modified;
    return n;
}

int CCfgDoc::DefaultAll(CTxt& report) {
    report.MakeEmpty();
    const int differing = CountModified();
    if (differing == 0) {
        report = Tr("Every setting has its default value.");
        zam::platform::ShowMessageBox(report, AppName, MB_OK | MB_ICONINFORMATION);
        return 0;
    }
    CTxt question;
    if (differing == 1) question = Tr("Set the 1 setting that differs from its default back to it?");
    else question.Format(Tr("Set all %d settings that differ from their default back to it?"), differing);
    if (zam::platform::ShowMessageBox(question, AppName, MB_YESNO | MB_ICONQUESTION) != IDYES) return 0;

    // Each item goes the way of its Default button, with the pane's view
    // and the boxes held back: the view shows one item, and one box per
    // item is what this saves the user from.
    CCfgItem* const current = CurItem;
    CCfgView* const view = m_View;
    std::vector<std::string> lines;
    std::vector<CCfgItem*> written;
    std::string left;
    m_Quiet = &lines;
    m_View = nullptr;
    for (const auto& owned : Items) {
        CCfgItem& item = *owned;
        if (!item.Modified) continue;
        CurItem = &item;
        CTxt err;
        const size_t before = lines.size();
        if (ChgData(item.Dflt, err) == 0) ApplyItem();
        if (lines.size() > before) written.push_back(&item);
        if (item.Modified) {
            left += left.empty() ? "" : ", ";
            CTxt named;
            named.Format(Tr("%s Parameter %s"), static_cast<const char*>(item.Group), static_cast<const char*>(item.Name));
            left += static_cast<const char*>(named);
        }
    }
    m_Quiet = nullptr;
    m_View = view;
    CurItem = current;
    for (CCfgItem* item : written) MarkChanged(*item);
    if (m_View != nullptr && current != nullptr) m_View->UpdateButtons(*current);

    const int n = static_cast<int>(written.size());
    CTxt heading;
    if (n == 1) heading = Tr("Set 1 setting back to its default:");
    else heading.Format(Tr("Set %d settings back to their default:"), n);
    std::string text = static_cast<const char*>(heading);
    for (const std::string& line : lines) text += "\r\n" + line;
    if (!left.empty()) {
        CTxt unchanged;
        unchanged.Format(Tr("Left as they are, since their default is not a value of their type: %s"), left.c_str());
        text += std::string("\r\n\r\n") + static_cast<const char*>(unchanged);
    }
    report = text.c_str();
    zam::platform::ShowMessageBox(report, AppName, MB_OK | (left.empty() ? MB_ICONINFORMATION : MB_ICONEXCLAMATION));
    return n;
}
