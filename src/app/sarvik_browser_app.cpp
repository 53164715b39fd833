#include "app/sarvik_browser_app.h"

#include "app/command_line_addresses.h"
#include "app/keyboard_shortcuts.h"
#include "app/menu_commands.h"
#include "app/quit_request.h"
#include "core/background_writer.h"
#include "core/data_directory.h"
#include "views/window/main_window.h"
#include "web/sandbox_status.h"

#include <giomm/applicationcommandline.h>
#include <glib-unix.h>
#include <gtkmm/messagedialog.h>

#include <chrono>
#include <csignal>
#include <iostream>

namespace sarvik {
namespace {

// How long an ending process waits for saves still being written.
constexpr std::chrono::seconds kSavesAtExitLimit{5};

// Told to end (a logout, `kill`), the process first lets the saves being
// written reach the disk, then ends by the signal as before: nothing else runs,
// so the tabs are offered again at the next start as after any kill.
void finishSavesOnTerminate() {
    g_unix_signal_add(
        SIGTERM,
        [](gpointer) -> gboolean {
            BackgroundWriter::finishAll(kSavesAtExitLimit);
            std::signal(SIGTERM, SIG_DFL);
            std::raise(SIGTERM);
            return G_SOURCE_REMOVE;
        },
        nullptr);
}

}  // namespace

SarvikBrowserApp::SarvikBrowserApp()
    : Gtk::Application(SARVIK_APPLICATION_ID, Gio::Application::Flags::HANDLES_COMMAND_LINE) {}

Glib::RefPtr<SarvikBrowserApp> SarvikBrowserApp::create() { return Glib::make_refptr_for_instance(new SarvikBrowserApp()); }

void SarvikBrowserApp::on_startup() {
    Gtk::Application::on_startup();
    if (!lockDataFolder()) return;
    finishSavesOnTerminate();
    if (const auto warning = sandboxOffWarning()) std::cerr << *warning << std::endl;
    m_sharedBrowserState = std::make_unique<BrowserState>();
    m_settings = std::make_unique<SettingsKeeper>(*m_sharedBrowserState, SettingsKeeper::defaultFile());
    m_sharedAuctionStore = std::make_unique<AuctionStore>(defaultDataDirectory());
    m_session = std::make_unique<SessionStore>(*m_sharedBrowserState, defaultDataDirectory());
    m_stylesheet = std::make_unique<ThemeStylesheet>(*m_sharedBrowserState, Gdk::Display::get_default());
    m_downloadManager = std::make_unique<DownloadManager>(m_downloads, defaultDownloadFolder());
    set_menubar(installMenuCommands(
        *this, {.openPreferencesWindow = [this] { preferencesWindow().open(); },
                .quit = [this] { requestQuit(*this, m_downloads.runningCount(), [this] { quit(); }); }}));
}

// Two processes on one data folder would each keep their own stores and the
// last save would win, so a process that finds the folder taken touches nothing.
bool SarvikBrowserApp::lockDataFolder() {
    const auto folder = defaultDataDirectory();
    ensureDirectory(folder);
    m_dataFolderLock = std::make_unique<DataFolderLock>(folder);
    return m_dataFolderLock->state() != DataFolderLock::State::HeldByAnother;
}

bool SarvikBrowserApp::dataFolderTaken() const {
    return m_dataFolderLock && m_dataFolderLock->state() == DataFolderLock::State::HeldByAnother;
}

// Reached only when the running process could not be handed the addresses
// (no session bus here, or another bus than its own).
void SarvikBrowserApp::showDataFolderTaken() {
    const std::string folder = defaultDataDirectory().string();
    std::cerr << "SarvikBrowser is already running with this data folder (" << folder << "); exiting." << std::endl;
    auto* dialog = new Gtk::MessageDialog("SarvikBrowser is already running with this data folder", false,
                                          Gtk::MessageType::ERROR, Gtk::ButtonsType::CLOSE, true);
    dialog->set_title("SarvikBrowser");
    dialog->set_secondary_text(folder + "\n\nThe running browser could not be asked to open the pages. "
                                        "Use its window, or quit it before starting SarvikBrowser again.");
    add_window(*dialog);
    dialog->signal_response().connect([dialog](int) { dialog->hide(); });
    dialog->signal_hide().connect([dialog] { delete dialog; });
    dialog->present();
}

PreferencesWindow& SarvikBrowserApp::preferencesWindow() {
    if (!m_preferencesWindow)
        m_preferencesWindow = std::make_unique<PreferencesWindow>(*m_sharedBrowserState, *m_sharedAuctionStore);
    return *m_preferencesWindow;
}

// The application object may outlive the main loop, so a settings change still waiting is saved here.
// Only a normal quit gets here; a crash or a kill leaves the session marked as not ended.
void SarvikBrowserApp::on_shutdown() {
    m_settings.reset();
    if (m_session) m_session->endCleanly();
    BackgroundWriter::finishAll(kSavesAtExitLimit);  // windows, and the stores they hold, may outlive this
    Gtk::Application::on_shutdown();
}

void SarvikBrowserApp::on_activate() {
    if (dataFolderTaken()) return;
    if (auto* existing = get_active_window()) {
        existing->present();
        return;
    }
    auto* window = new MainWindow(*m_sharedBrowserState, *m_sharedAuctionStore, defaultDataDirectory(),
                                  m_downloadManager.get(), m_session.get());
    add_window(*window);
    addKeyboardShortcutsWindow(*this, *window);
    window->signal_hide().connect([window] { delete window; });
    window->present();
}

int SarvikBrowserApp::on_command_line(const Glib::RefPtr<Gio::ApplicationCommandLine>& commandLine) {
    if (dataFolderTaken()) {
        showDataFolderTaken();
        return 1;
    }
    int argc = 0;
    char** argv = commandLine->get_arguments(argc);
    std::vector<std::string> words(argv + (argc > 0 ? 1 : 0), argv + argc);
    g_strfreev(argv);
    const bool isFirstWindow = !get_active_window();
    const bool restored = isFirstWindow && openLastTabsIfChosen();
    const std::string cwd = commandLine->get_cwd();
    openAddresses(commandLineAddresses(words, cwd.empty() ? std::filesystem::current_path() : std::filesystem::path(cwd),
                                       m_sharedBrowserState->searchEngine.get()),
                  isFirstWindow && !restored);
    activate();
    return 0;
}

// Before the first window, so the home page is not loaded only to be replaced.
bool SarvikBrowserApp::openLastTabsIfChosen() {
    if (m_session->start() != SessionStart::restore) return false;
    m_session->restoreLastSession();
    return true;
}

void SarvikBrowserApp::openAddresses(const std::vector<Url>& addresses, bool intoStartTab) {
    if (addresses.empty()) return;
    BrowserState& state = *m_sharedBrowserState;
    auto next = addresses.begin();
    if (intoStartTab) {
        // Before the first window: the first tab opens the first address instead of the home page.
        const Uuid first = state.activeTabId;
        state.updateTab(first, [&](BrowserTab& tab) { tab.url = *next; });
        state.addressBarText = next->absoluteString();
        ++next;
    }
    for (; next != addresses.end(); ++next) state.newTab(*next);
}

}  // namespace sarvik
