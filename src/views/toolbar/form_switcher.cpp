#include "views/toolbar/form_switcher.h"

#include <gdkmm/frameclock.h>
#include <gtkmm/snapshot.h>

#include <algorithm>

namespace sarvik {

FormSwitcher::FormSwitcher(Gtk::Widget& first, Gtk::Widget& second)
    : Glib::ObjectBase("SarvikFormSwitcher"), m_first(first), m_second(second), m_visible(&first) {
    set_overflow(Gtk::Overflow::HIDDEN);
    m_first.set_parent(*this);
    m_second.set_parent(*this);
    m_second.set_child_visible(false);
}

FormSwitcher::~FormSwitcher() {
    if (m_tick) remove_tick_callback(m_tick);
    m_first.unparent();
    m_second.unparent();
}

void FormSwitcher::show(Gtk::Widget& form, std::int64_t durationMicroseconds) {
    if (&form == m_visible) return;
    Gtk::Widget* outgoing = m_visible;
    m_visible = &form;
    form.set_child_visible(true);
    auto clock = get_frame_clock();
    if (!get_mapped() || !clock || durationMicroseconds <= 0) {
        endSwitch();
        outgoing->set_child_visible(false);
        queue_resize();
        return;
    }
    // Reversed midway, the switch starts over between the same two forms.
    m_outgoing = outgoing;
    m_now = clock->get_frame_time();
    m_animation.start(m_now, durationMicroseconds);
    if (!m_tick) m_tick = add_tick_callback(sigc::mem_fun(*this, &FormSwitcher::onTick));
    queue_resize();
}

bool FormSwitcher::onTick(const Glib::RefPtr<Gdk::FrameClock>& clock) {
    m_now = clock->get_frame_time();
    if (!m_animation.isRunning(m_now)) {
        if (m_outgoing) m_outgoing->set_child_visible(false);
        endSwitch();
        queue_resize();
        return false;
    }
    queue_resize();
    return true;
}

void FormSwitcher::endSwitch() {
    m_outgoing = nullptr;
    m_animation.finish();
    if (m_tick) {
        remove_tick_callback(m_tick);
        m_tick = 0;
    }
}

double FormSwitcher::progress() const { return m_outgoing ? m_animation.progressAt(m_now) : 1.0; }

Gtk::SizeRequestMode FormSwitcher::get_request_mode_vfunc() const { return Gtk::SizeRequestMode::HEIGHT_FOR_WIDTH; }

void FormSwitcher::measure_vfunc(Gtk::Orientation orientation, int forSize, int& minimum, int& natural,
                                 int& minimumBaseline, int& naturalBaseline) const {
    minimumBaseline = naturalBaseline = -1;
    int baseline = 0;
    m_visible->measure(orientation, forSize, minimum, natural, baseline, baseline);
    if (!m_outgoing) return;
    int outgoingMinimum = 0, outgoingNatural = 0;
    m_outgoing->measure(orientation, forSize, outgoingMinimum, outgoingNatural, baseline, baseline);
    if (orientation == Gtk::Orientation::HORIZONTAL) {
        minimum = std::max(minimum, outgoingMinimum);
        natural = std::max(natural, outgoingNatural);
        return;
    }
    // The forms overflow a height between theirs; the overflow is clipped.
    const double done = progress();
    minimum = FormSwitchAnimation::heightBetween(outgoingMinimum, minimum, done);
    natural = FormSwitchAnimation::heightBetween(outgoingNatural, natural, done);
}

void FormSwitcher::size_allocate_vfunc(int width, int height, int) {
    for (Gtk::Widget* form : {m_visible, m_outgoing}) {
        if (!form) continue;
        int minimum = 0, natural = 0, baseline = 0;
        form->measure(Gtk::Orientation::VERTICAL, width, minimum, natural, baseline, baseline);
        form->size_allocate(Gtk::Allocation(0, 0, width, std::max(height, minimum)), -1);
    }
}

void FormSwitcher::snapshot_vfunc(const Glib::RefPtr<Gtk::Snapshot>& snapshot) {
    if (!m_outgoing) {
        snapshot_child(*m_visible, snapshot);
        return;
    }
    gtk_snapshot_push_cross_fade(snapshot->gobj(), progress());
    snapshot_child(*m_outgoing, snapshot);
    gtk_snapshot_pop(snapshot->gobj());
    snapshot_child(*m_visible, snapshot);
    gtk_snapshot_pop(snapshot->gobj());
}

}  // namespace sarvik
