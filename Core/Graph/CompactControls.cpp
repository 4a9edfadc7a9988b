#include "Core/Graph/CompactControls.h"

#include <wx/defs.h>

#ifdef __WXGTK3__
#include <gtk/gtk.h>
#endif

namespace zam::graph {

void UseCompactControls() {
#ifdef __WXGTK3__
    static bool applied = false;
    if (applied) return;
    GdkScreen* screen = gdk_screen_get_default();
    if (screen == nullptr) return;
    GtkCssProvider* provider = gtk_css_provider_new();
    const char* css =
        "entry { min-height: 0; padding: 0 3px; }\n"
        "button { min-height: 0; min-width: 0; padding: 0 4px; }\n"
        "combobox button, combobox entry { min-height: 0; padding-top: 0; padding-bottom: 0; }\n"
        "combobox box.linked button { padding: 0 2px; }\n";
    gtk_css_provider_load_from_data(provider, css, -1, nullptr);
    gtk_style_context_add_provider_for_screen(screen, GTK_STYLE_PROVIDER(provider),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(provider);
    applied = true;
#endif
}

}  // namespace zam::graph
