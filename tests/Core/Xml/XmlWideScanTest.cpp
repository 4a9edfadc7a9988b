#include "Core/Xml/XmlWideScan.h"

#include "Core/Platform/CpuFeatures.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <string>

namespace {

using zam::xml::FindNameEnd;
using zam::xml::FindNonBlank;
using zam::xml::FindNonBlankPortable;
using zam::xml::FindStop;
using zam::xml::FindStopCounting;
using zam::xml::FindStopCountingPortable;
using zam::xml::FindStopPortable;
using zam::xml::LinesPassed;

// Text placed so that its last byte is the last readable one: the page after
// it is inaccessible, so a load past the end would crash the test.
class GuardedText {
public:
    explicit GuardedText(const std::string& text) {
        const long page = sysconf(_SC_PAGESIZE);
        m_Size = static_cast<size_t>(page) * 2;
        void* map = mmap(nullptr, m_Size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (map == MAP_FAILED) return;
        m_Map = static_cast<char*>(map);
        mprotect(m_Map + page, static_cast<size_t>(page), PROT_NONE);
        m_Begin = m_Map + page - text.size();
        std::memcpy(m_Begin, text.data(), text.size());
        m_End = m_Map + page;
    }
    ~GuardedText() {
        if (m_Map != nullptr) munmap(m_Map, m_Size);
    }
    const char* Begin() const { return m_Begin; }
    const char* End() const { return m_End; }

private:
    char* m_Map = nullptr;
    char* m_Begin = nullptr;
    char* m_End = nullptr;
    size_t m_Size = 0;
};

using zam::platform::VectorLevel;

// Every test below runs once on each path the processor has: the byte loop,
// SSE2 and AVX2, each against the byte loop's answer.
class XmlWideScanPath : public ::testing::TestWithParam<VectorLevel> {
protected:
    void SetUp() override {
        if (static_cast<int>(GetParam()) > static_cast<int>(zam::platform::DetectedVectorLevel())) {
            GTEST_SKIP() << "this processor lacks the path";
        }
        m_Before = zam::platform::SetVectorLevelForTests(GetParam());
    }
    void TearDown() override { zam::platform::SetVectorLevelForTests(m_Before); }

private:
    VectorLevel m_Before = zam::platform::ActiveVectorLevel();
};

std::string PathName(const ::testing::TestParamInfo<VectorLevel>& info) {
    static const char* const names[] = {"Bytes", "Sse2", "Avx2"};
    return names[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Paths, XmlWideScanPath,
                         ::testing::Values(VectorLevel::Bytes, VectorLevel::Sse2, VectorLevel::Avx2), PathName);

TEST_P(XmlWideScanPath, FindsTheFirstStopAtEveryOffsetAndNeverReadsPastTheEnd) {
    // Every length around the vector steps (16 and 32 bytes), the stop at every place
    // (or nowhere), each of the stop characters.
    for (size_t length = 0; length <= 70; ++length) {
        for (size_t at = 0; at <= length; ++at) {
            for (const char stop : {'<', '&', '\0'}) {
                std::string text(length, 'x');
                if (at < length) text[at] = stop;
                GuardedText guarded(text);
                ASSERT_NE(guarded.Begin(), nullptr);
                const char* found = FindStop<'\0', '<', '&'>(guarded.Begin(), guarded.End());
                ASSERT_EQ(found - guarded.Begin(), static_cast<long>(at)) << length << " " << at;
                ASSERT_EQ(found, (FindStopPortable<'\0', '<', '&'>(guarded.Begin(), guarded.End())));
            }
        }
    }
    // Bytes above 127 are ordinary characters, not stops.
    const std::string high(40, '\xE9');
    GuardedText guarded(high);
    EXPECT_EQ((FindStop<'\0', '<'>(guarded.Begin(), guarded.End())), guarded.End());
}

TEST_P(XmlWideScanPath, CountsOnlyTheNewlinesBeforeTheStop) {
    for (size_t length = 1; length <= 70; ++length) {
        for (size_t stopAt = 0; stopAt <= length; ++stopAt) {
            // Newlines at every third place, the last one just before the end.
            std::string text(length, 'y');
            for (size_t i = 0; i < length; i += 3) text[i] = '\n';
            text[length - 1] = '\n';
            if (stopAt < length) text[stopAt] = '<';
            GuardedText guarded(text);
            LinesPassed wide, portable;
            const char* found = FindStopCounting<'\0', '<'>(guarded.Begin(), guarded.End(), wide);
            FindStopCountingPortable<'\0', '<'>(guarded.Begin(), guarded.End(), portable);
            int expected = 0;
            const char* lastStart = nullptr;
            for (size_t i = 0; i < stopAt && i < length; ++i) {
                if (text[i] == '\n') {
                    ++expected;
                    lastStart = guarded.Begin() + i + 1;
                }
            }
            ASSERT_EQ(found - guarded.Begin(), static_cast<long>(stopAt));
            ASSERT_EQ(wide.Count, expected) << length << " " << stopAt;
            ASSERT_EQ(wide.LastStart, lastStart) << length << " " << stopAt;
            ASSERT_EQ(portable.Count, expected);
            ASSERT_EQ(portable.LastStart, lastStart);
        }
    }
}

// Every byte value, in every place of a name that spans two of the widest
// steps, against the rule written out by hand.
TEST_P(XmlWideScanPath, NamesEndAtTheFirstByteOutsideTheirCharacters) {
    const std::string nameBytes =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-._:";
    for (int b = 1; b < 256; ++b) {
        const char c = static_cast<char>(b);
        const bool inName = nameBytes.find(c) != std::string::npos;
        const bool inTag = inName || c == '/' || c == '?' || c == '!';
        for (size_t at = 0; at < 72; at += 3) {
            std::string text(72, 'n');
            text[at] = c;
            GuardedText guarded(text);
            const long name = FindNameEnd<false>(guarded.Begin(), guarded.End()) - guarded.Begin();
            const long tag = FindNameEnd<true>(guarded.Begin(), guarded.End()) - guarded.Begin();
            ASSERT_EQ(name, inName ? 72 : static_cast<long>(at)) << b << " at " << at;
            ASSERT_EQ(tag, inTag ? 72 : static_cast<long>(at)) << b << " at " << at;
        }
    }
}

// Every byte value in every place of the windows, among bytes of every kind
// a name, value or run meets, against the byte loop's windows; the window
// ends where the readable memory does.
TEST_P(XmlWideScanPath, WindowsSeeEveryByteAsTheByteLoopDoes) {
    const std::string kinds = "aZ9_:-./=\"'&\\\n\t \r<>?!#\xE9\x7F";
    for (int b = 0; b < 256; ++b) {
        for (size_t at = 0; at < 32; ++at) {
            std::string text(32, ' ');
            for (size_t i = 0; i < 32; ++i) text[i] = kinds[(i + static_cast<size_t>(b)) % kinds.size()];
            text[at] = static_cast<char>(b);
            GuardedText guarded(text);
            const zam::xml::AttributeMasks wide = zam::xml::AttributeWindow(guarded.Begin());
            const zam::xml::AttributeMasks bytes = zam::xml::BytePath::AttributeWindow(guarded.Begin());
            ASSERT_EQ(wide.Name, bytes.Name) << b << " at " << at;
            ASSERT_EQ(wide.ValueStops, bytes.ValueStops) << b << " at " << at;
            const zam::xml::RunMasks run = zam::xml::RunWindow<'\0', '<', '&'>(guarded.Begin());
            const zam::xml::RunMasks runBytes = zam::xml::BytePath::RunWindow<'\0', '<', '&'>(guarded.Begin());
            ASSERT_EQ(run.Stops, runBytes.Stops) << b << " at " << at;
            ASSERT_EQ(run.Newlines, runBytes.Newlines) << b << " at " << at;
            ASSERT_EQ(run.TagName, runBytes.TagName) << b << " at " << at;
        }
    }
}

TEST_P(XmlWideScanPath, BlanksArePassedWithTheirNewlines) {
    for (size_t length = 0; length <= 70; ++length) {
        for (size_t stopAt = 0; stopAt <= length; ++stopAt) {
            std::string text;
            for (size_t i = 0; i < length; ++i) text += " \t\n\r"[i % 4];
            if (stopAt < length) text[stopAt] = 'x';
            GuardedText guarded(text);
            LinesPassed wide, portable;
            const char* found = FindNonBlank(guarded.Begin(), guarded.End(), wide);
            FindNonBlankPortable(guarded.Begin(), guarded.End(), portable);
            ASSERT_EQ(found - guarded.Begin(), static_cast<long>(stopAt));
            ASSERT_EQ(wide.Count, portable.Count) << length << " " << stopAt;
            ASSERT_EQ(wide.Count, static_cast<int>((stopAt + 1) / 4));
            ASSERT_EQ(wide.LastStart, portable.LastStart);
        }
    }
}

}  // namespace
