#pragma once

#include "core/date.h"

#include <gtkmm/box.h>
#include <gtkmm/calendar.h>
#include <gtkmm/label.h>
#include <gtkmm/menubutton.h>
#include <gtkmm/popover.h>
#include <gtkmm/spinbutton.h>

namespace sarvik {

// A date with hour and minute in the local time zone: a button showing the
// day that opens a calendar, then hour and minute spinners. Any day, past or
// future, may be chosen. The value stays exactly as set until the user edits
// a part; an edit keeps the other parts and sets the seconds to zero.
class DateTimePicker : public Gtk::Box {
public:
    DateTimePicker();

    void setDate(Date date);
    Date date() const { return m_date; }

    Gtk::Calendar& calendar() { return m_calendar; }
    Gtk::SpinButton& hourSpinner() { return m_hour; }
    Gtk::SpinButton& minuteSpinner() { return m_minute; }

private:
    void showDate();
    void onPartEdited();

    Date m_date;
    bool m_isShowing = false;
    Gtk::MenuButton m_dayButton;
    Gtk::Popover m_popover;
    Gtk::Calendar m_calendar;
    Gtk::SpinButton m_hour;
    Gtk::Label m_colon{":"};
    Gtk::SpinButton m_minute;
};

}  // namespace sarvik
