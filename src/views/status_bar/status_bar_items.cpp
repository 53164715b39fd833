#include "views/status_bar/status_bar_items.h"

#include "views/common/zoom_text.h"
#include "views/status_bar/status_bar_texts.h"

#include <gtkmm/eventcontrollerkey.h>
#include <gtkmm/gestureclick.h>

namespace sarvik {
namespace {

constexpr int kSpinnerFrame = 12;
constexpr int kSymbolSize = 9;
constexpr int kSwatchSize = 8;

}  // namespace

LoadStateIndicator::LoadStateIndicator(BrowserState& browserState)
    : Gtk::Box(Gtk::Orientation::HORIZONTAL, 4), m_browserState(browserState) {
    set_valign(Gtk::Align::CENTER);
    m_spinner.set_size_request(kSpinnerFrame, kSpinnerFrame);
    m_doneIcon.set_from_icon_name("object-select-symbolic");
    m_doneIcon.set_pixel_size(kSymbolSize);
    m_doneIcon.add_css_class("orvel-done-icon");
    m_label.add_css_class("orvel-status-text");
    // A long load error must not widen the window.
    m_label.set_ellipsize(Pango::EllipsizeMode::END);
    append(m_spinner);
    append(m_doneIcon);
    append(m_label);
    m_connections += browserState.tabs.changed().connect([this] { refresh(); });
    m_connections += browserState.activeTabId.changed().connect([this] { refresh(); });
    refresh();
}

void LoadStateIndicator::refresh() {
    const auto tab = m_browserState.activeTab();
    const bool loading = tab && tab->isLoading;
    m_spinner.set_visible(loading);
    m_spinner.set_spinning(loading);
    m_doneIcon.set_visible(!loading);
    const bool failed = !loading && tab && tab->loadError;
    m_doneIcon.set_from_icon_name(failed ? "dialog-error-symbolic" : "object-select-symbolic");
    if (failed) m_doneIcon.add_css_class("failed");
    else m_doneIcon.remove_css_class("failed");
    m_label.set_text(loading ? "Loading..." : failed ? *tab->loadError : "Done");
}

AuctionBadge::AuctionBadge(BrowserState& browserState, AuctionStore& auctionStore)
    : Gtk::Box(Gtk::Orientation::HORIZONTAL, 3), m_browserState(browserState), m_auctionStore(auctionStore),
      m_endingSoon(auctionStore, [this] { refresh(); }) {
    add_css_class("orvel-auction-badge");
    set_valign(Gtk::Align::CENTER);
    set_focusable(true);
    gtk_widget_set_cursor_from_name(Gtk::Widget::gobj(), "pointer");
    m_icon.set_from_icon_name("alarm-symbolic");
    m_icon.set_pixel_size(kSymbolSize);
    append(m_icon);
    append(m_label);
    auto click = Gtk::GestureClick::create();
    click->signal_released().connect([this](int, double, double) { showAuctions(); });
    add_controller(click);
    auto keys = Gtk::EventControllerKey::create();
    keys->signal_key_pressed().connect(
        [this](guint key, guint, Gdk::ModifierType) {
            const bool activates = key == GDK_KEY_Return || key == GDK_KEY_KP_Enter || key == GDK_KEY_space;
            if (activates) showAuctions();
            return activates;
        },
        false);
    add_controller(keys);
    refresh();
}

void AuctionBadge::showAuctions() {
    m_browserState.isExplorerBarVisible = true;
    m_browserState.selectedExplorerTab = ExplorerBarTab::auction;
}

void AuctionBadge::refresh() {
    const std::int64_t count = m_auctionStore.endingSoonCount();
    set_visible(count > 0);
    m_label.set_text(endingSoonText(count));
}

TabCountLabel::TabCountLabel(BrowserState& browserState) : m_browserState(browserState) {
    add_css_class("orvel-tab-count");
    m_connections += browserState.tabs.changed().connect([this] { refresh(); });
    refresh();
}

void TabCountLabel::refresh() {
    const auto count = static_cast<std::int64_t>(m_browserState.tabs->size());
    set_visible(count >= 2);
    set_text(tabCountText(count));
}

ZoomBadge::ZoomBadge(BrowserState& browserState) : m_browserState(browserState) {
    add_css_class("orvel-zoom-badge");
    set_valign(Gtk::Align::CENTER);
    m_connections += browserState.pageZoom.changed().connect([this] { refresh(); });
    refresh();
}

void ZoomBadge::refresh() {
    const double zoom = m_browserState.pageZoom;
    set_visible(zoom != 1.0);
    set_text(zoomPercentText(zoom));
}

ThemeSwatch::ThemeSwatch(BrowserState& browserState) : m_browserState(browserState) {
    add_css_class("orvel-theme-swatch");
    set_size_request(kSwatchSize, kSwatchSize);
    set_valign(Gtk::Align::CENTER);
    set_halign(Gtk::Align::CENTER);
    m_connections += browserState.colorTheme.changed().connect([this] { refresh(); });
    refresh();
}

void ThemeSwatch::refresh() { set_tooltip_text(themeSwatchTooltip(m_browserState.colorTheme)); }

}  // namespace sarvik
