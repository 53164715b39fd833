#include "views/preferences/preferences_page.h"

#include <gtkmm/image.h>
#include <gtkmm/label.h>

namespace sarvik {

PreferencesPage::PreferencesPage(PreferencesTab tab) : Gtk::Box(Gtk::Orientation::VERTICAL, 20), m_tab(tab) {
    add_css_class("preferences-page");
    add_css_class(cssName(tab));
    set_margin(24);
    set_halign(Gtk::Align::FILL);
    set_valign(Gtk::Align::START);

    auto* header = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 8);
    header->add_css_class("preferences-page-header");
    auto* symbol = Gtk::make_managed<Gtk::Image>();
    symbol->set_from_icon_name(symbolName(tab));
    symbol->add_css_class("preferences-page-symbol");
    auto* title = Gtk::make_managed<Gtk::Label>(std::string(pageTitle(tab)));
    title->add_css_class("preferences-page-title");
    header->append(*symbol);
    header->append(*title);
    append(*header);
}

Gtk::Box& PreferencesPage::addSection(const std::string& title) {
    auto* section = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::VERTICAL, 8);
    section->add_css_class("preferences-section");
    auto* heading = Gtk::make_managed<Gtk::Label>(title);
    heading->add_css_class("preferences-section-title");
    heading->set_halign(Gtk::Align::START);
    auto* content = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::VERTICAL, 8);
    content->add_css_class("preferences-section-content");
    content->set_hexpand(true);
    section->append(*heading);
    section->append(*content);
    append(*section);
    return *content;
}

}  // namespace sarvik
