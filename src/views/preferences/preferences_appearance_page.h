#pragma once

#include "core/browser_state.h"
#include "core/color_theme.h"
#include "core/scoped_connection.h"
#include "views/preferences/preferences_page.h"

#include <gtkmm/button.h>
#include <gtkmm/checkbutton.h>
#include <gtkmm/label.h>

#include <array>

namespace sarvik {

// The Appearance page: one swatch per colour theme (the current one outlined),
// the text zoom with its percentage, and the explorer-bar toggle. It follows
// the browser state, so a theme, zoom or explorer-bar change made elsewhere
// shows here at once.
class PreferencesAppearancePage : public PreferencesPage {
public:
    explicit PreferencesAppearancePage(BrowserState& state);

    Glib::ustring zoomText() const { return m_zoomValue->get_text(); }

private:
    void buildThemeSection();
    void buildZoomSection();
    void buildExplorerBarSection();
    Gtk::Button* makeSwatch(OrvelColorTheme theme);
    void showTheme();
    void showZoom();
    void showExplorerBarVisibility();
    void onExplorerBarToggled();

    BrowserState& m_state;
    std::array<Gtk::Button*, kAllColorThemes.size()> m_swatches{};
    Gtk::Label* m_zoomValue = nullptr;
    Gtk::CheckButton* m_explorerBarToggle = nullptr;
    bool m_isShowingState = false;  // set while the page itself moves the toggle
    ConnectionSet m_connections;
};

}  // namespace sarvik
