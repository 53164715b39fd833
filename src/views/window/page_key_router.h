#pragma once

#include <gdk/gdk.h>
#include <gtkmm/eventcontrollerkey.h>
#include <gtkmm/widget.h>
#include <gtkmm/window.h>

#include <deque>

namespace sarvik {

// Lets a focused page have a key before the browser's shortcuts do, as
// every browser does: Ctrl+B in an editable area makes text bold, and a
// page's own Ctrl+S handler runs. GTK runs the application's shortcuts in
// the capture phase, ahead of the page, so a key with Ctrl or Alt held
// while the focus is inside `pageArea` is taken first and given to the page;
// the engine hands back a key the page did not take, and that one goes on
// to the shortcuts. The browser's reserved keys (new, close and reopen tab,
// the address field, quit, switching tabs) never go to the page.
class PageKeyRouter {
public:
    PageKeyRouter(Gtk::Window& window, Gtk::Widget& pageArea);
    ~PageKeyRouter();
    PageKeyRouter(const PageKeyRouter&) = delete;
    PageKeyRouter& operator=(const PageKeyRouter&) = delete;

    static bool isReserved(guint keyval, Gdk::ModifierType state);

private:
    bool onKeyPressed(guint keyval, guint keycode, Gdk::ModifierType state);
    bool focusIsInPage() const;
    bool takeBack(GdkEvent* event);

    Gtk::Window& m_window;
    Gtk::Widget& m_pageArea;
    Glib::RefPtr<Gtk::EventControllerKey> m_keys;
    // Keys given to the page, oldest first; one the engine hands back goes on.
    // Several can be on their way when keys come fast; the ones the page took
    // never come back and leave once newer ones push them out.
    std::deque<GdkEvent*> m_forwarded;
};

}  // namespace sarvik
