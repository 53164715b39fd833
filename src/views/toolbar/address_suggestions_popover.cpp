#include "views/toolbar/address_suggestions_popover.h"

#include "views/toolbar/toolbar_symbols.h"

#include <gtkmm/box.h>
#include <gtkmm/gestureclick.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>

namespace sarvik {
namespace {

constexpr int kVerticalOffset = 2;

Gtk::Label& rowLabel(const char* name, const char* cssClass) {
    auto* label = Gtk::make_managed<Gtk::Label>();
    label->set_name(name);
    label->add_css_class(cssClass);
    label->set_xalign(0);
    label->set_ellipsize(Pango::EllipsizeMode::END);
    label->set_single_line_mode(true);
    return *label;
}

}  // namespace

AddressSuggestionsPopover::AddressSuggestionsPopover(BrowserState& state, const BrowserDataStore& store,
                                                     Gtk::Widget& anchor, Gtk::Entry& entry)
    : m_state(state),
      m_suggestions(store),
      m_anchor(anchor),
      m_entry(entry),
      m_model(Gio::ListStore<RecordObject<AddressSuggestion>>::create()),
      m_selection(Gtk::SingleSelection::create(m_model)),
      m_factory(Gtk::SignalListItemFactory::create()) {
    set_name("address-suggestions");
    add_css_class("orvel-address-suggestions");
    set_has_arrow(false);
    set_autohide(false);  // an autohiding popover would take the keyboard from the field
    set_can_focus(false);
    set_position(Gtk::PositionType::BOTTOM);
    set_offset(0, kVerticalOffset);

    m_selection->set_autoselect(false);
    m_selection->set_can_unselect(true);
    m_factory->signal_setup().connect(sigc::mem_fun(*this, &AddressSuggestionsPopover::setupRow));
    m_factory->signal_bind().connect(sigc::mem_fun(*this, &AddressSuggestionsPopover::bindRow));
    m_list.set_name("address-suggestion-list");
    m_list.set_model(m_selection);
    m_list.set_factory(m_factory);
    m_list.set_can_focus(false);
    set_child(m_list);
    set_parent(anchor);

    m_keys = Gtk::EventControllerKey::create();
    m_keys->set_propagation_phase(Gtk::PropagationPhase::CAPTURE);  // before the entry acts on Return
    m_keys->signal_key_pressed().connect([this](guint key, guint, Gdk::ModifierType) { return onKey(key); }, false);
    entry.add_controller(m_keys);
    m_focus = Gtk::EventControllerFocus::create();
    m_focus->signal_enter().connect([this] { m_suggestions.prepare(); });
    m_focus->signal_leave().connect([this] { close(); });
    entry.add_controller(m_focus);
    m_connections += state.navigationCommand.changed().connect([this] { close(); });
    m_connections += state.activeTabId.changed().connect([this] { close(); });
}

AddressSuggestionsPopover::~AddressSuggestionsPopover() {
    m_connections.clear();
    m_entry.remove_controller(m_keys);
    m_entry.remove_controller(m_focus);
    if (get_parent()) unparent();
}

void AddressSuggestionsPopover::showFor(const std::string& text) {
    auto found = m_suggestions.suggestionsFor(text);
    if (found.empty() || !m_anchor.get_mapped()) {
        close();
        return;
    }
    std::vector<Glib::RefPtr<RecordObject<AddressSuggestion>>> objects;
    objects.reserve(found.size());
    for (auto& suggestion : found) objects.push_back(RecordObject<AddressSuggestion>::create(std::move(suggestion)));
    m_model->splice(0, m_model->get_n_items(), objects);
    m_selection->set_selected(GTK_INVALID_LIST_POSITION);
    set_size_request(m_anchor.get_width(), -1);
    if (!get_visible()) popup();
}

void AddressSuggestionsPopover::close() {
    if (!get_visible()) return;
    popdown();
    m_selection->set_selected(GTK_INVALID_LIST_POSITION);
}

std::vector<AddressSuggestion> AddressSuggestionsPopover::shown() const {
    std::vector<AddressSuggestion> list;
    for (guint i = 0; i < m_model->get_n_items(); ++i) list.push_back(m_model->get_item(i)->record());
    return list;
}

std::optional<guint> AddressSuggestionsPopover::selectedRow() const {
    const guint selected = m_selection->get_selected();
    if (selected == GTK_INVALID_LIST_POSITION) return std::nullopt;
    return selected;
}

bool AddressSuggestionsPopover::onKey(guint key) {
    if (!get_visible()) return false;
    switch (key) {
        case GDK_KEY_Down:
        case GDK_KEY_KP_Down:
            moveSelection(true);
            return true;
        case GDK_KEY_Up:
        case GDK_KEY_KP_Up:
            moveSelection(false);
            return true;
        case GDK_KEY_Escape:
            close();
            return true;
        case GDK_KEY_Return:
        case GDK_KEY_KP_Enter:
        case GDK_KEY_ISO_Enter:
            if (!selectedRow()) return false;
            open(*selectedRow());
            return true;
        default:
            return false;
    }
}

void AddressSuggestionsPopover::moveSelection(bool down) {
    const guint count = m_model->get_n_items();
    if (count == 0) return;
    const auto selected = selectedRow();
    if (down) {
        const guint next = selected ? std::min(*selected + 1, count - 1) : 0;
        m_selection->set_selected(next);
    } else {
        m_selection->set_selected(selected && *selected > 0 ? *selected - 1 : GTK_INVALID_LIST_POSITION);
    }
}

// The chosen address goes into the field and loads as the stored address it is.
void AddressSuggestionsPopover::open(guint position) {
    const auto object = m_model->get_item(position);
    if (!object) return;
    const std::string url = object->record().url;
    close();
    m_state.openAddress(url);
    m_state.addressBarText = url;
}

void AddressSuggestionsPopover::setupRow(const Glib::RefPtr<Gtk::ListItem>& listItem) {
    auto* row = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 6);
    row->set_name("address-suggestion-row");
    auto* star = Gtk::make_managed<Gtk::Image>();
    star->set_from_icon_name(symbols::kFavorites);
    star->set_name("suggestion-star");
    star->add_css_class("orvel-suggestion-star");
    star->set_valign(Gtk::Align::CENTER);
    auto* texts = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::VERTICAL, 0);
    texts->set_hexpand(true);
    texts->append(rowLabel("suggestion-title", "orvel-suggestion-title"));
    texts->append(rowLabel("suggestion-url", "orvel-suggestion-url"));
    row->append(*star);
    row->append(*texts);
    // The row's own click, so that hovering alone never changes the selection.
    auto click = Gtk::GestureClick::create();
    Gtk::ListItem* item = listItem.get();
    click->signal_released().connect([this, item](int, double, double) { open(item->get_position()); });
    row->add_controller(click);
    listItem->set_child(*row);
}

void AddressSuggestionsPopover::bindRow(const Glib::RefPtr<Gtk::ListItem>& listItem) {
    auto object = std::dynamic_pointer_cast<RecordObject<AddressSuggestion>>(listItem->get_item());
    auto* row = listItem->get_child();
    if (!object || !row) return;
    const AddressSuggestion& suggestion = object->record();
    auto* star = row->get_first_child();
    auto* title = dynamic_cast<Gtk::Label*>(star->get_next_sibling()->get_first_child());
    auto* url = dynamic_cast<Gtk::Label*>(title->get_next_sibling());
    // The star keeps its place in every row so titles line up.
    star->set_opacity(suggestion.isFavorite ? 1.0 : 0.0);
    title->set_text(suggestion.title.empty() ? suggestion.url : suggestion.title);
    url->set_text(suggestion.url);
}

}  // namespace sarvik
