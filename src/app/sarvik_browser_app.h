#pragma once

#include "core/browser_state.h"

#include <gtkmm/application.h>

#include <memory>

namespace sarvik {

// The application: owns the one BrowserState the whole program shares,
// creates it before the first window and hands it to every window it opens.
class SarvikBrowserApp : public Gtk::Application {
public:
    static Glib::RefPtr<SarvikBrowserApp> create();

    BrowserState& sharedBrowserState() { return *m_sharedBrowserState; }

protected:
    SarvikBrowserApp();
    void on_activate() override;

private:
    std::unique_ptr<BrowserState> m_sharedBrowserState;
};

}  // namespace sarvik
