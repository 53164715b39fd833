#include "views/explorer_bar/auctions/date_time_picker.h"

#include <glibmm/datetime.h>

#include <cmath>

namespace sarvik {
namespace {

Glib::DateTime localTime(Date date) {
    return Glib::DateTime::create_now_local(static_cast<gint64>(std::floor(date.unixTime())));
}

void setUpSpinner(Gtk::SpinButton& spinner, const char* name, double upper) {
    spinner.set_name(name);
    spinner.set_range(0, upper);
    spinner.set_increments(1, 5);
    spinner.set_digits(0);
    spinner.set_numeric(true);
    spinner.set_wrap(true);
    spinner.set_width_chars(2);
    // Arrows above and below the digits: side by side they would not fit the side bar's width.
    spinner.set_orientation(Gtk::Orientation::VERTICAL);
    // Times read as 09:05, not 9:5.
    spinner.signal_output().connect(
        [&spinner] {
            spinner.set_text(Glib::ustring::sprintf("%02d", static_cast<int>(spinner.get_value())));
            return true;
        },
        false);
}

}  // namespace

DateTimePicker::DateTimePicker() : Gtk::Box(Gtk::Orientation::HORIZONTAL, 4) {
    set_name("auction-date-time-picker");
    add_css_class("auction-date-time");
    m_dayButton.set_name("auction-end-day");
    m_dayButton.set_valign(Gtk::Align::CENTER);
    m_calendar.set_name("auction-end-calendar");
    m_popover.set_child(m_calendar);
    m_dayButton.set_popover(m_popover);
    setUpSpinner(m_hour, "auction-end-hour", 23);
    setUpSpinner(m_minute, "auction-end-minute", 59);
    append(m_dayButton);
    append(m_hour);
    append(m_colon);
    append(m_minute);

    m_calendar.signal_day_selected().connect([this] {
        onPartEdited();
        m_popover.popdown();
    });
    m_hour.signal_value_changed().connect([this] { onPartEdited(); });
    m_minute.signal_value_changed().connect([this] { onPartEdited(); });
}

void DateTimePicker::setDate(Date date) {
    m_date = date;
    showDate();
}

void DateTimePicker::showDate() {
    m_isShowing = true;
    const Glib::DateTime local = localTime(m_date);
    m_calendar.select_day(local);
    m_hour.set_value(local.get_hour());
    m_minute.set_value(local.get_minute());
    m_dayButton.set_label(local.format("%x"));
    m_isShowing = false;
}

void DateTimePicker::onPartEdited() {
    if (m_isShowing) return;
    const Glib::DateTime day = m_calendar.get_date();
    const Glib::DateTime chosen =
        Glib::DateTime::create_local(day.get_year(), day.get_month(), day.get_day_of_month(),
                                     static_cast<int>(m_hour.get_value()), static_cast<int>(m_minute.get_value()), 0);
    if (!chosen) return;  // a local time that does not exist (a clock change): keep the last value
    m_date = Date::fromUnixTime(static_cast<double>(chosen.to_unix()));
    showDate();
}

}  // namespace sarvik
