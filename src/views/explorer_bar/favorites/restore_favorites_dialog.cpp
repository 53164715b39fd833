#include "views/explorer_bar/favorites/restore_favorites_dialog.h"

#include <gtkmm/scrolledwindow.h>

#include <string>

namespace sarvik {
namespace {

std::string rowText(const FavoritesBackup& backup) {
    const std::string count = std::to_string(backup.favoriteCount);
    return backup.day + "  \u2014  " + count + (backup.favoriteCount == 1 ? " favorite" : " favorites");
}

}  // namespace

RestoreFavoritesDialog::RestoreFavoritesDialog(Gtk::Window& parent, BrowserDataStore& dataStore)
    : m_dataStore(dataStore) {
    set_title("Restore Favorites");
    set_transient_for(parent);
    set_modal(true);
    set_default_size(360, 320);
    add_css_class("orvel-restore-favorites");

    m_notice.set_wrap(true);
    m_notice.set_xalign(0);
    m_list.set_selection_mode(Gtk::SelectionMode::SINGLE);
    auto* scroller = Gtk::make_managed<Gtk::ScrolledWindow>();
    scroller->set_child(m_list);
    scroller->set_vexpand(true);
    m_buttons.set_halign(Gtk::Align::END);
    m_buttons.append(m_cancel);
    m_buttons.append(m_restore);
    m_content.set_margin(12);
    m_content.append(m_notice);
    m_content.append(*scroller);
    m_content.append(m_buttons);
    set_child(m_content);

    m_restore.set_sensitive(false);
    m_list.signal_selected_rows_changed().connect([this] { m_restore.set_sensitive(m_list.get_selected_row() != nullptr); });
    m_cancel.signal_clicked().connect([this] { hide(); });
    m_restore.signal_clicked().connect([this] { restoreSelected(); });
    fillList();
}

void RestoreFavoritesDialog::fillList() {
    m_backups = m_dataStore.favoritesBackups();
    for (const auto& backup : m_backups) {
        auto* label = Gtk::make_managed<Gtk::Label>(rowText(backup));
        label->set_xalign(0);
        label->set_margin(6);
        m_list.append(*label);
    }
    m_notice.set_text(m_backups.empty() ? "No copies of your favorites have been kept yet."
                                        : "Choose a day: its favorites replace all of today\u2019s.");
}

void RestoreFavoritesDialog::restoreSelected() {
    const auto* row = m_list.get_selected_row();
    if (!row) return;
    const auto index = static_cast<std::size_t>(row->get_index());
    if (index >= m_backups.size()) return;
    if (m_dataStore.restoreFavorites(m_backups[index])) {
        hide();
        return;
    }
    m_notice.set_text("That copy can no longer be read; nothing was changed.");
}

}  // namespace sarvik
