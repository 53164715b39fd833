#include "app/sarvik_browser_app.h"

#include "app/menu_commands.h"
#include "views/main_window.h"

namespace sarvik {

SarvikBrowserApp::SarvikBrowserApp()
    : Gtk::Application(SARVIK_APPLICATION_ID),
      m_sharedBrowserState(std::make_unique<BrowserState>()),
      m_sharedAuctionStore(std::make_unique<AuctionStore>(defaultDataDirectory())) {}

Glib::RefPtr<SarvikBrowserApp> SarvikBrowserApp::create() { return Glib::make_refptr_for_instance(new SarvikBrowserApp()); }

void SarvikBrowserApp::on_startup() {
    Gtk::Application::on_startup();
    set_menubar(installMenuCommands(*this));
}

void SarvikBrowserApp::on_activate() {
    if (auto* existing = get_active_window()) {
        existing->present();
        return;
    }
    auto* window = new MainWindow(*m_sharedBrowserState, *m_sharedAuctionStore);
    add_window(*window);
    window->signal_hide().connect([window] { delete window; });
    window->present();
}

}  // namespace sarvik
