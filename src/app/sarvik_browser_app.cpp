#include "app/sarvik_browser_app.h"

#include <gtkmm/applicationwindow.h>

namespace sarvik {
namespace {

constexpr int kDefaultWidth = 1200;
constexpr int kDefaultHeight = 800;

}  // namespace

SarvikBrowserApp::SarvikBrowserApp()
    : Gtk::Application(SARVIK_APPLICATION_ID), m_sharedBrowserState(std::make_unique<BrowserState>()) {}

Glib::RefPtr<SarvikBrowserApp> SarvikBrowserApp::create() { return Glib::make_refptr_for_instance(new SarvikBrowserApp()); }

void SarvikBrowserApp::on_activate() {
    if (auto* existing = get_active_window()) {
        existing->present();
        return;
    }
    auto* window = new Gtk::ApplicationWindow();
    window->set_default_size(kDefaultWidth, kDefaultHeight);
    add_window(*window);
    window->signal_hide().connect([window] { delete window; });
    window->present();
}

}  // namespace sarvik
