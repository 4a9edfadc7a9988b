#include "Core/Values/CDataValueTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "Core/System/Profile.h"
#include "Core/Text/CTxtArray.h"
#include "Core/Time/CZAMDateTime.h"
#include "tests/Support/TempDir.h"

namespace {

using zam::testing::TempDir;
using T = CDataValueTable;

std::vector<float> Floats(const CDataValueSet* set) {
    std::vector<float> out;
    for (int i = 0; i < set->GetNumVal(); ++i) out.push_back(set->GetValFloat(static_cast<unsigned>(i)));
    return out;
}

// An (X, Y[, series]) table with float fields.
void MakeXY(T& table, const std::vector<float>& x, const std::vector<float>& y,
            const std::vector<float>* series = nullptr) {
    table.AddFld("X", T::DVT_FLOAT, 6, 2);
    table.AddFld("Y", T::DVT_FLOAT, 6, 2);
    CDataValueSet* xs = table.AddSet("X");
    CDataValueSet* ys = table.AddSet("Y");
    for (float v : x) xs->AddFloatVal(v);
    for (float v : y) ys->AddFloatVal(v);
    if (series != nullptr) {
        table.AddFld("S", T::DVT_FLOAT, 6, 2);
        CDataValueSet* ss = table.AddSet("S");
        for (float v : *series) ss->AddFloatVal(v);
    }
}

TEST(CDataValueTableTest, SetsAndFields) {
    T table;
    EXPECT_STREQ(table.AddSet(nullptr)->GetName(), "0000001");
    EXPECT_STREQ(table.AddSet(nullptr)->GetName(), "0000002");
    CDataValueSet* a = table.AddSet("A");
    EXPECT_EQ(table.AddSet("a"), a);
    EXPECT_EQ(table.FindSet("A"), a);
    EXPECT_EQ(table.GetSet(3), nullptr);
    EXPECT_EQ(table.GetNumSet(), 3);
    EXPECT_EQ(table.AddFld("T", T::DVT_FLOAT, 6, 2), 0);
    EXPECT_EQ(table.AddFld("t", T::DVT_INT, 4, 0), -1);
    EXPECT_STREQ(table.GetFld(0), "T\t3\t6\t2");
    EXPECT_EQ(table.GetFld(1), nullptr);
    EXPECT_EQ(table.GetFld(-1), nullptr);
    EXPECT_EQ(table.FindFld("t"), 0);
    EXPECT_EQ(table.AddXRange(1.5f, 2.5f), 1);
    float lo = 0, hi = 0;
    EXPECT_EQ(table.GetXRange(0, &lo, &hi), 0);
    EXPECT_FLOAT_EQ(lo, 1.5f);
    EXPECT_FLOAT_EQ(hi, 2.5f);
    EXPECT_EQ(table.GetXRange(1, &lo, &hi), -1);
    table.Release();
    EXPECT_EQ(table.GetNumSet() + table.GetNumFld(), 0);
    EXPECT_EQ(table.GetXRange(0, &lo, &hi), 0);  // the x ranges stay
}

TEST(CDataValueTableTest, SavedCellsAlignAndReadBack) {
    TempDir dir;
    const std::string path = dir.File("out/table.csv");
    T table;
    CTxt err;
    EXPECT_EQ(table.SaveToFile(path.c_str(), err), 1);  // no set: nothing written
    table.AddFld("Name", T::DVT_TEXT, 6, 0);
    table.AddFld("N", T::DVT_INT, 3, 0);
    table.AddFld("F", T::DVT_FLOAT, 7, 2);
    table.AddFld("When", T::DVT_DATE, 10, 6);
    table.AddFld("Nil", T::DVT_NONE, 2, 0);
    CDataValueSet* row = table.AddSet(nullptr);
    row->AddTxt("ab");
    row->AddIntVal(7);
    row->AddFloatVal(3.14159f);
    CZAMDateTime when;
    when.SetDT(20150812, 143005);
    row->AddDTVal(&when);
    row->AddIntVal(5);
    CDataValueSet* sparse = table.AddSet(nullptr);
    sparse->AddEmpty();
    sparse->AddEmpty();
    sparse->AddFloatVal(1e9f);
    EXPECT_EQ(table.SaveToFile(path.c_str(), err), 0);
    EXPECT_EQ(dir.Read("out/table.csv"),
              "Name  ,N  ,F      ,When      ,Nil,\r\n"
              "ab    ,  7,   3.14,8/12/2015 ,   ,\r\n"
              "      ,   ,       ,          ,   ,\r\n");
    EXPECT_EQ(table.SaveToFile(path.c_str(), err), 0);  // appending: no second header
    CTxtArray lines;
    ASSERT_EQ(lines.LoadFromCSV(path.c_str(), err), 5);
    EXPECT_STREQ(lines.GetAtTxt(3), "ab    \t  7\t   3.14\t8/12/2015 \t   \t");
    EXPECT_EQ(table.SaveToFile(dir.File("dir").c_str(), err), 0);
    EXPECT_EQ(table.SaveToFile(dir.Path().c_str(), err), -1);  // a folder cannot be written
    EXPECT_NE(std::string(err).find("Cannot open "), std::string::npos);
}

TEST(CDataValueTableTest, SortByY) {
    T table;
    MakeXY(table, {1, 2, 3}, {5, 9, 7});
    table.AddXRange(0, 1);
    table.AddXRange(1, 2);
    table.AddXRange(2, 3);
    EXPECT_EQ(table.SortY(1), 0);
    EXPECT_EQ(Floats(table.GetSet(0)), (std::vector<float>{2, 3, 1}));
    EXPECT_EQ(Floats(table.GetSet(1)), (std::vector<float>{9, 7, 5}));
    float lo = 0, hi = 0;
    table.GetXRange(0, &lo, &hi);
    EXPECT_FLOAT_EQ(lo, 1);
    EXPECT_FLOAT_EQ(hi, 2);
    EXPECT_EQ(table.SortY(0), 0);
    EXPECT_EQ(Floats(table.GetSet(1)), (std::vector<float>{5, 7, 9}));
    table.AddSet("third");
    EXPECT_EQ(table.SortY(0), -1);
}

TEST(CDataValueTableTest, VariationsRefuseBadTables) {
    T one;
    one.AddSet("X");
    T out;
    CTxt err;
    EXPECT_EQ(one.CalcValueVariationsFlt(&out, err, 0), -1);
    EXPECT_STREQ(err, "Need a two columns Table (X,Y)");
    T ints;
    ints.AddFld("X", T::DVT_INT, 6, 0);
    ints.AddSet("X");
    ints.AddSet("Y");
    EXPECT_EQ(ints.CalcValueVariationsFlt(&out, err, 0), -2);
    EXPECT_STREQ(err, "X Column needs to be a float (2)");
    T uneven;
    MakeXY(uneven, {1, 2}, {1});
    EXPECT_EQ(uneven.CalcValueVariationsFlt(&out, err, 0), -3);
    EXPECT_STREQ(err, "X and X Column needs same number of values (X=2, Y=1)");
    EXPECT_EQ(out.GetNumSet(), 0);  // a refused call leaves out alone
}

TEST(CDataValueTableTest, GroupsOfEqualXAndBins) {
    T table;
    MakeXY(table, {1, 1, 2}, {10, 20, 30});
    T out;
    CTxt err;
    EXPECT_EQ(table.CalcValueVariationsFlt(&out, err, 0), 2);
    EXPECT_EQ(Floats(out.GetSet(0)), (std::vector<float>{1, 2}));
    EXPECT_EQ(Floats(out.GetSet(1)), (std::vector<float>{15, 30}));
    EXPECT_STREQ(out.GetFld(1), "Y\t3\t6\t2");
    float lo = 0, hi = 0;
    out.GetXRange(1, &lo, &hi);
    EXPECT_FLOAT_EQ(lo, 2);
    EXPECT_FLOAT_EQ(hi, 2);

    // Ten groups of two rows each, condensed into bins of four groups.
    std::vector<float> x, y;
    for (int g = 0; g < 10; ++g) {
        for (int r = 0; r < 2; ++r) {
            x.push_back(static_cast<float>(g));
            y.push_back(static_cast<float>(g * 10 + r));
        }
    }
    T many;
    MakeXY(many, x, y);
    EXPECT_EQ(many.CalcValueVariationsFlt(&out, err, 3), 3);
    EXPECT_EQ(Floats(out.GetSet(0)), (std::vector<float>{1.5f, 5.5f, 8.5f}));
    EXPECT_EQ(Floats(out.GetSet(1)), (std::vector<float>{15.5f, 55.5f, 85.5f}));
    EXPECT_EQ(out.GetXRanges().GetNumVal(), 3);  // replaced, lined up with the rows
    out.GetXRange(2, &lo, &hi);
    EXPECT_FLOAT_EQ(lo, 8);
    EXPECT_FLOAT_EQ(hi, 9);
}

// 1,000 rows with a three-valued series, against means computed here.
TEST(CDataValueTableTest, SeriesMeansForBothSettings) {
    std::vector<float> x, y, s;
    for (int i = 0; i < 1000; ++i) {
        x.push_back(static_cast<float>(i) / 10.0f);
        y.push_back(static_cast<float>((i * 37) % 101));
        s.push_back(static_cast<float>(i % 3));
    }
    T table;
    MakeXY(table, x, y, &s);
    const int count = 7;
    const int h = 1000 / count + 1;
    T out;
    CTxt err;
    for (int setting : {1, 0}) {
        ProfileWriteInt("SYS", "SeriesUseValueRange", setting);
        const int rows = table.CalcValueVariationsFlt(&out, err, count);
        const std::vector<float> ox = Floats(out.GetSet(0));
        const std::vector<float> oy = Floats(out.GetSet(1));
        const std::vector<float> os = Floats(out.GetSet(2));
        std::vector<float> wantX, wantY, wantS;
        for (int series = 0; series < 3; ++series) {
            for (int start = 0; start < 1000; start += h) {
                const int end = std::min(start + h, 1000);
                double sx = 0, sy = 0, chunkX = 0;
                int nx = 0, ny = 0;
                for (int i = start; i < end; ++i) chunkX += x[static_cast<size_t>(i)];
                for (int i = setting == 1 ? 0 : start; i < (setting == 1 ? 1000 : end); ++i) {
                    const bool inChunk = setting == 1 ? x[static_cast<size_t>(i)] >= x[static_cast<size_t>(start)] &&
                                                            x[static_cast<size_t>(i)] <= x[static_cast<size_t>(end - 1)]
                                                      : true;
                    if (s[static_cast<size_t>(i)] != static_cast<float>(series) || !inChunk) continue;
                    sx += x[static_cast<size_t>(i)];
                    sy += y[static_cast<size_t>(i)];
                    ++nx;
                    ++ny;
                }
                wantX.push_back(setting == 1 ? static_cast<float>(chunkX / (end - start))
                                             : static_cast<float>(sx / nx));
                wantY.push_back(static_cast<float>(sy / ny));
                wantS.push_back(static_cast<float>(series));
            }
        }
        ASSERT_EQ(rows, static_cast<int>(wantX.size())) << "setting " << setting;
        for (size_t i = 0; i < wantX.size(); ++i) {
            EXPECT_NEAR(ox[i], wantX[i], 1e-3) << "setting " << setting << " row " << i;
            EXPECT_NEAR(oy[i], wantY[i], 1e-3) << "setting " << setting << " row " << i;
            EXPECT_EQ(os[i], wantS[i]);
        }
    }
    ProfileWriteStr("SYS", "SeriesUseValueRange", nullptr);
}

}  // namespace
