#pragma once

#include "core/browser_state.h"
#include "core/scoped_connection.h"
#include "stores/browser_data_store.h"
#include "views/explorer_bar/history/history_row_model.h"
#include "views/common/row_context_menu.h"

#include <gtkmm/box.h>
#include <gtkmm/image.h>
#include <gtkmm/inscription.h>
#include <gtkmm/label.h>

#include <unicode/datefmt.h>

#include <memory>
#include <optional>

namespace sarvik {

// One line of the History panel's list, reused for whatever row the list
// binds to it: a day header, or an entry with its time and visit-count badge
// and the "Open", "Open in New Tab" and "Delete" menu.
class HistoryRowWidget : public Gtk::Box {
public:
    HistoryRowWidget(BrowserState& state, BrowserDataStore& store, const icu::DateFormat* timeFormat);

    void show(const HistoryRow& row);
    // Shows the object's row now and whenever the model gives it another.
    void bind(HistoryRowObject& object);
    void unbind() { m_binding.disconnect(); }
    const HistoryRow& row() const { return m_row; }

    void open();
    void openInNewTab();
    void remove();

private:
    std::string timeText(Date date) const;
    std::optional<HistoryItem> menuEntry() const;

    BrowserState& m_state;
    BrowserDataStore& m_store;
    const icu::DateFormat* m_timeFormat;
    HistoryRow m_row;
    // The entry the menu acts on: taken when the menu opens and kept while it
    // is open, since the list may rebind this row to another entry meanwhile.
    std::optional<Uuid> m_menuEntryId;
    Gtk::Label m_header;
    Gtk::Box m_entry{Gtk::Orientation::HORIZONTAL, 6};
    Gtk::Image m_clock;
    Gtk::Box m_texts{Gtk::Orientation::VERTICAL, 1};
    // Sized by font metrics rather than by their text, so rebinding the
    // list's rows after a search does not lay out every row's text again.
    Gtk::Inscription m_title;
    Gtk::Inscription m_url;
    Gtk::Label m_time;
    Gtk::Label m_badge;
    std::unique_ptr<RowContextMenu> m_menu;
    ScopedConnection m_binding;
};

}  // namespace sarvik
