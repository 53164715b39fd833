#include "views/toolbar/address_field.h"

#include "views/common/entry_focus.h"
#include "views/toolbar/toolbar_symbols.h"

namespace sarvik {

AddressField::AddressField(BrowserState& state) : Gtk::Box(Gtk::Orientation::HORIZONTAL, 4), m_state(state) {
    set_name("address-field");
    add_css_class("orvel-address-field");
    set_hexpand(true);
    set_valign(Gtk::Align::CENTER);
    m_security.set_name("security-symbol");
    m_security.set_valign(Gtk::Align::CENTER);
    m_entry.set_name("address-entry");
    m_entry.set_has_frame(false);
    m_entry.set_placeholder_text("Address");
    m_entry.set_hexpand(true);
    append(m_security);
    append(m_entry);

    m_entry.signal_changed().connect([this] {
        if (m_writingEntry) return;
        m_edited = true;
        m_state.addressBarText = std::string(m_entry.get_text());
        if (m_suggestions) m_suggestions->showFor(m_state.addressBarText.get());
    });
    m_entry.signal_activate().connect([this] {
        m_edited = false;
        m_state.navigate(m_state.addressBarText.get());
    });
    m_focus = Gtk::EventControllerFocus::create();
    m_focus->signal_leave().connect([this] { m_edited = false; });
    m_entry.add_controller(m_focus);
    m_keys = Gtk::EventControllerKey::create();
    m_keys->signal_key_pressed().connect(
        [this](guint key, guint, Gdk::ModifierType) {
            if (key != GDK_KEY_Escape) return false;
            restoreActiveAddress();
            return true;
        },
        false);
    m_entry.add_controller(m_keys);
    m_connections += m_state.addressBarText.changed().connect(sigc::mem_fun(*this, &AddressField::showAddressText));
    m_connections += m_state.tabs.changed().connect(sigc::mem_fun(*this, &AddressField::showSecurity));
    m_connections += m_state.navigationCommand.changed().connect([this] {
        const auto& command = m_state.navigationCommand.get();
        if (command && std::holds_alternative<NavigationCommand::Load>(command->action)) m_edited = false;
    });
    m_connections += m_state.activeTabId.changed().connect([this] {
        m_edited = false;  // what was typed was for the tab left behind
        showSecurity();
    });
    showAddressText();
    m_secure = true;  // forces the first showSecurity() to set the symbol
    showSecurity();
}

void AddressField::showAddressText() {
    const std::string& text = m_state.addressBarText.get();
    if (m_entry.get_text().raw() == text) return;
    if (m_edited) {
        m_state.addressBarText = std::string(m_entry.get_text());
        return;
    }
    if (m_suggestions) m_suggestions->close();
    m_writingEntry = true;
    m_entry.set_text(text);
    m_writingEntry = false;
    // An address arriving in the focused field is selected, so typing replaces it.
    if (m_focus->contains_focus()) m_entry.select_region(0, -1);
}

void AddressField::showSecurity() {
    const BrowserTab* tab = m_state.findTab(m_state.activeTabId);
    const bool secure = tab && tab->url && tab->url->scheme() == "https";
    if (secure == m_secure) return;
    m_secure = secure;
    m_security.set_from_icon_name(secure ? symbols::kSecure : symbols::kInsecure);
    m_security.set_css_classes({secure ? "security-lock" : "security-globe"});
}

void AddressField::restoreActiveAddress() {
    m_edited = false;
    const BrowserTab* tab = m_state.findTab(m_state.activeTabId);
    m_state.addressBarText = tab && tab->url ? tab->url->absoluteString() : std::string();
    m_entry.set_position(-1);
}

void AddressField::offerSuggestions(const BrowserDataStore& store) {
    m_suggestions = std::make_unique<AddressSuggestionsPopover>(m_state, store, *this, m_entry);
}

void AddressField::focusAndSelectAll() {
    focusWithTextSelected(m_entry);
}

}  // namespace sarvik
