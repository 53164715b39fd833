#include "views/explorer_bar/favorites/favorites_file_commands.h"

#include "core/atomic_file.h"
#include "core/main_loop_hop.h"
#include "stores/favorites_html.h"

#include <system_error>

namespace sarvik {
namespace {

// Larger files are no bookmark file anyone keeps; reading them would only stall the window.
constexpr std::uintmax_t kMaximumImportBytes = 64u * 1024 * 1024;

}  // namespace

FavoritesFileCommands::FavoritesFileCommands(Gtk::Window& window, BrowserDataStore& dataStore)
    : m_window(window), m_dataStore(dataStore) {}

FavoritesFileCommands::~FavoritesFileCommands() {
    if (m_chooser) m_chooser->hide();
    if (m_restoreDialog) m_restoreDialog->hide();
}

void FavoritesFileCommands::showImportChooser() { showChooser(Gtk::FileChooser::Action::OPEN, "Import Favorites"); }

void FavoritesFileCommands::showExportChooser() { showChooser(Gtk::FileChooser::Action::SAVE, "Export Favorites"); }

// Built afresh each time, so it lists the copies kept by then.
void FavoritesFileCommands::showRestoreDialog() {
    m_restoreDialog = std::make_unique<RestoreFavoritesDialog>(m_window, m_dataStore);
    m_restoreDialog->present();
}

void FavoritesFileCommands::showChooser(Gtk::FileChooser::Action action, const Glib::ustring& title) {
    const bool importing = action == Gtk::FileChooser::Action::OPEN;
    m_chooser = Gtk::FileChooserNative::create(title, m_window, action, importing ? "_Import" : "_Export", "_Cancel");
    m_chooser->set_modal(true);
    auto filter = Gtk::FileFilter::create();
    filter->set_name("Bookmark files (HTML)");
    filter->add_pattern("*.html");
    filter->add_pattern("*.htm");
    m_chooser->add_filter(filter);
    if (!importing) m_chooser->set_current_name("bookmarks.html");
    m_chooser->signal_response().connect([this, importing](int response) {
        const auto file = m_chooser->get_file();
        if (response == Gtk::ResponseType::ACCEPT && file && !file->get_path().empty())
            importing ? importFrom(file->get_path()) : exportTo(file->get_path());
        // Released later: the chooser is still inside its own signal here.
        runSoon([chooser = m_chooser] {});
        m_chooser.reset();
    });
    m_chooser->show();
}

bool FavoritesFileCommands::importFrom(const std::filesystem::path& file) {
    std::error_code error;
    const auto size = std::filesystem::file_size(file, error);
    const auto text = !error && size <= kMaximumImportBytes ? readWholeFile(file) : std::nullopt;
    const auto parsed = text ? parseFavoritesHtml(*text) : std::nullopt;
    const std::string name = file.filename().string();
    if (!parsed) {
        tell("\u201C" + name + "\u201D is not a bookmark file.",
             "Nothing was imported. Choose an HTML bookmark file exported by a web browser.");
        return false;
    }
    if (parsed->items.empty()) {
        tell("\u201C" + name + "\u201D holds no favorites.", "Nothing was imported.");
        return false;
    }
    m_dataStore.addFavoritesTree(file.stem().string(), parsed->items);
    return true;
}

bool FavoritesFileCommands::exportTo(const std::filesystem::path& file) {
    if (const auto failure = writeFileAtomically(file, writeFavoritesHtml(m_dataStore.bookmarks().get()))) {
        tell("The favorites could not be exported.", "Writing \u201C" + file.string() + "\u201D failed.");
        return false;
    }
    return true;
}

void FavoritesFileCommands::tell(const std::string& primary, const std::string& secondary) {
    m_message = std::make_unique<Gtk::MessageDialog>(m_window, primary, false, Gtk::MessageType::WARNING,
                                                     Gtk::ButtonsType::OK, true);
    m_message->set_secondary_text(secondary);
    m_message->signal_response().connect([this](int) {
        m_message->hide();
    });
    m_message->show();
}

}  // namespace sarvik
