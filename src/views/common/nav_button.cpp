#include "views/common/nav_button.h"

namespace sarvik {

NavButton::NavButton(const char* iconName, int size, const char* widgetName) {
    set_name(widgetName);
    add_css_class("orvel-nav-button");
    add_css_class("size-" + std::to_string(size));
    set_valign(Gtk::Align::CENTER);
    set_halign(Gtk::Align::CENTER);
    set_focus_on_click(false);
    m_image.set_from_icon_name(iconName);
    set_child(m_image);
}

void NavButton::setIcon(const char* iconName) {
    if (m_image.get_icon_name() != iconName) m_image.set_from_icon_name(iconName);
}

void NavButton::setEnabled(bool enabled) {
    set_sensitive(enabled);
    set_opacity(enabled ? 1.0 : kDisabledOpacity);
}

}  // namespace sarvik
