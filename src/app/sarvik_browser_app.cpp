#include "app/sarvik_browser_app.h"

#include "app/command_line_addresses.h"
#include "app/menu_commands.h"
#include "views/window/main_window.h"
#include "web/sandbox_status.h"

#include <giomm/applicationcommandline.h>

#include <iostream>

namespace sarvik {

SarvikBrowserApp::SarvikBrowserApp()
    : Gtk::Application(SARVIK_APPLICATION_ID, Gio::Application::Flags::HANDLES_COMMAND_LINE) {}

Glib::RefPtr<SarvikBrowserApp> SarvikBrowserApp::create() { return Glib::make_refptr_for_instance(new SarvikBrowserApp()); }

void SarvikBrowserApp::on_startup() {
    Gtk::Application::on_startup();
    if (const auto warning = sandboxOffWarning()) std::cerr << *warning << std::endl;
    m_sharedBrowserState = std::make_unique<BrowserState>();
    m_sharedAuctionStore = std::make_unique<AuctionStore>(defaultDataDirectory());
    m_stylesheet = std::make_unique<ThemeStylesheet>(*m_sharedBrowserState, Gdk::Display::get_default());
    m_downloadManager = std::make_unique<DownloadManager>(m_downloads, defaultDownloadFolder());
    set_menubar(installMenuCommands(*this, [this] { preferencesWindow().open(); }));
}

PreferencesWindow& SarvikBrowserApp::preferencesWindow() {
    if (!m_preferencesWindow)
        m_preferencesWindow = std::make_unique<PreferencesWindow>(*m_sharedBrowserState, *m_sharedAuctionStore);
    return *m_preferencesWindow;
}

void SarvikBrowserApp::on_activate() {
    if (auto* existing = get_active_window()) {
        existing->present();
        return;
    }
    auto* window = new MainWindow(*m_sharedBrowserState, *m_sharedAuctionStore, defaultDataDirectory(),
                                  m_downloadManager.get());
    add_window(*window);
    window->signal_hide().connect([window] { delete window; });
    window->present();
}

int SarvikBrowserApp::on_command_line(const Glib::RefPtr<Gio::ApplicationCommandLine>& commandLine) {
    int argc = 0;
    char** argv = commandLine->get_arguments(argc);
    std::vector<std::string> words(argv + (argc > 0 ? 1 : 0), argv + argc);
    g_strfreev(argv);
    const std::string cwd = commandLine->get_cwd();
    openAddresses(commandLineAddresses(words, cwd.empty() ? std::filesystem::current_path() : std::filesystem::path(cwd),
                                       m_sharedBrowserState->searchEngine.get()));
    activate();
    return 0;
}

void SarvikBrowserApp::openAddresses(const std::vector<Url>& addresses) {
    if (addresses.empty()) return;
    BrowserState& state = *m_sharedBrowserState;
    auto next = addresses.begin();
    if (!get_active_window()) {
        // Before the first window: the first tab opens the first address instead of the home page.
        const Uuid first = state.activeTabId;
        state.updateTab(first, [&](BrowserTab& tab) { tab.url = *next; });
        state.addressBarText = next->absoluteString();
        ++next;
    }
    for (; next != addresses.end(); ++next) state.newTab(*next);
}

}  // namespace sarvik
