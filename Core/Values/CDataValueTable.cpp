#include "Core/Values/CDataValueTable.h"

#include <sys/stat.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "Core/System/Log.h"
#include "Core/System/Profile.h"
#include "Core/Text/TextFunc.h"
#include "Core/Time/CZAMDateTime.h"

namespace {

const float kNoNumber = CDataValue::kNoNumber;

// A mean that skips missing numbers; 1e9 when there is nothing to average.
class Mean {
public:
    void Add(float v) {
        if (v == kNoNumber) return;
        m_Sum += v;
        ++m_Count;
    }
    void Add(const Mean& other) {
        m_Sum += other.m_Sum;
        m_Count += other.m_Count;
    }
    float Value() const { return m_Count > 0 ? static_cast<float>(m_Sum / m_Count) : kNoNumber; }

private:
    double m_Sum = 0;
    int m_Count = 0;
};

bool FileHasContent(const char* path) {
    struct stat st{};
    return stat(path, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0;
}

}  // namespace

CDataValueTable::CDataValueTable() = default;

CDataValueTable::~CDataValueTable() { Release(); }

void CDataValueTable::Release() {
    ReleaseSet();
    ReleaseFld();
}

void CDataValueTable::ReleaseSet() {
    for (int i = 0; i < m_Sets.GetSize(); ++i) delete m_Sets.GetAt(i);
    m_Sets.RemoveAll();
}

void CDataValueTable::ReleaseFld() { m_Fields.RemoveAll(); }

CDataValueSet* CDataValueTable::GetSet(int i) const { return m_Sets.GetAt(i); }

CDataValueSet* CDataValueTable::FindSet(const char* name) const {
    if (name == nullptr) return nullptr;
    for (int i = 0; i < m_Sets.GetSize(); ++i) {
        CDataValueSet* set = m_Sets.GetAt(i);
        if (set != nullptr && stricmpmode(set->GetName(), name, 1) == 0) return set;
    }
    return nullptr;
}

CDataValueSet* CDataValueTable::AddSet(const char* name) {
    if (CDataValueSet* existing = FindSet(name)) return existing;
    auto* set = new CDataValueSet();
    if (name != nullptr) {
        set->SetName(name);
    } else {
        CTxt number;
        number.Format("%07d", m_Sets.GetSize() + 1);
        set->SetName(number);
    }
    m_Sets.Add(set);
    return set;
}

int CDataValueTable::AddFld(const char* name, DataValType type, int width, int precision) {
    const char* fieldName = name != nullptr ? name : "";
    const int existing = FindFld(fieldName);
    if (existing >= 0) {
        LogTrace("DataTable", 1, "Duplicate Table Field %s (Fld#%d)", fieldName, existing);
        return -1;
    }
    CTxt entry;
    entry.Format("%s\t%d\t%d\t%d", fieldName, static_cast<int>(type), width, precision);
    return m_Fields.Add(entry);
}

const char* CDataValueTable::GetFld(int i) const { return i < 0 ? nullptr : m_Fields.GetAtTxt(i); }

int CDataValueTable::FindFld(const char* name) const {
    if (name == nullptr) return -1;
    char fieldName[1000];
    for (int i = 0; i < m_Fields.GetSize(); ++i) {
        const char* entry = m_Fields.GetAtTxt(i);
        if (entry == nullptr) continue;
        strfld(entry, '\t', 1, 0, fieldName, sizeof fieldName);
        if (stricmpmode(fieldName, name, 1) == 0) return i;
    }
    return -1;
}

CDataValueTable::Field CDataValueTable::ParseField(int i) const {
    Field field;
    const char* entry = GetFld(i);
    if (entry == nullptr) return field;
    strfldtxt(entry, '\t', 1, 0, field.Name);
    field.Type = strfldint(entry, '\t', 2);
    field.Width = strfldint(entry, '\t', 3);
    field.Precision = strfldint(entry, '\t', 4);
    return field;
}

int CDataValueTable::AddXRange(float min, float max) {
    CDataValue range;
    range.SetRange(min, max);
    m_XRanges.AddVal(&range);
    return m_XRanges.GetNumVal();
}

int CDataValueTable::GetXRange(int i, float* min, float* max) const {
    if (i < 0 || i >= m_XRanges.GetNumVal()) return -1;
    const CDataValue* range = m_XRanges.GetVal(static_cast<unsigned>(i));
    if (min != nullptr) *min = range->GetFloatValMin();
    if (max != nullptr) *max = range->GetFloatValMax();
    return 0;
}

int CDataValueTable::SortY(int descending) {
    if (GetNumSet() != 2) return -1;
    CDataValueSet* xs = GetSet(0);
    CDataValueSet* ys = GetSet(1);
    const int n = ys->GetNumVal();
    // Records of X, the row's x range and Y, sorted by Y through the set's own sort view.
    std::vector<std::array<float, 4>> records(static_cast<size_t>(n));
    CDataValueSet view;
    for (int i = 0; i < n; ++i) {
        const float x = xs->GetValFloat(static_cast<unsigned>(i));
        float lo = x;
        float hi = x;
        GetXRange(i, &lo, &hi);
        records[static_cast<size_t>(i)] = {x, lo, hi, ys->GetValFloat(static_cast<unsigned>(i))};
        view.AddPtr(records[static_cast<size_t>(i)].data());
    }
    view.SortRngY();
    std::vector<std::array<float, 4>> sorted;
    sorted.reserve(records.size());
    for (int i = 0; i < n; ++i) {
        const CDataValue* slot = view.GetSortVal(i);
        const auto* record = slot != nullptr ? static_cast<const float*>(slot->GetValPtr()) : nullptr;
        if (record == nullptr) return -1;
        sorted.push_back({record[0], record[1], record[2], record[3]});
    }
    for (int i = 0; i < n; ++i) {
        const auto& record = sorted[static_cast<size_t>(descending == 1 ? n - 1 - i : i)];
        xs->SetFloatVal(record[0], i);
        ys->SetFloatVal(record[3], i);
        if (i < m_XRanges.GetNumVal()) m_XRanges.GetVal(static_cast<unsigned>(i))->SetRange(record[1], record[2]);
    }
    return 0;
}

void CDataValueTable::WriteCell(CTxt& line, const Field& field, int width,
                                const CDataValue* value) const {
    CTxt cell;
    bool written = false;
    if (value != nullptr && value->IsFilled()) {
        switch (field.Type) {
        case DVT_TEXT: {
            CTxt text;
            if (value->IsText() && value->GetValTxt(text) > 0) {
                cell.Format("%-*s,", width, static_cast<const char*>(text));
                written = true;
            }
            break;
        }
        case DVT_INT: {
            int number = 0;
            if (value->GetIntVal(&number) == 1) {
                cell.Format("%*d,", width, number);
                written = true;
            }
            break;
        }
        case DVT_FLOAT:
        case DVT_DOUBLE: {
            const double number =
                field.Type == DVT_FLOAT ? static_cast<double>(value->GetFloatVal()) : value->GetDoubleVal();
            if (static_cast<float>(number) != kNoNumber) {
                cell.Format("%*.*f,", width, field.Precision, number);
                written = true;
            }
            break;
        }
        case DVT_DATE: {
            const CZAMDateTime* date = value->GetDT();
            if (date != nullptr && date->IsValid()) {
                CTxt text;
                const int kind = field.Precision >= 1 && field.Precision <= 20 ? field.Precision : 9;
                date->GetTxt(text, kind);
                cell.Format("%-*s,", width, static_cast<const char*>(text));
                written = true;
            }
            break;
        }
        default:
            break;
        }
    }
    if (!written) cell.Format("%-*.*s,", width, width, "");
    line.AddTxt(cell);
}

int CDataValueTable::SaveToFile(const char* path, CTxt& err) {
    if (GetNumSet() == 0) return 1;
    const char* name = path != nullptr ? path : "";
    const bool append = FileHasContent(name);
    if (!append) mkdirpath(name, 1);
    FILE* f = std::fopen(name, append ? "ab" : "wb");
    if (f == nullptr) {
        err.Format("Cannot open %s (%s)", name, std::strerror(errno));
        return -1;
    }
    std::vector<Field> fields;
    std::vector<int> widths;
    for (int j = 0; j < GetNumFld(); ++j) {
        fields.push_back(ParseField(j));
        const int nameLength = fields.back().Name.GetLength();
        widths.push_back(fields.back().Width > nameLength ? fields.back().Width : nameLength);
    }
    CTxt line;
    if (!append) {
        line.MakeEmpty();
        CTxt cell;
        for (size_t j = 0; j < fields.size(); ++j) {
            cell.Format("%-*.*s,", widths[j], widths[j], static_cast<const char*>(fields[j].Name));
            line.AddTxt(cell);
        }
        line.AddTxt("\r\n");
        std::fwrite(line.GetData(), 1, static_cast<size_t>(line.GetLength()), f);
    }
    for (int i = 0; i < GetNumSet(); ++i) {
        const CDataValueSet* set = GetSet(i);
        line.MakeEmpty();
        for (size_t j = 0; j < fields.size(); ++j) {
            const CDataValue* value = set != nullptr ? set->GetVal(static_cast<unsigned>(j)) : nullptr;
            WriteCell(line, fields[j], widths[j], value);
        }
        line.AddTxt("\r\n");
        std::fwrite(line.GetData(), 1, static_cast<size_t>(line.GetLength()), f);
    }
    const bool ok = std::fflush(f) == 0;
    const int error = errno;
    if (std::fclose(f) != 0 || !ok) {
        // A full disk is not a saved table.
        err.Format("Cannot open %s (%s)", name, std::strerror(error));
        return -1;
    }
    return 0;
}

int CDataValueTable::CalcValueVariationsFlt(CDataValueTable* out, CTxt& err, int count) {
    if (GetNumSet() < 2) {
        err = "Need a two columns Table (X,Y)";
        return -1;
    }
    const Field fx = ParseField(0);
    if (fx.Type != DVT_FLOAT) {
        err.Format("X Column needs to be a float (%d)", fx.Type);
        return -2;
    }
    const Field fy = ParseField(1);
    if (fy.Type != DVT_FLOAT) {
        err.Format("Y Column needs to be a float (%d)", fy.Type);
        return -2;
    }
    const int n = GetSet(0)->GetNumVal();
    const int ny = GetSet(1)->GetNumVal();
    if (n != ny) {
        err.Format("X and X Column needs same number of values (X=%d, Y=%d)", n, ny);
        return -3;
    }
    if (out == nullptr || out == this) {
        err = "Need a separate output table";
        return -1;
    }
    out->Release();
    // Out's x ranges line up with its rows, so earlier ones must not stay.
    out->GetXRanges().ReleaseData(0);
    out->AddFld("X", DVT_FLOAT, 6, 2);
    out->AddFld("Y", DVT_FLOAT, 6, 2);
    out->AddSet("X");
    out->AddSet("Y");
    if (GetNumSet() >= 3) {
        out->AddFld("Ser", DVT_FLOAT, 6, 2);
        out->AddSet("Ser");
        CDataValueSet distinct;
        GetSet(2)->CalcValueVariationsFltNoSort(&distinct);
        if (distinct.GetNumVal() > 1) return CondenseBySeries(out, distinct, count);
    }
    return CondenseGroups(out, count);
}

int CDataValueTable::CondenseBySeries(CDataValueTable* out, CDataValueSet& series, int count) {
    const CDataValueSet* xs = GetSet(0);
    const CDataValueSet* ys = GetSet(1);
    const CDataValueSet* ss = GetSet(2);
    CDataValueSet* outX = out->GetSet(0);
    CDataValueSet* outY = out->GetSet(1);
    CDataValueSet* outS = out->GetSet(2);
    const int n = xs->GetNumVal();
    if (count < 1) count = 1;
    const int h = n / count + 1;
    auto x = [&](int i) { return xs->GetValFloat(static_cast<unsigned>(i)); };
    auto y = [&](int i) { return ys->GetValFloat(static_cast<unsigned>(i)); };
    auto s = [&](int i) { return ss->GetValFloat(static_cast<unsigned>(i)); };
    auto addRow = [&](float rx, float ry, float rs) {
        outX->AddFloatVal(rx);
        outY->AddFloatVal(ry);
        outS->AddFloatVal(rs);
    };

    if (ProfileReadInt("SYS", "SeriesUseValueRange", 1) == 1) {
        // Chunks cut by index give X ranges; every series is averaged within each range.
        struct Chunk {
            float Low;
            float High;
            float MeanX;
        };
        std::vector<Chunk> chunks;
        for (int a = 0; a < count && a * h < n; ++a) {
            const int first = a * h;
            const int last = (a + 1) * h - 1 < n - 1 ? (a + 1) * h - 1 : n - 1;
            Mean meanX;
            for (int i = first; i <= last; ++i) meanX.Add(x(i));
            chunks.push_back({x(first), x(last), meanX.Value()});
        }
        for (int k = 0; k < series.GetNumVal(); ++k) {
            const float value = series.GetValFloat(static_cast<unsigned>(k));
            for (const Chunk& chunk : chunks) {
                Mean meanY;
                for (int i = 0; i < n; ++i) {
                    if (s(i) == value && x(i) >= chunk.Low && x(i) <= chunk.High) meanY.Add(y(i));
                }
                addRow(chunk.MeanX, meanY.Value(), value);
            }
        }
    } else {
        // Each series walked in chunks of rows of its own.
        for (int k = 0; k < series.GetNumVal(); ++k) {
            const float value = series.GetValFloat(static_cast<unsigned>(k));
            for (int start = 0; start < n; start += h) {
                Mean meanX;
                Mean meanY;
                for (int i = start; i < start + h && i < n; ++i) {
                    if (s(i) != value) continue;
                    meanX.Add(x(i));
                    meanY.Add(y(i));
                }
                addRow(meanX.Value(), meanY.Value(), value);
            }
        }
    }
    return outX->GetNumVal();
}

int CDataValueTable::CondenseGroups(CDataValueTable* out, int count) {
    const CDataValueSet* xs = GetSet(0);
    const CDataValueSet* ys = GetSet(1);
    CDataValueSet* outX = out->GetSet(0);
    CDataValueSet* outY = out->GetSet(1);
    CDataValueSet* outS = out->GetNumSet() >= 3 ? out->GetSet(2) : nullptr;
    const float onlySeries = GetNumSet() >= 3 ? GetSet(2)->GetValFloat(0) : kNoNumber;
    const int n = xs->GetNumVal();

    // Consecutive rows with the same X form a group.
    struct Group {
        float X;
        Mean Y;
    };
    std::vector<Group> groups;
    for (int i = 0; i < n; ++i) {
        const float x = xs->GetValFloat(static_cast<unsigned>(i));
        if (groups.empty() || groups.back().X != x) groups.push_back({x, Mean()});
        groups.back().Y.Add(ys->GetValFloat(static_cast<unsigned>(i)));
    }
    const int nGroups = static_cast<int>(groups.size());
    if (count > 2 && count < nGroups) {
        // Bins of whole groups: the mean of their X values, the mean of all their rows' Y.
        const int perBin = nGroups / count + 1;
        for (int first = 0; first < nGroups; first += perBin) {
            Mean meanX;
            Mean meanY;
            float low = groups[static_cast<size_t>(first)].X;
            float high = low;
            for (int g = first; g < first + perBin && g < nGroups; ++g) {
                const Group& group = groups[static_cast<size_t>(g)];
                meanX.Add(group.X);
                meanY.Add(group.Y);
                if (group.X < low) low = group.X;
                if (group.X > high) high = group.X;
            }
            outX->AddFloatVal(meanX.Value());
            outY->AddFloatVal(meanY.Value());
            if (outS != nullptr) outS->AddFloatVal(onlySeries);
            out->AddXRange(low, high);
        }
        return outX->GetNumVal();
    }
    for (const Group& group : groups) {
        outX->AddFloatVal(group.X);
        outY->AddFloatVal(group.Y.Value());
        if (outS != nullptr) outS->AddFloatVal(onlySeries);
        out->AddXRange(group.X, group.X);
    }
    return outX->GetNumVal();
}
