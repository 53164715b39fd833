#include "views/find/find_bar.h"

#include "core/main_loop_hop.h"
#include "views/common/entry_focus.h"

#include <gtkmm/eventcontrollerkey.h>

namespace sarvik {
namespace {

constexpr unsigned kSlideMilliseconds = 150;

}  // namespace

FindBar::FindBar(BrowserState& browserState, ActiveHost activeHost)
    : m_browserState(browserState), m_activeHost(std::move(activeHost)) {
    set_name("find-bar");
    set_transition_type(Gtk::RevealerTransitionType::SLIDE_DOWN);
    set_transition_duration(kSlideMilliseconds);
    set_reveal_child(false);
    build();
    connectKeys();
    m_connections += browserState.activeTabId.changed().connect([this] {
        // The web area builds the new tab's view on the main loop; follow it there.
        if (m_pendingFollow.connected()) return;
        m_pendingFollow = scheduleSoon([this] { followActiveTab(); });
    });
    showPosition();
}

FindBar::~FindBar() {
    m_connections.clear();
    m_pendingFollow.disconnect();
    m_finderConnection.disconnect();
    m_finder.reset();
}

void FindBar::build() {
    m_row.add_css_class("orvel-find-bar");
    m_icon.set_from_icon_name("edit-find-symbolic");
    m_icon.add_css_class("orvel-find-icon");
    m_field.set_name("find-field");
    m_field.set_placeholder_text("Find in Page");
    m_field.set_hexpand(true);
    m_fieldFrame.add_css_class("orvel-find-field");
    m_fieldFrame.set_valign(Gtk::Align::CENTER);
    m_fieldFrame.append(m_field);
    m_previous.set_tooltip_text("Previous Match (Shift+Enter)");
    m_next.set_tooltip_text("Next Match (Enter)");
    m_count.set_name("find-count");
    m_count.add_css_class("orvel-find-count");
    m_matchCase.set_name("find-match-case");
    m_matchCase.add_css_class("orvel-find-option");
    m_matchCase.set_focus_on_click(false);
    m_space.set_hexpand(true);
    m_close.set_name("find-close");
    m_close.set_icon_name("window-close-symbolic");
    m_close.add_css_class("orvel-find-close");
    m_close.set_tooltip_text("Close (Esc)");
    m_close.set_focus_on_click(false);
    m_fieldFrame.set_size_request(240, -1);
    m_fieldFrame.set_hexpand(false);
    for (Gtk::Widget* child : std::initializer_list<Gtk::Widget*>{&m_icon, &m_fieldFrame, &m_previous, &m_next, &m_count,
                                                                   &m_matchCase, &m_space, &m_close})
        m_row.append(*child);
    set_child(m_row);

    m_connections += m_field.signal_changed().connect([this] { searchTyped(); });
    m_connections += m_field.signal_activate().connect([this] { findNext(); });
    m_connections += m_matchCase.signal_toggled().connect([this] { searchTyped(); });
    m_connections += m_next.signal_clicked().connect([this] { findNext(); });
    m_connections += m_previous.signal_clicked().connect([this] { findPrevious(); });
    m_connections += m_close.signal_clicked().connect([this] { close(); });
}

// Shift+Enter steps back and Escape closes, wherever the keyboard is in the bar.
void FindBar::connectKeys() {
    auto keys = Gtk::EventControllerKey::create();
    keys->set_propagation_phase(Gtk::PropagationPhase::CAPTURE);
    m_connections += keys->signal_key_pressed().connect(
        [this](guint key, guint, Gdk::ModifierType modifiers) {
            if (key == GDK_KEY_Escape) {
                close();
                return true;
            }
            const bool shift = (modifiers & Gdk::ModifierType::SHIFT_MASK) == Gdk::ModifierType::SHIFT_MASK;
            if (shift && (key == GDK_KEY_Return || key == GDK_KEY_KP_Enter || key == GDK_KEY_ISO_Enter)) {
                findPrevious();
                return true;
            }
            return false;
        },
        false);
    m_row.add_controller(keys);
}

void FindBar::open() {
    const bool wasOpen = isOpen();
    set_reveal_child(true);
    focusWithTextSelected(m_field);  // typing replaces the last search
    if (!wasOpen) searchTyped();
}

void FindBar::close() {
    if (!isOpen()) return;
    set_reveal_child(false);
    if (m_finder) m_finder->finish();
    showPosition();
    if (WebViewHost* host = m_activeHost()) host->focusPage();
}

// With a search text, Ctrl+G steps even while the bar is closed; it shows the bar again.
void FindBar::findNext() {
    if (m_field.get_text().empty()) return open();
    if (!isOpen()) open();
    if (PageFinder* finder = activeFinder()) finder->next();
}

void FindBar::findPrevious() {
    if (m_field.get_text().empty()) return open();
    if (!isOpen()) open();
    if (PageFinder* finder = activeFinder()) finder->previous();
}

PageFinder* FindBar::activeFinder() {
    WebViewHost* host = m_activeHost();
    if (m_finder && host && host->shows(*m_finder)) return m_finder.get();
    m_finderConnection.disconnect();
    m_finder.reset();  // ends the search in the page that is no longer shown
    if (!host) return nullptr;
    m_finder = host->createFinder();
    m_finderConnection = m_finder->changed().connect([this] { showPosition(); });
    return m_finder.get();
}

void FindBar::searchTyped() {
    const std::string text = m_field.get_text();
    PageFinder* finder = activeFinder();
    if (finder && (isOpen() || text.empty())) finder->search(text, m_matchCase.get_active());
    showPosition();
}

void FindBar::followActiveTab() {
    m_pendingFollow.disconnect();
    if (!m_finder) return;
    WebViewHost* host = m_activeHost();
    if (host && host->shows(*m_finder)) return;
    m_finderConnection.disconnect();
    m_finder.reset();
    if (isOpen()) searchTyped();
    showPosition();
}

void FindBar::showPosition() {
    const std::string text = m_finder && isOpen() ? m_finder->position().text() : std::string();
    if (m_count.get_text() != Glib::ustring(text)) m_count.set_text(text);
    const bool none = m_finder && m_finder->position().total() == 0u && isOpen();
    if (none != m_row.has_css_class("not-found")) {
        if (none)
            m_row.add_css_class("not-found");
        else
            m_row.remove_css_class("not-found");
    }
    const bool canStep = m_finder && m_finder->position().total().value_or(1) > 0 && !m_field.get_text().empty();
    m_next.setEnabled(canStep);
    m_previous.setEnabled(canStep);
}

}  // namespace sarvik
