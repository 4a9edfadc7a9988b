#include "Core/Text/CTxtArray.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <strings.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <filesystem>
#include <string>
#include <vector>

#include "Core/Platform/UserInterface.h"
#include "tests/Support/TempDir.h"

namespace {

using zam::testing::TempDir;

std::vector<std::string> Items(const CTxtArray& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.GetSize(); ++i) {
        const char* text = list.GetAtTxt(i);
        out.emplace_back(text != nullptr ? text : "<null>");
    }
    return out;
}

using Strings = std::vector<std::string>;

TEST(CTxtArrayTest, AddFindAndRemove) {
    CTxtArray list;
    EXPECT_EQ(list.Add("Harp"), 0);
    EXPECT_EQ(list.Add(nullptr), 1);
    EXPECT_EQ(list.GetAtTxt(1), nullptr);
    EXPECT_EQ(list.GetAt(5), nullptr);
    list.Insert(0, "Bell");
    EXPECT_EQ(list.SetAt(1, "harp2"), 0);
    EXPECT_EQ(list.SetAt(4, "far"), 0);  // grows, leaving an empty slot at 3
    EXPECT_EQ(list.SetAt(-1, "x"), -1);
    EXPECT_EQ(list.GetSize(), 5);
    EXPECT_EQ(list.GetAt(3), nullptr);
    EXPECT_EQ(list.FindString("HARP2"), 1);
    EXPECT_EQ(list.FindString("harp"), -1);
    EXPECT_EQ(list.FindStringStart("ha", 0), 1);
    EXPECT_EQ(list.FindStringSegment("AR"), 1);
    EXPECT_EQ(list.AddIfNew("bell"), 0);
    EXPECT_EQ(list.AddIfNewIdx("Gong"), 5);
    EXPECT_EQ(list.AddIfNewIdx("gong"), 5);
    EXPECT_EQ(list.FindStringStart("", 1), 5);
    EXPECT_EQ(list.RemoveAt(3), 0);
    EXPECT_EQ(list.RemoveAt(9), -1);
    // The searches read slot 2 as text, which gives it its empty buffer.
    EXPECT_EQ(Items(list), (Strings{"Bell", "harp2", "", "far", "Gong"}));
    CTxtArray other;
    other.LoadFromTxtArray(&list, 0);
    EXPECT_EQ(list.Compare(&other), 0);
    other.SetAt(0, "bell");
    EXPECT_EQ(list.Compare(&other), -2);
    other.Add("x");
    EXPECT_EQ(list.Compare(&other), -1);
    list.RemoveAll();
    EXPECT_EQ(list.GetSize(), 0);
}

TEST(CTxtArrayTest, NameValueEntries) {
    CTxtArray list;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(list.AddCnt("x"), 0);
    EXPECT_EQ(Items(list), (Strings{"x|3"}));
    list.RemoveAll();
    list.SetValue("k", "v");
    list.SetValue("K", "w");
    EXPECT_EQ(Items(list), (Strings{"K|w"}));
    EXPECT_EQ(list.SetValue("k", nullptr), 0);
    EXPECT_EQ(list.GetSize(), 0);
    EXPECT_EQ(list.SetValue("k", nullptr), -1);

    CTxt value("kept");
    EXPECT_EQ(list.FindValue("a", value, 0), -1);
    EXPECT_STREQ(value, "kept");
    EXPECT_EQ(list.FindValue("a", value, 1), -1);
    EXPECT_STREQ(value, "a to found");
    list.Add("a|1|2");
    list.Add("n|abc");
    EXPECT_EQ(list.FindValue("A", value, 1), 0);
    EXPECT_STREQ(value, "1|2");
    EXPECT_EQ(list.FindValueInt("n"), 0);
    EXPECT_EQ(list.FindValueInt("missing"), -1);
    EXPECT_EQ(list.FindValueReset("missing", value, 0), -1);
    EXPECT_STREQ(value, "");
}

TEST(CTxtArrayTest, JoinSortAndLoadFromMemory) {
    CTxtArray list;
    list.Add("b");
    list.Add("A");
    list.Add("c");
    CTxt joined;
    EXPECT_EQ(list.GetDelimTxt(joined, ','), 3);
    EXPECT_STREQ(joined, "b,A,c,");
    list.Sort();
    EXPECT_EQ(Items(list), (Strings{"A", "b", "c"}));
    list.SortCust([](const void* a, const void* b) {
        return -std::strcmp(static_cast<const char*>(a), static_cast<const char*>(b));
    });
    EXPECT_EQ(Items(list), (Strings{"c", "b", "A"}));
    CTxt all("old");
    EXPECT_EQ(all.LoadFromArray(&list, nullptr), 3);
    EXPECT_STREQ(all, "c\r\nb\r\nA\r\n");
    all.LoadFromArray(&list, ";");
    EXPECT_STREQ(all, "c;b;A;");

    list.LoadFromTxt("a\r\n\r\nb");
    EXPECT_EQ(Items(list), (Strings{"a", "", "b"}));
    list.LoadFromTxt("a\n");
    EXPECT_EQ(Items(list), (Strings{"a"}));
    list.LoadFromFields(" a , b ,, c", ',', 1);
    EXPECT_EQ(Items(list), (Strings{"a", "b", "c"}));
    list.LoadFromFields("d", ',', 0);
    EXPECT_EQ(list.GetSize(), 4);
    list.LoadFromStrArray({"x", "y"});
    EXPECT_EQ(Items(list), (Strings{"x", "y"}));

    CTxtArray withEmpty;
    withEmpty.Add("b");
    withEmpty.Add(nullptr);
    withEmpty.Sort();
    EXPECT_EQ(Items(withEmpty), (Strings{"", "b"}));
}

class CTxtArrayFileTest : public ::testing::Test {
protected:
    TempDir dir;
};

TEST_F(CTxtArrayFileTest, LinesFromFiles) {
    dir.Write("a.txt", "one\r\ntwo\nthree");
    CTxtArray list;
    CTxt err;
    EXPECT_EQ(list.LoadFromFile(dir.File("a.txt").c_str(), err, 0), 2);
    EXPECT_EQ(list.LoadFromFile(dir.File("a.txt").c_str(), err, 1), 3);
    dir.Write("b.txt", "x\r\n");
    EXPECT_EQ(list.LoadFromFile(dir.File("b.txt").c_str(), err, 1), 2);
    EXPECT_EQ(Items(list), (Strings{"x", ""}));
    EXPECT_EQ(list.LoadFromFile(dir.File("none").c_str(), err, 1), -1);
    EXPECT_EQ(list.GetSize(), 2);  // a failed open leaves the list as it was
    EXPECT_EQ(std::string(err), "Cannot open " + dir.File("none") + " (No such file or directory)");

    EXPECT_EQ(list.LoadFromFileBuf(dir.File("a.txt").c_str(), err, 0), 3);
    EXPECT_EQ(Items(list), (Strings{"one", "two", "three"}));
    EXPECT_EQ(list.LoadFromFileBuf(dir.File("a.txt").c_str(), err, 2), 2);
    EXPECT_EQ(list.LoadFromFileBuf(dir.File("a.txt").c_str(), err, -1), 5);
    EXPECT_EQ(list.LoadFromFileBuf(dir.File("none").c_str(), err, 0), -1);

    dir.Write("c.csv", "a,\"b,c\",d\r\n\"\"\"x\",y\r\n");
    EXPECT_EQ(list.LoadFromCSV(dir.File("c.csv").c_str(), err), 2);
    EXPECT_EQ(Items(list), (Strings{"a\tb,c\td", "x\ty"}));
}

// The texts of a file load share a few blocks; each must still behave as a
// text of its own: grown, moved out, removed, sorted, mixed with texts added
// one by one, and the whole freed once (the sanitizer build checks that
// nothing is freed twice or read after its block is gone).
TEST_F(CTxtArrayFileTest, PooledLinesBehaveAsTextsOfTheirOwn) {
    Strings lines;
    std::string file;
    for (int i = 0; i < 3000; ++i) {
        // Empty lines, short ones and a few longer than a whole first block.
        std::string line = i % 10 == 0 ? "" : "line " + std::to_string(i);
        if (i % 997 == 5) line = std::string(9000 + i, static_cast<char>('a' + i % 26));
        lines.push_back(line);
        file += line + "\n";
    }
    dir.Write("many.txt", file);
    CTxtArray list;
    CTxt err;
    list.Add("before");
    ASSERT_EQ(list.LoadFromFileBuf(dir.File("many.txt").c_str(), err, -1), 3001);
    Strings expected = lines;
    expected.insert(expected.begin(), "before");
    EXPECT_EQ(Items(list), expected);
    EXPECT_EQ(list.GetAt(1)->GetLength(), 0);
    EXPECT_GE(list.GetAt(2)->GetCapacity(), list.GetAt(2)->GetLength() + 1);

    // Growing a text moves it out of the block; its neighbours are untouched.
    CTxt* grown = list.GetAt(2);
    *grown += std::string(500, '+').c_str();
    EXPECT_EQ(std::string(*grown), lines[1] + std::string(500, '+'));
    EXPECT_EQ(list.GetAtTxt(3), lines[2]);
    EXPECT_EQ(list.SetAt(4, "replaced"), 0);
    EXPECT_EQ(list.GetAtTxt(4), std::string("replaced"));
    EXPECT_EQ(list.GetAtTxt(5), lines[4]);

    // A text moved out of the list keeps its characters after the list is gone.
    CTxt moved(std::move(*list.GetAt(6)));
    CTxt assigned;
    assigned = std::move(*list.GetAt(7));
    EXPECT_EQ(list.RemoveAt(8), 0);
    list.Sort();
    EXPECT_EQ(list.GetSize(), 3000);
    list.RemoveAll();
    EXPECT_EQ(std::string(moved), lines[5]);
    EXPECT_EQ(std::string(assigned), lines[6]);

    // A second load into the emptied list starts afresh.
    EXPECT_EQ(list.LoadFromFileBuf(dir.File("many.txt").c_str(), err, 0), 3000);
    EXPECT_EQ(Items(list), lines);
}

TEST_F(CTxtArrayFileTest, SavingReportsWhatItDid) {
    CTxtArray list;
    CTxt msg;
    const std::string path = dir.File("out.txt");
    EXPECT_EQ(list.SaveToFile(path.c_str(), msg, 0, 0), 0);
    EXPECT_EQ(std::string(msg), "Saved 0 line to " + path);
    list.Add("a");
    EXPECT_EQ(list.SaveToFile(path.c_str(), msg, 0, 0), 0);
    EXPECT_EQ(std::string(msg), "Saved 1 line to " + path);
    list.Add(nullptr);
    list.Add("c");
    EXPECT_EQ(list.SaveToFile(path.c_str(), msg, 0, 1), 0);
    EXPECT_EQ(std::string(msg), "Saved 3 lines to " + path);
    EXPECT_EQ(dir.Read("out.txt"), "a\r\na\r\n\r\nc\r\n");
    EXPECT_EQ(list.SaveToFile(path.c_str(), msg, 2, 0), 0);
    EXPECT_EQ(dir.Read("out.txt"), "a\r\n\r\n");
    EXPECT_EQ(list.SaveToFile(dir.File("no/dir.txt").c_str(), msg, 0, 0), -1);
    EXPECT_EQ(list.SaveToNextFile(dir.File("list%%.txt").c_str(), msg), 0);
    EXPECT_EQ(dir.Read("list01.txt"), "a\r\n\r\nc\r\n");
    EXPECT_EQ(list.SaveToNextFile("plain.txt", msg), -10);
    EXPECT_STREQ(msg, "Missing Sequence Placeholder (%) in: plain.txt");
}

// A tree of a few hundred files and folders, listed against std::filesystem.
TEST_F(CTxtArrayFileTest, FolderListingsMatchAnIndependentWalk) {
    namespace fs = std::filesystem;
    for (int d = 0; d < 6; ++d) {
        const std::string sub = dir.File("d" + std::to_string(d));
        fs::create_directories(sub + "/inner");
        for (int f = 0; f < 30; ++f) {
            std::ofstream(sub + "/f" + std::to_string(f) + (f % 3 == 0 ? ".WAV" : ".txt")) << f;
            std::ofstream(sub + "/inner/g" + std::to_string(f) + ".wav") << f;
        }
    }
    dir.Write("top.wav", "x");
    fs::create_symlink(dir.Path(), dir.File("d0/loop"));  // must not be followed

    std::vector<std::string> expected;
    for (auto it = fs::recursive_directory_iterator(dir.Path()); it != fs::recursive_directory_iterator(); ++it) {
        if (it->is_symlink()) continue;
        expected.push_back(it->path().string());
    }
    expected.push_back(dir.File("d0/loop"));  // listed as the folder it points to, not entered
    std::sort(expected.begin(), expected.end(),
              [](const std::string& a, const std::string& b) { return strcasecmp(a.c_str(), b.c_str()) < 0; });

    CTxtArray list;
    EXPECT_EQ(list.LoadFromDir(dir.Path().c_str(), 1, 0, nullptr, 0, 0), static_cast<int>(expected.size()));
    EXPECT_EQ(Items(list), expected);

    std::vector<std::string> wavs;
    for (const auto& e : fs::directory_iterator(dir.File("d1"))) {
        const std::string ext = e.path().extension().string();
        if (e.is_regular_file() && strcasecmp(ext.c_str(), ".wav") == 0) wavs.push_back(e.path().string());
    }
    std::sort(wavs.begin(), wavs.end(),
              [](const std::string& a, const std::string& b) { return strcasecmp(a.c_str(), b.c_str()) < 0; });
    CTxtArray sounds;
    sounds.LoadFromDir(dir.File("d1").c_str(), 0, 1, "!WAV", 0, 0);
    EXPECT_EQ(Items(sounds), wavs);
    EXPECT_EQ(sounds.GetSize(), 10);

    CTxtArray pattern;
    pattern.LoadFromDir(dir.File("d2").c_str(), 0, 0, "f1*.TXT", 0, 0);
    EXPECT_EQ(pattern.GetSize(), 8);  // f1 and f10..f19, less the .WAV multiples of three

    CTxtArray tree;
    tree.LoadFromFilesFromTree(dir.Path().c_str(), "wav", 0, 0, 1);
    EXPECT_EQ(tree.GetSize(), 1 + 6 * 10 + 6 * 30);
    CTxtArray flat;
    flat.LoadFromFilesFromTree(dir.Path().c_str(), "", 0, 0, 0);
    EXPECT_EQ(Items(flat), (Strings{dir.File("top.wav")}));

    CTxtArray none;
    none.Add("kept");
    none.LoadFromDir(dir.File("d0/inner").c_str(), 0, 1, "!MP3", 0, 0);
    EXPECT_EQ(Items(none), (Strings{"kept"}));
}

TEST_F(CTxtArrayFileTest, TimeSortedListings) {
    const char* names[] = {"c.txt", "a.txt", "b.txt"};
    for (int i = 0; i < 3; ++i) {
        dir.Write(names[i], "x");
        utimbuf times{};
        times.actime = times.modtime = 1500000000 + i * 100;  // c oldest, b newest
        utime(dir.File(names[i]).c_str(), &times);
    }
    CTxtArray list;
    list.LoadFromDirSortTimeStyle(2, dir.Path().c_str(), 0, 1, nullptr, 0, 0);
    ASSERT_EQ(list.GetSize(), 3);
    EXPECT_EQ(list.GetEntryStyle(), 2);
    // 1500000000 is 14 Jul 2017 02:40:00 UTC, 22:40:00 the day before in New York.
    EXPECT_EQ(std::string(list.GetAtTxt(0)), "20170713|224000.000|" + dir.File("c.txt"));
    EXPECT_NE(std::string(list.GetAtTxt(1)).find("/a.txt"), std::string::npos);
    EXPECT_NE(std::string(list.GetAtTxt(2)).find("/b.txt"), std::string::npos);

    CTxtArray seconds;
    seconds.LoadFromDirSortTimeStyle(3, dir.Path().c_str(), 0, 1, nullptr, 0, 0);
    EXPECT_EQ(std::string(seconds.GetAtTxt(0)), "1500000000|" + dir.File("c.txt"));
    // The style stays with the object for later loads.
    seconds.RemoveAll();
    seconds.LoadFromDir(dir.Path().c_str(), 0, 1, nullptr, 0, 0);
    EXPECT_EQ(std::string(seconds.GetAtTxt(2)), "1500000200|" + dir.File("b.txt"));

    CTxtArray created;
    created.LoadFromDirSortTime(dir.Path().c_str(), 0, 1, nullptr, 0, 0);
    EXPECT_EQ(created.GetSize(), 3);
    EXPECT_EQ(created.GetEntryStyle(), 1);
}

class FakeListView : public zam::platform::ListViewSource {
public:
    bool IsListView(HWND wnd) override { return wnd == Handle(); }
    int GetItemCount(HWND) override { return 3; }
    std::string GetItemText(HWND, int row, int column) override {
        return row == 1 && column == 1 ? "" : "r" + std::to_string(row) + "c" + std::to_string(column);
    }
    void SetItemSelected(HWND, int row, bool selected) override {
        if (selected) selectedRow = row;
        ++selectCalls;
    }
    static HWND Handle() { return reinterpret_cast<HWND>(0x1234); }
    int selectedRow = -1;
    int selectCalls = 0;
};

TEST(CTxtArrayListViewTest, ReadsRegisteredListViewsOnly) {
    CTxtArray list;
    CTxt msg;
    EXPECT_EQ(list.LoadFromLC(reinterpret_cast<HWND>(0x1234), msg, 2), -1);
    EXPECT_STREQ(msg, "HWND 0000000000001234 not SysListView32");

    FakeListView view;
    zam::platform::SetListViewSource(&view);
    msg = "2";
    EXPECT_EQ(list.LoadFromLC(FakeListView::Handle(), msg, 2), 3);
    EXPECT_EQ(Items(list), (Strings{"r0c0|r0c1|", "r1c0||", "r2c0|r2c1|"}));
    EXPECT_EQ(view.selectedRow, 1);
    EXPECT_EQ(view.selectCalls, 3);
    EXPECT_EQ(list.LoadFromLC(reinterpret_cast<HWND>(0x99), msg, 1), -1);
    list.SetProcessId(1);
    msg = "";
    EXPECT_EQ(list.LoadFromLC(FakeListView::Handle(), msg, 1), -3);
    zam::platform::SetListViewSource(nullptr);
}

}  // namespace
