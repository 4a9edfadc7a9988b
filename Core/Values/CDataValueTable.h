#pragma once
// A table of typed values: value sets, typed field definitions and one x
// range per output row. It is written as an aligned comma-separated file,
// sorted by its Y column, and condensed from (X, Y[, series]) rows into
// averaged points, as chart data wants them.
//
// Two readings of the sets: SaveToFile takes each set as one record (value j
// of the set belongs to field j); SortY and CalcValueVariationsFlt take set 0
// as the X column, set 1 as Y and set 2 as the series (value i of each set
// belongs to row i).

#include "Core/Text/CTxt.h"
#include "Core/Text/CTxtArray.h"
#include "Core/Text/CTypedPtrArray.h"
#include "Core/Text/SPtrArray.h"
#include "Core/Values/CDataValue.h"

class CDataValueTable {
public:
    /// What a field holds, and so how SaveToFile writes its cells.
    enum DataValType {
        DVT_NONE = 0,    ///< no value: blanks
        DVT_TEXT = 1,    ///< text, left-aligned
        DVT_INT = 2,     ///< integer, right-aligned
        DVT_FLOAT = 3,   ///< float with width and precision
        DVT_DOUBLE = 4,  ///< double with width and precision
        DVT_DATE = 5,    ///< date-time text of the kind given as precision (1-20, else 9)
    };
    using SetArray = CTypedPtrArray<SPtrArray, CDataValueSet*>;

    /// No sets, no fields, no x ranges.
    CDataValueTable();
    /// Release, then the members go.
    ~CDataValueTable();
    CDataValueTable(const CDataValueTable&) = delete;
    CDataValueTable& operator=(const CDataValueTable&) = delete;

    /// ReleaseSet and ReleaseFld; the x ranges stay.
    void Release();
    /// Destroys every set and empties the list.
    void ReleaseSet();
    /// Empties the field list.
    void ReleaseFld();

    int GetNumSet() const { return m_Sets.GetSize(); }
    int GetNumFld() const { return m_Fields.GetSize(); }
    SetArray& GetSetArray() { return m_Sets; }
    /// The x ranges, one float range per output row.
    CDataValueSet& GetXRanges() { return m_XRanges; }

    /// Set i; null outside 0..sets-1.
    CDataValueSet* GetSet(int i) const;
    /// The first set named name (any case); null when none.
    CDataValueSet* FindSet(const char* name) const;
    /// The set named name, made and appended when there is none (null name: "%07d" of its number).
    CDataValueSet* AddSet(const char* name);

    /// Appends the field "name\ttype\twidth\tprecision"; its index, or -1 (logged) when the name is taken.
    int AddFld(const char* name, DataValType type, int width, int precision);
    /// Field entry i; null outside the list.
    const char* GetFld(int i) const;
    /// Index of the field named name (any case); -1 when none.
    int FindFld(const char* name) const;

    /// Appends an x range; their number.
    int AddXRange(float min, float max);
    /// 0 with the bounds of x range i (1e9 each when not a float range); -1 when there is no x range i.
    int GetXRange(int i, float* min, float* max) const;

    /// Sorts the rows by Y (descending 1: largest first), X and x ranges along; 0, or -1 with more than two sets.
    int SortY(int descending);
    /// Writes the sets as lines (the header only into a new or empty file); 0, 1 no set, -1 with err.
    int SaveToFile(const char* path, CTxt& err);
    /// Condenses (X, Y[, series]) rows into out; the rows written, or -1/-2/-3 with err.
    int CalcValueVariationsFlt(CDataValueTable* out, CTxt& err, int count);

private:
    struct Field {
        CTxt Name;
        int Type = 0;
        int Width = 0;
        int Precision = 0;
    };
    Field ParseField(int i) const;
    void WriteCell(CTxt& line, const Field& field, int width, const CDataValue* value) const;
    int CondenseBySeries(CDataValueTable* out, CDataValueSet& series, int count);
    int CondenseGroups(CDataValueTable* out, int count);

    SetArray m_Sets;
    CDataValueSet m_XRanges;
    CTxtArray m_Fields;
};
