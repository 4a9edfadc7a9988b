// The helpers that lay a designed window out quickly must give what the
// toolkit's own slower ways give.

#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/stattext.h>

#include "Core/Graph/CompactControls.h"
#include "Core/Graph/DialogUnits.h"
#include "Core/Graph/NewLabel.h"
#include "tests/gui/GuiTestSupport.h"

namespace {

struct FontSeen {
    int Size = 0;
    int Weight = 0;
};

// The font the toolkit itself styles a control with.
FontSeen FontOf(wxWindow* control) {
    GtkStyleContext* style = gtk_widget_get_style_context(control->GetHandle());
    PangoFontDescription* font = nullptr;
    gtk_style_context_get(style, gtk_style_context_get_state(style), "font", &font, nullptr);
    FontSeen seen;
    if (font == nullptr) return seen;
    seen.Size = pango_font_description_get_size(font);
    seen.Weight = pango_font_description_get_weight(font);
    pango_font_description_free(font);
    return seen;
}

class DesignLayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        frame = new wxFrame(nullptr, wxID_ANY, "design layout");
        panel = new wxPanel(frame);
    }
    void TearDown() override {
        frame->Destroy();
        zam::testing::Pump();
    }
    wxFrame* frame = nullptr;
    wxPanel* panel = nullptr;
};

TEST_F(DesignLayoutTest, DialogUnitsConvertAsTheWindowDoes) {
    // The default font, the design's narrow one, and a large one whose base
    // units round differently.
    for (const wxFont& font : {wxFont(), wxFont(wxFontInfo(8).FaceName("Liberation Sans")),
                               wxFont(wxFontInfo(17).Bold())}) {
        if (font.IsOk()) frame->SetFont(font);
        const zam::graph::DialogUnits units(panel);
        for (int v = -1; v < 700; v += 7) {
            ASSERT_EQ(units.Point(v, v + 3), panel->ConvertDialogToPixels(wxPoint(v, v + 3))) << v;
            ASSERT_EQ(units.Size(v + 1, v), panel->ConvertDialogToPixels(wxSize(v + 1, v))) << v;
        }
        EXPECT_EQ(units.Rect(7, 4, 32, 18),
                  wxRect(panel->ConvertDialogToPixels(wxPoint(7, 4)), panel->ConvertDialogToPixels(wxSize(32, 18))));
    }
}

TEST_F(DesignLayoutTest, NewLabelShowsItsTextInTheParentsFont) {
    panel->SetFont(wxFont(wxFontInfo(16).Bold()));
    const wxRect rect(5, 6, 300, 40);
    wxStaticText* quick = zam::graph::NewLabel(panel, 77, "Interval:", rect);
    auto* usual = new wxStaticText(panel, wxID_ANY, "Interval:");
    EXPECT_EQ(quick->GetId(), 77);
    EXPECT_EQ(quick->GetLabel(), "Interval:");
    EXPECT_EQ(quick->GetRect(), rect);
    EXPECT_TRUE(quick->HasFlag(wxST_NO_AUTORESIZE));
    EXPECT_EQ(quick->GetFont(), panel->GetFont());
    // The toolkit draws it in that font too, as it draws the usual label.
    EXPECT_EQ(usual->GetFont(), panel->GetFont());
    frame->Show();
    zam::testing::Pump();
    const FontSeen seen = FontOf(quick);
    EXPECT_EQ(seen.Size, FontOf(usual).Size);
    EXPECT_EQ(seen.Size, 16 * PANGO_SCALE);
    EXPECT_EQ(seen.Weight, PANGO_WEIGHT_BOLD);
}

TEST(CompactControlsTest, TheToolkitReadsTheWholeStyleSheet) {
    // A rule the toolkit refuses is dropped without a word; this says which.
    GtkCssProvider* provider = gtk_css_provider_new();
    GError* error = nullptr;
    const gboolean read = gtk_css_provider_load_from_data(provider, zam::graph::CompactControlsCss(), -1, &error);
    EXPECT_TRUE(read) << (error != nullptr ? error->message : "");
    if (error != nullptr) g_error_free(error);
    g_object_unref(provider);
}

}  // namespace
