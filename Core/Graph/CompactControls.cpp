#include "Core/Graph/CompactControls.h"

#include <wx/defs.h>

#ifdef __WXGTK3__
#include <gtk/gtk.h>
#endif

#include "Core/System/Log.h"

namespace zam::graph {

const char* CompactControlsCss() {
    // The combo box's arrow is drawn as a triangle of the text colour rather
    // than taken from the icon theme: that one icon made the toolkit read and
    // index the whole icon theme before the first window could show.
    return "entry { min-height: 0; padding: 0 3px; }\n"
           "button { min-height: 0; min-width: 0; padding: 0 4px; }\n"
           "combobox button, combobox entry { min-height: 0; padding-top: 0; padding-bottom: 0; }\n"
           "combobox box.linked button { padding: 0 2px; }\n"
           "combobox arrow { -gtk-icon-source: none;"
           " background-image: linear-gradient(to bottom left, currentColor 50%, transparent 50%),"
           " linear-gradient(to bottom right, currentColor 50%, transparent 50%);"
           " background-size: 5px 5px, 5px 5px; background-position: 3px 5px, 8px 5px;"
           " background-repeat: no-repeat; }\n";
}

void UseCompactControls() {
#ifdef __WXGTK3__
    static bool applied = false;
    if (applied) return;
    GdkScreen* screen = gdk_screen_get_default();
    if (screen == nullptr) return;
    GtkCssProvider* provider = gtk_css_provider_new();
    GError* error = nullptr;
    if (!gtk_css_provider_load_from_data(provider, CompactControlsCss(), -1, &error)) {
        // The toolkit keeps the rules it could read; the rest look as the theme has them.
        LogTrace("Style", 1, "Compact control style partly refused: %.200s", error->message);
        g_error_free(error);
    }
    gtk_style_context_add_provider_for_screen(screen, GTK_STYLE_PROVIDER(provider),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(provider);
    applied = true;
#endif
}

}  // namespace zam::graph
