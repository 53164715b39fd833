#pragma once

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>
#include <gtkmm/togglebutton.h>
#include <sigc++/signal.h>

#include <cstdint>

namespace sarvik {

// The panel's top row: the "Active"/"Ended" switch, the ending-soon badge,
// the refresh button and the button that opens and closes the add form.
class AuctionManagerHeader : public Gtk::Box {
public:
    AuctionManagerHeader();

    void setEndingSoonCount(std::int64_t count);
    void setFormOpen(bool isOpen);
    void setShowingEnded(bool isEnded);

    sigc::signal<void(bool)>& signalGroupChosen() { return m_groupChosen; }
    sigc::signal<void()>& signalRefresh() { return m_refreshClicked; }
    sigc::signal<void()>& signalFormToggled() { return m_formToggled; }

private:
    void buildSwitch();
    void buildBadge();

    Gtk::Box m_switch{Gtk::Orientation::HORIZONTAL, 0};
    Gtk::ToggleButton m_active{"Active"};
    Gtk::ToggleButton m_ended{"Ended"};
    Gtk::Box m_badge{Gtk::Orientation::HORIZONTAL, 2};
    Gtk::Image m_badgeIcon;
    Gtk::Label m_badgeCount;
    Gtk::Box m_spacer;
    Gtk::Button m_refresh;
    Gtk::Button m_formButton;
    sigc::signal<void(bool)> m_groupChosen;
    sigc::signal<void()> m_refreshClicked;
    sigc::signal<void()> m_formToggled;
};

}  // namespace sarvik
