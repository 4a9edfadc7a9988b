#include "Core/Graph/DialogTemplateReader.h"

#include <gtest/gtest.h>

#include <vector>

#include "Core/Graph/CDynDlgTemplate.h"

namespace {

using zam::graph::DlgTemplateInfo;
using zam::graph::ReadDialogTemplate;

std::vector<uint8_t> TwoControls() {
    CDynDlgTemplate t;
    t.SetCaption("Dialog");
    const uint8_t data[] = {1, 2, 3, 4};
    t.AddItem(0, 0, 10, 10, 1001, 0, "Button", "OK");
    t.AddItem(0, 20, 10, 10, 1002, 0, "Edit", "text", 4, data);
    const uint8_t* p = static_cast<const uint8_t*>(t.GetTemplate());
    return std::vector<uint8_t>(p, p + t.GetSize());
}

TEST(DialogTemplateReaderTest, EveryCutIsRefusedWithTheRightCodeAndNeverOverread) {
    const std::vector<uint8_t> whole = TwoControls();
    DlgTemplateInfo info;
    ASSERT_EQ(1, ReadDialogTemplate(whole.data(), whole.size(), info));
    ASSERT_EQ(2u, info.Items.size());
    EXPECT_EQ(-1, ReadDialogTemplate(nullptr, 100, info));
    // Each prefix gets its own heap copy, so a read past it would be caught by
    // the sanitizer build.
    const size_t header = 18 + 2 + 2 + 14;  // the second control starts at 36 + 40 = 76
    for (size_t cut = 0; cut < whole.size(); ++cut) {
        std::vector<uint8_t> prefix(whole.begin(), whole.begin() + static_cast<long>(cut));
        const int result = ReadDialogTemplate(prefix.data(), prefix.size(), info);
        if (cut < 18) EXPECT_EQ(-1, result) << cut;
        else if (cut < header) EXPECT_EQ(-2, result) << cut;
        else if (cut >= 76 && cut < 94) EXPECT_EQ(-3, result) << cut;  // second header cut
        else EXPECT_LT(result, -2) << cut;
        EXPECT_LE(info.Items.size(), 1u);
    }
}

TEST(DialogTemplateReaderTest, ALyingCountOrDataSizeIsRefused) {
    std::vector<uint8_t> bytes = TwoControls();
    DlgTemplateInfo info;
    bytes[8] = 3;  // three controls announced, two present
    EXPECT_EQ(-3, ReadDialogTemplate(bytes.data(), bytes.size(), info));
    EXPECT_EQ(2u, info.Items.size());
    bytes = TwoControls();
    // The second control's data size: after its header, "Edit" and "text".
    const size_t dataSize = 76 + 18 + 10 + 10;
    ASSERT_EQ(4, bytes[dataSize]);
    bytes[dataSize] = 0xFF;
    EXPECT_EQ(-5, ReadDialogTemplate(bytes.data(), bytes.size(), info));
}

}  // namespace
