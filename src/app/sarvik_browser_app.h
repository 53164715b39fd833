#pragma once

#include "core/browser_state.h"
#include "stores/auction_store.h"

#include <gtkmm/application.h>

#include <memory>

namespace sarvik {

// The application: owns the one BrowserState and the one AuctionStore that
// the whole program shares, creates both before the first window, hands them
// to every window it opens, and installs the menu bar.
class SarvikBrowserApp : public Gtk::Application {
public:
    static Glib::RefPtr<SarvikBrowserApp> create();

    BrowserState& sharedBrowserState() { return *m_sharedBrowserState; }
    AuctionStore& sharedAuctionStore() { return *m_sharedAuctionStore; }

protected:
    SarvikBrowserApp();
    void on_startup() override;
    void on_activate() override;

private:
    std::unique_ptr<BrowserState> m_sharedBrowserState;
    std::unique_ptr<AuctionStore> m_sharedAuctionStore;
};

}  // namespace sarvik
