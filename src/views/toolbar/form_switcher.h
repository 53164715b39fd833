#pragma once

#include "themes/form_switch_animation.h"

#include <gtkmm/widget.h>

#include <cstdint>

namespace sarvik {

// Shows one of two child forms and switches between them with a crossfade
// whose height glides from the outgoing form's to the incoming one's, along
// the ease-in-out curve over the duration each switch asks for (GtkStack's
// own transitions only ease out). The outgoing form is unmapped once the
// switch ends; a widget that is not on screen switches at once.
class FormSwitcher : public Gtk::Widget {
public:
    FormSwitcher(Gtk::Widget& first, Gtk::Widget& second);
    ~FormSwitcher() override;
    FormSwitcher(const FormSwitcher&) = delete;
    FormSwitcher& operator=(const FormSwitcher&) = delete;

    void show(Gtk::Widget& form, std::int64_t durationMicroseconds);

    Gtk::Widget* visibleForm() const { return m_visible; }
    bool isSwitching() const { return m_outgoing != nullptr; }
    // The duration of the last switch that animated (0 before any).
    std::int64_t lastSwitchDuration() const { return m_animation.duration(); }

protected:
    Gtk::SizeRequestMode get_request_mode_vfunc() const override;
    void measure_vfunc(Gtk::Orientation orientation, int forSize, int& minimum, int& natural, int& minimumBaseline,
                       int& naturalBaseline) const override;
    void size_allocate_vfunc(int width, int height, int baseline) override;
    void snapshot_vfunc(const Glib::RefPtr<Gtk::Snapshot>& snapshot) override;

private:
    bool onTick(const Glib::RefPtr<Gdk::FrameClock>& clock);
    void endSwitch();
    double progress() const;

    Gtk::Widget& m_first;
    Gtk::Widget& m_second;
    Gtk::Widget* m_visible;
    Gtk::Widget* m_outgoing = nullptr;
    FormSwitchAnimation m_animation;
    std::int64_t m_now = 0;
    guint m_tick = 0;
};

}  // namespace sarvik
