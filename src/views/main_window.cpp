#include "views/main_window.h"

#include "core/notification_center.h"
#include "core/notification_names.h"
#include "views/preferences_window.h"

#include <gtkmm/shortcutcontroller.h>

namespace sarvik {
namespace {

constexpr int kDefaultWidth = 1200;
constexpr int kDefaultHeight = 800;

}  // namespace

MainWindow::MainWindow(BrowserState& browserState, AuctionStore& auctionStore, std::filesystem::path dataDirectory,
                       DownloadManager* downloads)
    : m_browserState(browserState), m_auctionStore(auctionStore), m_contentView(browserState, auctionStore, std::move(dataDirectory)), m_handlers(browserState),
      m_scrapbookArchiveOpener(browserState, m_contentView.scrapbookStore()), m_favoritesFileCommands(*this, m_contentView.dataStore()),
      m_pageCommands(*this, browserState, m_contentView.webArea()), m_pageKeys(*this, m_contentView.webArea()) {
    set_name("main-window");
    set_default_size(kDefaultWidth, kDefaultHeight);
    set_titlebar(m_contentView.titleBar());
    set_child(m_contentView);
    set_show_menubar(true);
    if (downloads) m_contentView.statusBar().showDownloads(*downloads);
    m_connections += browserState.tabs.changed().connect([this] { followActiveTabTitle(); });
    m_connections += browserState.activeTabId.changed().connect([this] { followActiveTabTitle(); });
    followActiveTabTitle();
    m_preferencesSubscription = NotificationCenter::defaultCenter().subscribe(
        notifications::kOpenPreferences, [this](const Notification&) { presentPreferencesSheet(); });
    addAddressFieldShortcuts();
}

// Ctrl+L and F6 put the cursor in the address field, as in every Linux browser.
void MainWindow::addAddressFieldShortcuts() {
    auto controller = Gtk::ShortcutController::create();
    controller->set_scope(Gtk::ShortcutScope::GLOBAL);
    auto focus = Gtk::CallbackAction::create([this](Gtk::Widget&, const Glib::VariantBase&) {
        return m_contentView.toolbar().focusAddressField();
    });
    controller->add_shortcut(Gtk::Shortcut::create(Gtk::ShortcutTrigger::parse_string("<Control>l|F6"), focus));
    add_controller(controller);
}

void MainWindow::presentPreferencesSheet() { PreferencesSheet::present(*this, m_browserState, m_auctionStore); }

void MainWindow::followActiveTabTitle() {
    const auto tab = m_browserState.activeTab();
    const std::string title = tab ? tab->title : std::string();
    const Glib::ustring wanted = title.empty() ? "SarvikBrowser" : title + " \u2014 SarvikBrowser";
    if (get_title() != wanted) set_title(wanted);
}

}  // namespace sarvik
