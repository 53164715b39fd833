#include "views/window/page_key_router.h"

#include <algorithm>

namespace sarvik {
namespace {

bool has(Gdk::ModifierType state, Gdk::ModifierType modifier) { return (state & modifier) == modifier; }

constexpr std::size_t kKeysOnTheirWay = 16;

}  // namespace

PageKeyRouter::PageKeyRouter(Gtk::Window& window, Gtk::Widget& pageArea)
    : m_window(window), m_pageArea(pageArea), m_keys(Gtk::EventControllerKey::create()) {
    m_keys->set_name("page-key-router");
    // Added after the window's own controllers and ahead of them in the
    // capture phase: GTK runs a widget's newest controllers first.
    m_keys->set_propagation_phase(Gtk::PropagationPhase::CAPTURE);
    m_keys->signal_key_pressed().connect(sigc::mem_fun(*this, &PageKeyRouter::onKeyPressed), false);
    m_window.add_controller(m_keys);
}

PageKeyRouter::~PageKeyRouter() {
    m_window.remove_controller(m_keys);
    for (GdkEvent* event : m_forwarded) gdk_event_unref(event);
}

bool PageKeyRouter::isReserved(guint keyval, Gdk::ModifierType state) {
    const bool ctrl = has(state, Gdk::ModifierType::CONTROL_MASK);
    const bool shift = has(state, Gdk::ModifierType::SHIFT_MASK);
    const guint key = gdk_keyval_to_lower(keyval);
    if (key == GDK_KEY_F6) return true;
    if (!ctrl) return false;
    switch (key) {
    case GDK_KEY_t:
    case GDK_KEY_w:
    case GDK_KEY_q:
    case GDK_KEY_Tab:
    case GDK_KEY_ISO_Left_Tab:
    case GDK_KEY_Page_Up:
    case GDK_KEY_Page_Down:
        return true;
    case GDK_KEY_l:
        return !shift;
    default:
        return false;
    }
}

bool PageKeyRouter::focusIsInPage() const {
    const Gtk::Widget* focus = m_window.get_focus();
    return focus && (focus == &m_pageArea || focus->is_ancestor(m_pageArea));
}

bool PageKeyRouter::takeBack(GdkEvent* event) {
    const auto found = std::find(m_forwarded.begin(), m_forwarded.end(), event);
    if (found == m_forwarded.end()) return false;
    gdk_event_unref(*found);
    m_forwarded.erase(found);
    return true;
}

bool PageKeyRouter::onKeyPressed(guint keyval, guint, Gdk::ModifierType state) {
    GdkEvent* event = gtk_event_controller_get_current_event(GTK_EVENT_CONTROLLER(m_keys->gobj()));
    if (event && takeBack(event)) return false;  // the page did not take it: the shortcuts may
    const bool chord = has(state, Gdk::ModifierType::CONTROL_MASK) || has(state, Gdk::ModifierType::ALT_MASK);
    if (!event || !chord || isReserved(keyval, state) || !focusIsInPage()) return false;
    if (m_forwarded.size() == kKeysOnTheirWay) {
        gdk_event_unref(m_forwarded.front());
        m_forwarded.pop_front();
    }
    m_forwarded.push_back(gdk_event_ref(event));
    gtk_event_controller_key_forward(m_keys->gobj(), m_window.get_focus()->gobj());
    return true;
}

}  // namespace sarvik
