#include "Core/Graph/CDynDlgTemplate.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "Core/Graph/DialogTemplateReader.h"

namespace {

using zam::graph::DlgTemplateInfo;
using zam::graph::ReadDialogTemplate;

std::vector<uint8_t> Built(CDynDlgTemplate& t) {
    const uint8_t* p = static_cast<const uint8_t*>(t.GetTemplate());
    std::vector<uint8_t> bytes(p, p + t.GetSize());
    t.ReleaseTemplate();
    return bytes;
}

// Archive bytes through a memory file, so the round trip needs no folder.
std::vector<uint8_t> Store(CDynDlgTemplate& t) {
    FILE* file = std::tmpfile();
    CArchive out(file, CArchive::store);
    t.Serialize(out);
    std::vector<uint8_t> bytes(static_cast<size_t>(std::ftell(file)));
    std::rewind(file);
    EXPECT_EQ(bytes.size(), std::fread(bytes.data(), 1, bytes.size(), file));
    std::fclose(file);
    return bytes;
}

void Load(CDynDlgTemplate& t, const std::vector<uint8_t>& bytes) {
    FILE* file = std::tmpfile();
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::rewind(file);
    CArchive in(file, CArchive::load);
    t.Serialize(in);
    std::fclose(file);
}

TEST(CDynDlgTemplateTest, EmptyTemplateIs24BytesOfHeaderAndThreeEmptyStrings) {
    CDynDlgTemplate t;
    EXPECT_EQ(24, t.GetSize());
    const std::vector<uint8_t> bytes = Built(t);
    EXPECT_EQ(std::vector<uint8_t>(24, 0), bytes);
}

TEST(CDynDlgTemplateTest, CloseButtonControlIs48BytesAtTheHeadersEnd) {
    CDynDlgTemplate t;
    t.SetHeader(0x80C80080, 0x10, 1, 2, 300, 200);
    ASSERT_EQ(1, t.AddItem(5, 6, 50, 14, 1001, 0x50010000, "Button", "&Close"));
    ASSERT_EQ(1u, t.Items.size());
    EXPECT_EQ(48u, t.Items[0]->GetRawSize());
    const std::vector<uint8_t> b = Built(t);
    // Header: style, ex-style, count 1, position and size, little-endian.
    const uint8_t header[] = {0x80, 0x00, 0xC8, 0x80, 0x10, 0, 0, 0, 1, 0, 1, 0, 2, 0, 0x2C, 0x01, 200, 0};
    ASSERT_EQ(24 + 48, static_cast<int>(b.size()));
    EXPECT_EQ(0, std::memcmp(header, b.data(), sizeof header));
    const uint8_t* item = b.data() + 24;
    EXPECT_EQ(0x50010000u, item[0] | item[1] << 8 | item[2] << 16 | unsigned(item[3]) << 24);
    EXPECT_EQ(1001, item[16] | item[17] << 8);
    EXPECT_EQ('B', item[18]);
    EXPECT_EQ(0, item[19]);
    EXPECT_EQ('&', item[18 + 14]);
    EXPECT_EQ(0, item[18 + 28] | item[18 + 29]);  // no creation data
}

TEST(CDynDlgTemplateTest, RefusedItemsLeaveCountAndLayoutAlone) {
    CDynDlgTemplate t;
    const uint8_t data[] = {1, 2, 3};
    EXPECT_EQ(1, t.AddItem(0, 0, 10, 10, 1, 0, "Static", nullptr));
    EXPECT_EQ(0, t.AddItem(0, 0, 10, 10, 2, 0, nullptr, "no class"));
    EXPECT_EQ(0, t.AddItem(0, 0, 10, 10, 3, 0, "", "empty class"));
    EXPECT_EQ(0, t.AddItem(0, 0, 10, 10, 4, 0, "Static", "x", 3, nullptr));
    EXPECT_EQ(0, t.AddItem(0, 0, 10, 10, 5, 0, "Static", "x", 70000, data));
    EXPECT_EQ(0, t.AddItem(0, 0, 10, 10, 6, 0, "Static", std::string(40000, 'a').c_str()));
    EXPECT_EQ(1, t.AddItem(0, 0, 10, 10, 7, 0, "Static", "x", 3, data));
    EXPECT_EQ(2, t.ItemCount);
    // A null title is an empty string of 2 bytes: 18 + 14 + 2 + 2, rounded.
    EXPECT_EQ(36u, (t.Items[0]->GetRawSize() + 3) & ~3u);
    // Creation data is carried after its size: 18 + 14 + 4 + 2 + 3 = 41 -> 44.
    EXPECT_EQ(24 + 36 + 44, t.GetSize());
}

TEST(CDynDlgTemplateTest, NullStringsAreEmptyNotMissing) {
    CDynDlgTemplate t;
    t.SetCaption("Title");
    t.SetCaption(static_cast<const char*>(nullptr));
    t.SetClass(nullptr);
    t.SetMenu(nullptr);
    EXPECT_EQ(2, t.CaptionSize);
    EXPECT_EQ(2, t.ClassSize);
    EXPECT_EQ(2, t.MenuSize);
    EXPECT_EQ(24, t.GetSize());
}

TEST(CDynDlgTemplateTest, OnlyOneTemplateIsHandedOutAtATime) {
    CDynDlgTemplate t;
    void* first = t.GetTemplate();
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(nullptr, t.GetTemplate());
    t.ReleaseTemplate();
    t.ReleaseTemplate();  // harmless twice
    EXPECT_NE(nullptr, t.GetTemplate());
}

TEST(CDynDlgTemplateTest, ReaderGetsBackWhatWasBuiltIncludingNonAsciiText) {
    CDynDlgTemplate t;
    t.SetHeader(0x40 | 0x80000000, 0, 10, 20, 200, 100);
    t.SetFont(8, "Liberation Sans");
    t.SetCaption("Größe €");
    const uint8_t data[] = {9, 8, 7, 6, 5};
    t.AddItem(1, 2, 3, 4, 1001, 0x50000000, "Button", "&Close");
    t.AddItem(5, 6, 7, 8, 1002, 0x50000000, "SysTreeView32", "", 5, data);
    const std::vector<uint8_t> bytes = Built(t);
    DlgTemplateInfo info;
    ASSERT_EQ(1, ReadDialogTemplate(bytes.data(), bytes.size(), info));
    EXPECT_EQ("Größe €", info.Caption);
    EXPECT_TRUE(info.HasFont);
    EXPECT_EQ(8, info.PointSize);
    EXPECT_EQ("Liberation Sans", info.FaceName);
    ASSERT_EQ(2u, info.Items.size());
    EXPECT_EQ("SysTreeView32", info.Items[1].ClassName);
    EXPECT_EQ(1002, info.Items[1].Id);
    EXPECT_EQ(std::vector<uint8_t>(data, data + 5), info.Items[1].Data);
    t.SetFont(0, nullptr);
    EXPECT_EQ(0u, t.Style & 0x40);
    EXPECT_EQ(0, t.FaceSize);
}

TEST(CDynDlgTemplateTest, ArchiveRoundTripIsByteIdentical) {
    CDynDlgTemplate t;
    t.SetHeader(0x80C80040, 0, 0, 0, 320, 240);
    t.SetFont(9, "DejaVu Sans");
    t.SetCaption("Konfiguration");
    const uint8_t data[] = {0xAA, 0xBB};
    t.AddItem(0, 0, 100, 200, 1000, 0x50800007, "SysTreeView32", "");
    t.AddItem(10, 210, 50, 14, 1001, 0x50010000, "Button", "&Close", 2, data);
    const std::vector<uint8_t> stored = Store(t);
    const std::vector<uint8_t> built = Built(t);

    CDynDlgTemplate back;
    Load(back, stored);
    ASSERT_TRUE(back.LoadOk());
    EXPECT_EQ(2, back.ItemCount);
    EXPECT_EQ(stored, Store(back));
    EXPECT_EQ(built, Built(back));
    EXPECT_EQ(u"DejaVu Sans", back.FaceName);
    EXPECT_TRUE(back.GetRuntimeClass()->IsDerivedFrom(RUNTIME_CLASS(CObject)));
    EXPECT_STREQ("CDynDlgTemplate::CDlgItemTempl", back.Items[0]->GetRuntimeClass()->m_lpszClassName);
}

TEST(CDynDlgTemplateTest, FontBitInAnArchiveBringsItsFace) {
    // Written by hand, as another program's archive would be.
    std::vector<uint8_t> a = {0x40, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 50, 0, 40, 0};
    auto put32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) a.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    for (int s = 0; s < 3; ++s) {
        put32(2);
        a.push_back(0);
        a.push_back(0);
    }
    a.push_back(10);  // points
    a.push_back(0);
    put32(8);
    for (char c : {'A', 'r', 'i'}) {
        a.push_back(static_cast<uint8_t>(c));
        a.push_back(0);
    }
    a.push_back(0);
    a.push_back(0);
    a.push_back(0);  // no controls
    a.push_back(0);
    CDynDlgTemplate t;
    Load(t, a);
    ASSERT_TRUE(t.LoadOk());
    EXPECT_EQ(10, t.PointSize);
    EXPECT_EQ(8, t.FaceSize);
    EXPECT_EQ(u"Ari", t.FaceName);
    EXPECT_EQ(24 + 12, t.GetSize());  // 18 + 6 + 2 + 8 = 34 -> 36
    EXPECT_EQ(a, Store(t));
}

TEST(CDynDlgTemplateTest, LyingOrTruncatedArchivesAreRefusedAndLeaveItEmpty) {
    CDynDlgTemplate good;
    good.SetCaption("Caption");
    good.AddItem(0, 0, 10, 10, 1001, 0, "Button", "OK");
    const std::vector<uint8_t> stored = Store(good);

    for (size_t cut : {size_t(0), size_t(10), size_t(30), stored.size() - 1}) {
        CDynDlgTemplate t;
        t.AddItem(0, 0, 1, 1, 1, 0, "Static", "old");
        Load(t, std::vector<uint8_t>(stored.begin(), stored.begin() + static_cast<long>(cut)));
        EXPECT_FALSE(t.LoadOk()) << cut;
        EXPECT_EQ(0, t.ItemCount);
        EXPECT_EQ(24, t.GetSize());
    }
    std::vector<uint8_t> odd = stored;
    odd[18] = 3;  // menu size odd
    std::vector<uint8_t> huge = stored;
    huge[21] = 0x7F;  // menu size of two gigabytes
    std::vector<uint8_t> unterminated = stored;
    const size_t captionFirst = 18 + 4 + 2 + 4 + 2 + 4;
    unterminated[captionFirst + 14] = 'x';  // caption's last unit not zero
    std::vector<uint8_t> wrongClass = stored;
    wrongClass[captionFirst + 16 + 8] = 'X';  // class name in the list tag
    for (const auto& bad : {odd, huge, unterminated, wrongClass}) {
        CDynDlgTemplate t;
        Load(t, bad);
        EXPECT_FALSE(t.LoadOk());
        EXPECT_EQ(0, t.ItemCount);
    }
}

}  // namespace
