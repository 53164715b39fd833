// The floor of the start-up benchmark: the least a GTK 4 program needs to show
// a page with WebKitGTK 6.0, one window with one web view loading the address
// given as its only argument. Nothing else, so the browser's figures can be
// read against it.
#include <gtk/gtk.h>
#include <webkit/webkit.h>

int main(int argc, char* argv[]) {
    if (argc != 2) {
        g_printerr("usage: %s ADDRESS\n", argv[0]);
        return 2;
    }
    gtk_init();
    GMainLoop* loop = g_main_loop_new(nullptr, FALSE);
    GtkWidget* window = gtk_window_new();
    gtk_window_set_default_size(GTK_WINDOW(window), 1200, 800);
    g_signal_connect_swapped(window, "destroy", G_CALLBACK(g_main_loop_quit), loop);
    GtkWidget* view = webkit_web_view_new();
    gtk_window_set_child(GTK_WINDOW(window), view);
    webkit_web_view_load_uri(WEBKIT_WEB_VIEW(view), argv[1]);
    gtk_window_present(GTK_WINDOW(window));
    g_main_loop_run(loop);
    g_main_loop_unref(loop);
    return 0;
}
