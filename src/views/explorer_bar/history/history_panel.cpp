#include "views/explorer_bar/history/history_panel.h"

#include "views/common/row_keys.h"
#include "views/explorer_bar/history/history_row_widget.h"
#include "core/main_loop_hop.h"

#include <gtkmm/noselection.h>
#include <gtkmm/separator.h>
#include <gtkmm/signallistitemfactory.h>

namespace sarvik {
namespace {

Gtk::Label* makeLabel(Gtk::Box& box, const char* text, const char* cssClass) {
    auto* label = Gtk::make_managed<Gtk::Label>(text);
    label->add_css_class(cssClass);
    label->add_css_class("orvel-secondary-text");
    box.append(*label);
    return label;
}

void fillEmptyState(Gtk::Box& box, const char* icon, const char* iconClass) {
    box.set_hexpand(true);
    box.set_valign(Gtk::Align::START);
    box.set_margin_top(40);
    auto* image = Gtk::make_managed<Gtk::Image>();
    image->set_from_icon_name(icon);
    image->add_css_class(iconClass);
    box.append(*image);
}

}  // namespace

HistoryPanel::HistoryPanel(BrowserState& state, BrowserDataStore& store)
    : Gtk::Box(Gtk::Orientation::VERTICAL), m_state(state), m_store(store),
      m_timeFormat(icu::DateFormat::createTimeInstance(icu::DateFormat::kShort)),
      m_rows(store.history().get()) {
    add_css_class("orvel-history-panel");
    buildSearchBox();
    buildButtonRow();
    append(*Gtk::make_managed<Gtk::Separator>(Gtk::Orientation::HORIZONTAL));
    buildList();
    buildEmptyStates();
    m_connections += m_store.history().changed().connect(sigc::mem_fun(*this, &HistoryPanel::refresh));
    refresh();
}

// The list lets go of its rows before the model that they read goes.
HistoryPanel::~HistoryPanel() { m_list.set_model({}); }

void HistoryPanel::buildSearchBox() {
    m_searchIcon.set_from_icon_name("system-search-symbolic");
    m_searchIcon.add_css_class("orvel-small-icon");
    m_searchIcon.add_css_class("orvel-secondary-text");
    m_searchField.set_placeholder_text("Search history...");
    m_searchField.set_has_frame(false);
    m_searchField.set_hexpand(true);
    m_searchField.add_css_class("orvel-plain-entry");
    m_clearSearch.set_icon_name("edit-clear-symbolic");
    m_clearSearch.add_css_class("orvel-plain-button");
    m_clearSearch.add_css_class("orvel-small-icon");
    m_clearSearch.add_css_class("orvel-secondary-text");
    m_clearSearch.set_tooltip_text("Clear");
    m_clearSearch.set_visible(false);
    m_searchBox.add_css_class("orvel-history-search-box");
    m_searchBox.set_margin_start(8);
    m_searchBox.set_margin_end(8);
    m_searchBox.set_margin_top(6);
    m_searchBox.set_margin_bottom(6);
    m_searchBox.append(m_searchIcon);
    m_searchBox.append(m_searchField);
    m_searchBox.append(m_clearSearch);
    append(m_searchBox);
    m_connections += m_searchField.signal_changed().connect(sigc::mem_fun(*this, &HistoryPanel::refresh));
    m_connections += m_clearSearch.signal_clicked().connect([this] { m_searchField.set_text(""); });
}

void HistoryPanel::buildButtonRow() {
    auto* content = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 4);
    auto* icon = Gtk::make_managed<Gtk::Image>();
    icon->set_from_icon_name("user-trash-symbolic");
    icon->add_css_class("orvel-small-icon");
    content->append(*icon);
    content->append(*Gtk::make_managed<Gtk::Label>("Clear All"));
    m_clearAll.set_child(*content);
    m_clearAll.add_css_class("orvel-button");
    m_clearAll.add_css_class("small");
    m_clearAll.set_halign(Gtk::Align::END);
    m_clearAll.set_hexpand(true);
    m_buttonRow.set_margin_start(8);
    m_buttonRow.set_margin_end(8);
    m_buttonRow.set_margin_bottom(4);
    m_buttonRow.append(m_clearAll);
    append(m_buttonRow);
    m_connections += m_clearAll.signal_clicked().connect(sigc::mem_fun(*this, &HistoryPanel::askToClear));
}

void HistoryPanel::buildList() {
    auto factory = Gtk::SignalListItemFactory::create();
    factory->signal_setup().connect([this](const Glib::RefPtr<Gtk::ListItem>& item) {
        item->set_child(*Gtk::make_managed<HistoryRowWidget>(m_state, m_store, m_timeFormat.get()));
    });
    factory->signal_bind().connect([](const Glib::RefPtr<Gtk::ListItem>& item) {
        auto row = std::dynamic_pointer_cast<HistoryRowObject>(item->get_item());
        auto* widget = dynamic_cast<HistoryRowWidget*>(item->get_child());
        if (row && widget) widget->bind(*row);
    });
    factory->signal_unbind().connect([](const Glib::RefPtr<Gtk::ListItem>& item) {
        if (auto* widget = dynamic_cast<HistoryRowWidget*>(item->get_child())) widget->unbind();
    });
    m_list.set_model(Gtk::NoSelection::create(m_rows.listModel()));
    m_list.set_factory(factory);
    addRowKeys(m_list);
    m_list.set_single_click_activate(true);
    m_list.add_css_class("orvel-history-list");
    m_connections += m_list.signal_activate().connect(sigc::mem_fun(*this, &HistoryPanel::activateRow));
    m_scroller.set_policy(Gtk::PolicyType::NEVER, Gtk::PolicyType::AUTOMATIC);
    m_scroller.set_vexpand(true);
    m_scroller.set_child(m_list);
    append(m_scroller);
}

void HistoryPanel::buildEmptyStates() {
    fillEmptyState(m_emptyHistory, "document-open-recent-symbolic", "orvel-empty-icon");
    makeLabel(m_emptyHistory, "No history yet", "orvel-empty-title");
    makeLabel(m_emptyHistory, "Pages you visit will appear here", "orvel-empty-detail");
    fillEmptyState(m_noResults, "system-search-symbolic", "orvel-no-results-icon");
    m_noResults.get_first_child()->add_css_class("orvel-secondary-text");
    makeLabel(m_noResults, "No results found", "orvel-empty-title");
    m_emptyHistory.set_vexpand(true);
    m_noResults.set_vexpand(true);
    append(m_emptyHistory);
    append(m_noResults);
}

// The query is used as typed: a lone space searches for a space.
void HistoryPanel::refresh() {
    const std::string query = m_searchField.get_text();
    m_clearSearch.set_visible(!query.empty());
    const auto& history = m_store.history().get();
    const auto scroll = m_scroller.get_vadjustment();
    const bool isAtTop = scroll->get_value() <= scroll->get_lower();
    if (query.empty())
        m_rows.setRows(groupedRows(history, m_store.historyDays()));
    else
        m_rows.setRows(resultRows(history, m_store.searchHistoryPositions(query)));
    // GTK keeps the rows on screen where they stand, also when new ones come
    // above the first; at the top the user expects to see those come in. A
    // list not yet on screen has no place to keep.
    if (isAtTop && m_list.get_mapped() && m_rows.size() > 0)
        m_list.activate_action("list.scroll-to-item", Glib::Variant<guint32>::create(0));
    const bool isEmpty = m_rows.size() == 0;
    m_scroller.set_visible(!isEmpty);
    m_emptyHistory.set_visible(isEmpty && query.empty());
    m_noResults.set_visible(isEmpty && !query.empty());
}

void HistoryPanel::activateRow(guint position) {
    if (position >= m_rows.size()) return;
    const HistoryRow row = m_rows.rowAt(position);
    if (!row.isHeader) m_state.openAddress(row.item.url);
}

void HistoryPanel::askToClear() {
    auto* window = dynamic_cast<Gtk::Window*>(get_root());
    m_confirmation = std::make_unique<Gtk::MessageDialog>("Clear History", false, Gtk::MessageType::WARNING,
                                                          Gtk::ButtonsType::NONE, true);
    if (window) m_confirmation->set_transient_for(*window);
    m_confirmation->set_secondary_text("Are you sure you want to clear all browsing history?");
    m_confirmation->add_button("Cancel", Gtk::ResponseType::CANCEL);
    m_confirmation->add_button("Clear All", Gtk::ResponseType::ACCEPT)->add_css_class("destructive-action");
    m_confirmation->set_default_response(Gtk::ResponseType::CANCEL);
    m_confirmation->signal_response().connect(sigc::mem_fun(*this, &HistoryPanel::answerClear));
    m_confirmation->signal_close_request().connect(sigc::mem_fun(*this, &HistoryPanel::cancelClear), false);
    m_confirmation->show();
}

// Escape answers Cancel; left to GTK, closing would destroy the dialog under its wrapper.
bool HistoryPanel::cancelClear() {
    answerClear(Gtk::ResponseType::CANCEL);
    return true;
}

void HistoryPanel::answerClear(int response) {
    if (response == Gtk::ResponseType::ACCEPT) m_store.clearHistory();
    // Closed from its own handler: let the dialog finish its signal first.
    runSoon([dialog = std::shared_ptr<Gtk::MessageDialog>(std::move(m_confirmation))] {
        dialog->hide();
    });
}

}  // namespace sarvik
