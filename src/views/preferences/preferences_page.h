#pragma once

#include "views/preferences/preferences_choices.h"

#include <gtkmm/box.h>

#include <string>

namespace sarvik {

// The frame every Preferences page shares: a column with the page's header
// (symbol and title) followed by titled sections, each drawn as a rounded
// panel. Pages add their controls to the content box addSection() returns.
class PreferencesPage : public Gtk::Box {
public:
    PreferencesTab tab() const { return m_tab; }

protected:
    explicit PreferencesPage(PreferencesTab tab);

    // Appends a section titled `title`; returns its (vertical) content box.
    Gtk::Box& addSection(const std::string& title);

private:
    PreferencesTab m_tab;
};

}  // namespace sarvik
