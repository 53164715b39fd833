#include "views/window/content_view.h"

#include "web/web_view_host.h"

namespace sarvik {
namespace {

constexpr int kMinimumWidth = 800;
constexpr int kMinimumHeight = 600;
constexpr unsigned kExplorerBarSlideMilliseconds = 200;

}  // namespace

ContentView::ContentView(BrowserState& browserState, AuctionStore& auctionStore, std::filesystem::path dataDirectory)
    : Gtk::Box(Gtk::Orientation::VERTICAL, 0),
      m_browserState(browserState),
      m_auctionStore(auctionStore),
      m_dataStore(dataDirectory),
      m_scrapbookStore(dataDirectory),
      m_toolbar(browserState),
      m_webArea(browserState, m_dataStore),
      m_findBar(browserState, [this] { return m_webArea.host(); }),
      m_statusBar(browserState, auctionStore) {
    set_size_request(kMinimumWidth, kMinimumHeight);

    m_toolbar.set_hexpand(true);
    m_toolbar.expanded().addressField().offerSuggestions(m_dataStore);
    m_startWindowControls.set_valign(Gtk::Align::START);
    m_endWindowControls.set_valign(Gtk::Align::START);
    m_titleRow.append(m_startWindowControls);
    m_titleRow.append(m_toolbar);
    m_titleRow.append(m_endWindowControls);
    m_titleBar.set_child(m_titleRow);

    m_explorerBarPlace.set_transition_type(Gtk::RevealerTransitionType::SLIDE_RIGHT);
    m_explorerBarPlace.set_transition_duration(kExplorerBarSlideMilliseconds);
    m_connections += m_explorerBarPlace.property_child_revealed().signal_changed().connect([this] {
        if (!m_explorerBarPlace.get_child_revealed() && !m_browserState.isExplorerBarVisible.get()) {
            m_explorerBarPlace.unset_child();
            m_explorerBar.reset();
        }
    });
    m_connections += browserState.isExplorerBarVisible.changed().connect([this] { followExplorerBarVisibility(); });
    followExplorerBarVisibility();
    m_middleBand.set_vexpand(true);
    m_middleBand.append(m_explorerBarPlace);
    m_middleBand.append(m_webArea);

    append(m_storageNotice);
    append(m_findBar);
    append(m_middleBand);
    append(m_statusBar);
}

ContentView::~ContentView() {
    // The bar goes before its place, with nothing left to answer the place's signals.
    m_connections.clear();
    m_explorerBarPlace.unset_child();
    m_explorerBar.reset();
    if (m_sessionRestore) remove(*m_sessionRestore);
}

void ContentView::followExplorerBarVisibility() {
    const bool visible = m_browserState.isExplorerBarVisible;
    if (visible && !m_explorerBar) {
        auto activePage = [this]() -> std::unique_ptr<PageArchiver> {
            const auto* host = m_webArea.host();
            return host ? host->createArchiver() : nullptr;
        };
        m_explorerBar = std::make_unique<ExplorerBarView>(m_browserState, m_dataStore, m_scrapbookStore,
                                                          m_auctionStore, activePage);
        m_explorerBarPlace.set_child(*m_explorerBar);
    }
    m_explorerBarPlace.set_reveal_child(visible);
}

void ContentView::offerSessionRestore(SessionStore& session) {
    if (m_sessionRestore) return;
    m_sessionRestore = std::make_unique<SessionRestoreBar>(session);
    insert_child_after(*m_sessionRestore, m_storageNotice);
}

void ContentView::showDownloads(DownloadManager& manager) {
    if (m_downloadStatus) return;
    m_downloadStatus = std::make_unique<DownloadStatus>(manager);
    m_statusBar.addItem(*m_downloadStatus);
}

}  // namespace sarvik
