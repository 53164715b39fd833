#pragma once

#include "core/browser_state.h"
#include "core/scoped_connection.h"

#include <gdkmm/display.h>
#include <gtkmm/cssprovider.h>

#include <string>

namespace sarvik {

// Keeps the current theme's CSS installed on a display: one provider at
// application priority with the chrome's and every panel's rules, reloaded
// whenever colorTheme changes.
// Parse errors go to std::cerr (and are counted, so tests can see them).
// Removes its provider when it goes.
class ThemeStylesheet {
public:
    ThemeStylesheet(BrowserState& state, Glib::RefPtr<Gdk::Display> display);
    ~ThemeStylesheet();
    ThemeStylesheet(const ThemeStylesheet&) = delete;
    ThemeStylesheet& operator=(const ThemeStylesheet&) = delete;

    const std::string& installedCss() const { return m_css; }
    int parseErrorCount() const { return m_parseErrors; }

private:
    void reload();

    BrowserState& m_state;
    Glib::RefPtr<Gdk::Display> m_display;
    Glib::RefPtr<Gtk::CssProvider> m_provider;
    std::string m_css;
    int m_parseErrors = 0;
    ScopedConnection m_parsingErrorConnection;
    ScopedConnection m_themeConnection;
};

}  // namespace sarvik
