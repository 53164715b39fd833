#include "views/window/main_window.h"

#include "core/notification_names.h"
#include "views/preferences/preferences_window.h"
#include "views/window/window_keys.h"

#include <gtkmm/shortcutcontroller.h>

namespace sarvik {
namespace {

constexpr int kDefaultWidth = 1200;
constexpr int kDefaultHeight = 800;

}  // namespace

MainWindow::MainWindow(BrowserState& browserState, AuctionStore& auctionStore, std::filesystem::path dataDirectory,
                       DownloadManager* downloads, SessionStore* session)
    : m_browserState(browserState), m_auctionStore(auctionStore), m_contentView(browserState, auctionStore, std::move(dataDirectory)),
      m_scrapbookArchiveOpener(browserState, m_contentView.scrapbookStore()), m_favoritesFileCommands(*this, m_contentView.dataStore()),
      m_pageCommands(*this, browserState, m_contentView.webArea()), m_pageKeys(*this, m_contentView.webArea()),
      m_commands(*this, commandTable()) {
    set_name("main-window");
    set_default_size(kDefaultWidth, kDefaultHeight);
    set_titlebar(m_contentView.titleBar());
    set_child(m_contentView);
    set_show_menubar(true);
    if (downloads) m_contentView.showDownloads(*downloads);
    if (session) m_contentView.offerSessionRestore(*session);
    m_connections += browserState.tabs.changed().connect([this] { followActiveTabTitle(); });
    m_connections += browserState.activeTabId.changed().connect([this] { followActiveTabTitle(); });
    followActiveTabTitle();
    addAddressFieldShortcuts();
    addTabShortcuts();
}

// Ctrl+Tab and Ctrl+Page Down go right, with Shift or Page Up left; Alt+1 to 8 pick a tab, Alt+9 the last;
// Ctrl+Shift+Page Down and Page Up move the active tab.
// Taken on the way down, before the page or GTK's focus keys (Ctrl+Tab) see them.
void MainWindow::addTabShortcuts() {
    auto controller = Gtk::ShortcutController::create();
    controller->set_propagation_phase(Gtk::PropagationPhase::CAPTURE);
    const auto add = [&](std::string_view trigger, std::function<void()> act) {
        auto action = Gtk::CallbackAction::create([act = std::move(act)](Gtk::Widget&, const Glib::VariantBase&) {
            act();
            return true;
        });
        controller->add_shortcut(Gtk::Shortcut::create(Gtk::ShortcutTrigger::parse_string(std::string(trigger)), action));
    };
    BrowserState& state = m_browserState;
    using namespace window_keys;
    add(kNextTab.triggers, [&state] { state.selectTabBeside(1); });
    add(kPreviousTab.triggers, [&state] { state.selectTabBeside(-1); });
    add(kMoveTabRight.triggers, [&state] { state.moveActiveTab(1); });
    add(kMoveTabLeft.triggers, [&state] { state.moveActiveTab(-1); });
    for (std::size_t digit = 1; digit <= 8; ++digit)
        add("<Alt>" + std::to_string(digit), [&state, digit] { state.selectTabAt(digit - 1); });
    add(kLastTab.triggers, [&state] { state.selectTabAt(state.tabs->size() - 1); });
    add_controller(controller);
}

// Ctrl+L and F6 put the cursor in the address field, as in every Linux browser.
void MainWindow::addAddressFieldShortcuts() {
    auto controller = Gtk::ShortcutController::create();
    controller->set_scope(Gtk::ShortcutScope::GLOBAL);
    auto focus = Gtk::CallbackAction::create([this](Gtk::Widget&, const Glib::VariantBase&) {
        return m_contentView.toolbar().focusAddressField();
    });
    controller->add_shortcut(Gtk::Shortcut::create(Gtk::ShortcutTrigger::parse_string(std::string(window_keys::kAddressField.triggers)), focus));
    add_controller(controller);
}

// The menu's commands as this window answers them, in the menu's order.
std::vector<WindowCommand> MainWindow::commandTable() {
    namespace names = notifications;
    BrowserState& state = m_browserState;
    FindBar& find = m_contentView.findBar();
    const auto showPanel = [&state](ExplorerBarTab panel) {
        return [&state, panel](const Notification&) {
            state.isExplorerBarVisible = true;
            state.selectedExplorerTab = panel;
        };
    };
    return {
        {names::kNewTab, [&state](const Notification&) { state.newTab(); }},
        {names::kCloseTab, [&state](const Notification&) {
             if (const auto tab = state.activeTab()) state.closeTab(tab->id);
         }},
        {names::kReopenClosedTab, [this](const Notification&) { m_pageCommands.reopenClosedTab(); }},
        {names::kImportFavorites, [this](const Notification&) { m_favoritesFileCommands.showImportChooser(); }},
        {names::kExportFavorites, [this](const Notification&) { m_favoritesFileCommands.showExportChooser(); }},
        {names::kRestoreFavorites, [this](const Notification&) { m_favoritesFileCommands.showRestoreDialog(); }},
        {names::kPrintPage, [this](const Notification&) { m_pageCommands.printActivePage(); }},
        {names::kFindInPage, [&find](const Notification&) { find.open(); }},
        {names::kFindNext, [&find](const Notification&) { find.findNext(); }},
        {names::kFindPrevious, [&find](const Notification&) { find.findPrevious(); }},
        {names::kToggleExplorerBar, [&state](const Notification&) { state.isExplorerBarVisible = !state.isExplorerBarVisible; }},
        {names::kToggleToolbar, [&state](const Notification&) { state.isToolbarCollapsed = !state.isToolbarCollapsed; }},
        {names::kShowFavorites, showPanel(ExplorerBarTab::favorites)},
        {names::kShowHistory, showPanel(ExplorerBarTab::history)},
        {names::kShowSearch, showPanel(ExplorerBarTab::search)},
        {names::kShowScrapbook, showPanel(ExplorerBarTab::scrapbook)},
        {names::kShowAuction, showPanel(ExplorerBarTab::auction)},
        {names::kZoomIn, [&state](const Notification&) { state.zoomIn(); }},
        {names::kZoomOut, [&state](const Notification&) { state.zoomOut(); }},
        {names::kResetZoom, [&state](const Notification&) { state.resetZoom(); }},
        {names::kChangeTheme, [&state](const Notification& n) {
             if (const auto theme = n.object ? colorThemeFromRawValue(*n.object) : std::nullopt) state.colorTheme = *theme;
         }},
        {names::kOpenPreferences, [this](const Notification&) { presentPreferencesSheet(); }},
        {names::kLoadScrapbookArchive, [this](const Notification& n) { m_scrapbookArchiveOpener.open(n); }},
    };
}

void MainWindow::presentPreferencesSheet() { PreferencesSheet::present(*this, m_browserState, m_auctionStore); }

void MainWindow::followActiveTabTitle() {
    const auto tab = m_browserState.activeTab();
    const std::string title = tab ? tab->title : std::string();
    const Glib::ustring wanted = title.empty() ? "SarvikBrowser" : title + " \u2014 SarvikBrowser";
    if (get_title() != wanted) set_title(wanted);
}

}  // namespace sarvik
