#include "views/content_view.h"

namespace sarvik {
namespace {

constexpr int kMinimumWidth = 800;
constexpr int kMinimumHeight = 600;

}  // namespace

ContentView::ContentView(BrowserState& browserState, AuctionStore& auctionStore, std::filesystem::path dataDirectory)
    : Gtk::Box(Gtk::Orientation::VERTICAL, 0),
      m_browserState(browserState),
      m_auctionStore(auctionStore),
      m_dataStore(std::move(dataDirectory)),
      m_toolbar(browserState),
      m_webArea(browserState, m_dataStore),
      m_statusBar(browserState, auctionStore) {
    set_size_request(kMinimumWidth, kMinimumHeight);

    m_toolbar.set_hexpand(true);
    m_titleRow.append(m_toolbar);
    m_windowControls.set_valign(Gtk::Align::START);
    m_titleRow.append(m_windowControls);
    m_titleBar.set_child(m_titleRow);

    m_explorerBarPlace.add_css_class("orvel-explorer-bar");
    m_explorerBarPlace.set_visible(false);
    m_middleBand.set_vexpand(true);
    m_middleBand.append(m_explorerBarPlace);
    m_middleBand.append(m_webArea);

    append(m_middleBand);
    append(m_statusBar);
}

}  // namespace sarvik
