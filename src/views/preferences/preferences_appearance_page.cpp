#include "views/preferences/preferences_appearance_page.h"

#include "themes/preferences_css.h"
#include "views/common/zoom_text.h"
#include "views/preferences/preferences_choices.h"

#include <gtkmm/flowbox.h>

#include <cstddef>
#include <string>

namespace sarvik {
namespace {

Gtk::Button* smallSymbolButton(const char* iconName, const char* tooltip) {
    auto* button = Gtk::make_managed<Gtk::Button>();
    button->set_icon_name(iconName);
    button->set_tooltip_text(tooltip);
    button->add_css_class("orvel-button");
    button->add_css_class("small");
    button->set_valign(Gtk::Align::CENTER);
    return button;
}

}  // namespace

PreferencesAppearancePage::PreferencesAppearancePage(BrowserState& state)
    : PreferencesPage(PreferencesTab::appearance), m_state(state) {
    buildThemeSection();
    buildZoomSection();
    buildExplorerBarSection();
    showTheme();
    showZoom();
    showExplorerBarVisibility();
    m_connections += m_state.colorTheme.changed().connect(sigc::mem_fun(*this, &PreferencesAppearancePage::showTheme));
    m_connections += m_state.pageZoom.changed().connect(sigc::mem_fun(*this, &PreferencesAppearancePage::showZoom));
    m_connections += m_state.isExplorerBarVisible.changed().connect(
        sigc::mem_fun(*this, &PreferencesAppearancePage::showExplorerBarVisibility));
}

void PreferencesAppearancePage::buildThemeSection() {
    auto& content = addSection("Toolbar Color Theme");
    auto* grid = Gtk::make_managed<Gtk::FlowBox>();
    grid->add_css_class("preferences-swatch-grid");
    grid->set_selection_mode(Gtk::SelectionMode::NONE);
    grid->set_homogeneous(true);
    grid->set_column_spacing(8);
    grid->set_row_spacing(8);
    grid->set_min_children_per_line(1);
    grid->set_max_children_per_line(kAllColorThemes.size());
    grid->set_activate_on_single_click(false);
    for (std::size_t i = 0; i < kAllColorThemes.size(); ++i) {
        m_swatches[i] = makeSwatch(kAllColorThemes[i]);
        grid->append(*m_swatches[i]);
        grid->get_child_at_index(static_cast<int>(i))->set_focusable(false);
    }
    content.append(*grid);
}

Gtk::Button* PreferencesAppearancePage::makeSwatch(OrvelColorTheme theme) {
    auto* swatch = Gtk::make_managed<Gtk::Button>();
    swatch->add_css_class("preferences-swatch");
    swatch->set_size_request(100, -1);
    swatch->set_tooltip_text(std::string(rawValue(theme)));
    auto* column = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::VERTICAL, 6);
    auto* fill = Gtk::make_managed<Gtk::Box>();
    fill->add_css_class("preferences-swatch-fill");
    fill->add_css_class(swatchThemeClass(theme));
    fill->set_size_request(-1, 40);
    auto* name = Gtk::make_managed<Gtk::Label>(std::string(rawValue(theme)));
    name->add_css_class("preferences-swatch-name");
    column->append(*fill);
    column->append(*name);
    swatch->set_child(*column);
    // The swatch's outline and name ease over with their CSS transition.
    swatch->signal_clicked().connect([this, theme] { m_state.colorTheme = theme; });
    return swatch;
}

void PreferencesAppearancePage::buildZoomSection() {
    auto& content = addSection("Text Zoom");
    auto* row = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 8);
    auto* zoomOut = smallSymbolButton("zoom-out-symbolic", "Zoom Out");
    zoomOut->signal_clicked().connect([this] { m_state.zoomOut(); });
    m_zoomValue = Gtk::make_managed<Gtk::Label>();
    m_zoomValue->add_css_class("preferences-zoom-value");
    m_zoomValue->set_size_request(50, -1);
    auto* zoomIn = smallSymbolButton("zoom-in-symbolic", "Zoom In");
    zoomIn->signal_clicked().connect([this] { m_state.zoomIn(); });
    auto* reset = Gtk::make_managed<Gtk::Button>("Reset");
    reset->add_css_class("preferences-link");
    reset->set_valign(Gtk::Align::CENTER);
    reset->signal_clicked().connect([this] { m_state.resetZoom(); });
    row->append(*zoomOut);
    row->append(*m_zoomValue);
    row->append(*zoomIn);
    row->append(*reset);
    content.append(*row);
}

void PreferencesAppearancePage::buildExplorerBarSection() {
    auto& content = addSection("Explorer Bar");
    m_explorerBarToggle = Gtk::make_managed<Gtk::CheckButton>("Show Explorer Bar on launch");
    m_explorerBarToggle->add_css_class("preferences-toggle");
    m_explorerBarToggle->signal_toggled().connect(
        sigc::mem_fun(*this, &PreferencesAppearancePage::onExplorerBarToggled));
    content.append(*m_explorerBarToggle);
}

void PreferencesAppearancePage::showTheme() {
    for (std::size_t i = 0; i < kAllColorThemes.size(); ++i) {
        if (kAllColorThemes[i] == m_state.colorTheme.get()) m_swatches[i]->add_css_class("current");
        else m_swatches[i]->remove_css_class("current");
    }
}

void PreferencesAppearancePage::showZoom() { m_zoomValue->set_text(zoomPercentText(m_state.pageZoom.get())); }

void PreferencesAppearancePage::showExplorerBarVisibility() {
    m_isShowingState = true;
    m_explorerBarToggle->set_active(m_state.isExplorerBarVisible.get());
    m_isShowingState = false;
}

void PreferencesAppearancePage::onExplorerBarToggled() {
    if (m_isShowingState) return;
    // Written straight into the state, so the main window's bar follows at once.
    m_state.isExplorerBarVisible = m_explorerBarToggle->get_active();
}

}  // namespace sarvik
