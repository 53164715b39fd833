#include "views/common/theme_stylesheet.h"

#include "themes/window_css.h"

#include <gtkmm/stylecontext.h>

#include <iostream>

namespace sarvik {

ThemeStylesheet::ThemeStylesheet(BrowserState& state, Glib::RefPtr<Gdk::Display> display)
    : m_state(state), m_display(std::move(display)), m_provider(Gtk::CssProvider::create()) {
    m_parsingErrorConnection = m_provider->signal_parsing_error().connect(
        [this](const Glib::RefPtr<const Gtk::CssSection>& section, const Glib::Error& error) {
            ++m_parseErrors;
            std::cerr << "Theme CSS error at " << section->to_string() << ": " << error.what() << '\n';
        });
    reload();
    Gtk::StyleContext::add_provider_for_display(m_display, m_provider, GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    m_themeConnection = m_state.colorTheme.changed().connect([this] { reload(); });
}

ThemeStylesheet::~ThemeStylesheet() { Gtk::StyleContext::remove_provider_for_display(m_display, m_provider); }

void ThemeStylesheet::reload() {
    const OrvelColorTheme theme = m_state.colorTheme;
    std::string css = windowCss(theme);
    // Every assignment notifies, also with the same theme: skip the restyle then.
    if (css == m_css) return;
    m_css = std::move(css);
    m_provider->load_from_data(m_css);
}

}  // namespace sarvik
