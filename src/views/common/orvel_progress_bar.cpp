#include "views/common/orvel_progress_bar.h"

#include <gdkmm/frameclock.h>

#include <algorithm>
#include <cmath>

namespace sarvik {
namespace {

constexpr std::int64_t kFillDurationMicroseconds = 300'000;

int layerWidth(int available, double fraction) {
    const double width = std::round(available * std::clamp(fraction, 0.0, 1.0));
    return static_cast<int>(width);
}

}  // namespace

OrvelProgressBar::OrvelProgressBar()
    : Glib::ObjectBase("OrvelProgressBar"), m_fillAnimation(kFillDurationMicroseconds) {
    add_css_class("orvel-progress");
    set_name("progress-bar");
    set_hexpand(true);
    m_track.add_css_class("track");
    m_fill.add_css_class("fill");
    m_gloss.add_css_class("gloss");
    for (Gtk::Widget* layer : {static_cast<Gtk::Widget*>(&m_track), static_cast<Gtk::Widget*>(&m_fill),
                               static_cast<Gtk::Widget*>(&m_gloss)})
        layer->set_parent(*this);
}

OrvelProgressBar::~OrvelProgressBar() {
    if (m_tickId) remove_tick_callback(m_tickId);
    m_gloss.unparent();
    m_fill.unparent();
    m_track.unparent();
}

void OrvelProgressBar::setProgress(double progress) {
    m_progress = progress;
    const auto clock = get_frame_clock();
    if (!clock || !get_mapped()) {
        m_fillAnimation.jumpTo(progress);
    } else {
        m_fillAnimation.retarget(progress, clock->get_frame_time());
        if (!m_tickId) m_tickId = add_tick_callback(sigc::mem_fun(*this, &OrvelProgressBar::onTick));
    }
    queue_allocate();
}

bool OrvelProgressBar::onTick(const Glib::RefPtr<Gdk::FrameClock>& clock) {
    queue_allocate();
    if (m_fillAnimation.isRunning(clock->get_frame_time())) return true;
    m_tickId = 0;
    return false;
}

Gtk::SizeRequestMode OrvelProgressBar::get_request_mode_vfunc() const { return Gtk::SizeRequestMode::CONSTANT_SIZE; }

void OrvelProgressBar::measure_vfunc(Gtk::Orientation orientation, int forSize, int& minimum, int& natural,
                                     int& minimumBaseline, int& naturalBaseline) const {
    // The layers are measured so GTK knows their size before they are allocated;
    // the bar's own size is fixed whatever they ask.
    for (const Gtk::Widget* layer : {static_cast<const Gtk::Widget*>(&m_track),
                                     static_cast<const Gtk::Widget*>(&m_fill),
                                     static_cast<const Gtk::Widget*>(&m_gloss)}) {
        int layerMinimum = 0, layerNatural = 0, ignored = 0;
        layer->measure(orientation, forSize, layerMinimum, layerNatural, ignored, ignored);
    }
    minimum = natural = orientation == Gtk::Orientation::VERTICAL ? kHeight : 0;
    minimumBaseline = naturalBaseline = -1;
}

void OrvelProgressBar::size_allocate_vfunc(int width, int height, int) {
    const auto clock = get_frame_clock();
    const double shown = clock ? m_fillAnimation.valueAt(clock->get_frame_time()) : m_fillAnimation.target();
    const int layerHeight = std::min(height, kHeight);
    m_track.size_allocate(Gtk::Allocation(0, 0, width, layerHeight), -1);
    m_fill.size_allocate(Gtk::Allocation(0, 0, layerWidth(width, shown), layerHeight), -1);
    m_gloss.size_allocate(Gtk::Allocation(0, 0, layerWidth(width, m_progress), layerHeight), -1);
}

}  // namespace sarvik
