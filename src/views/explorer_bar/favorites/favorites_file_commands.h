#pragma once

#include "core/scoped_connection.h"
#include "stores/browser_data_store.h"
#include "views/explorer_bar/favorites/restore_favorites_dialog.h"

#include <gtkmm/filechoosernative.h>
#include <gtkmm/messagedialog.h>
#include <gtkmm/window.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace sarvik {

// File → "Import Favorites…", "Export Favorites…" and "Restore Favorites…" for one window: a file
// chooser, then the favorites read from or written to a bookmark file in the
// format every browser shares.
class FavoritesFileCommands {
public:
    FavoritesFileCommands(Gtk::Window& window, BrowserDataStore& dataStore);
    ~FavoritesFileCommands();

    // The steps after the chooser, for tests. An import that finds no bookmark
    // file, or no favorites in it, adds nothing and says so; a failed export
    // says so. Both return whether they did what was asked.
    bool importFrom(const std::filesystem::path& file);
    bool exportTo(const std::filesystem::path& file);

    // The chooser while one is open, else null.
    Gtk::FileChooserNative* chooser() const { return m_chooser.get(); }
    // The last message shown, or null.
    Gtk::MessageDialog* message() const { return m_message.get(); }

    void showImportChooser();
    void showExportChooser();
    // File → "Restore Favorites…".
    void showRestoreDialog();
    // The restore dialog once opened, else null.
    RestoreFavoritesDialog* restoreDialog() const { return m_restoreDialog.get(); }

private:
    void showChooser(Gtk::FileChooser::Action action, const Glib::ustring& title);
    void tell(const std::string& primary, const std::string& secondary);

    Gtk::Window& m_window;
    BrowserDataStore& m_dataStore;
    Glib::RefPtr<Gtk::FileChooserNative> m_chooser;
    std::unique_ptr<Gtk::MessageDialog> m_message;
    std::unique_ptr<RestoreFavoritesDialog> m_restoreDialog;
};

}  // namespace sarvik
