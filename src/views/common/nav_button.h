#pragma once

#include <gtkmm/button.h>
#include <gtkmm/image.h>

#include <string>

namespace sarvik {

// A round themed toolbar button showing one symbol: classes orvel-nav-button
// and size-<diameter>, which the theme stylesheet draws.
class NavButton : public Gtk::Button {
public:
    NavButton(const char* iconName, int size, const char* widgetName);

    void setIcon(const char* iconName);
    std::string iconName() const { return m_image.get_icon_name(); }

    // Insensitive buttons stay drawn, dimmed to this opacity.
    static constexpr double kDisabledOpacity = 0.4;
    void setEnabled(bool enabled);

private:
    Gtk::Image m_image;
};

}  // namespace sarvik
