#pragma once

#include "themes/progress_animation.h"

#include <gtkmm/box.h>
#include <gtkmm/widget.h>

namespace sarvik {

// The thin page-load bar: 6px high, as wide as it is given. Three layers
// (track, fill, gloss; CSS nodes .track, .fill and .gloss under .orvel-progress)
// so the theme stylesheet colours them. The fill glides to a new progress over
// 0.3 s ease-in-out; the gloss follows at once. progress() is stored as given;
// only the drawn widths are kept inside the bar.
class OrvelProgressBar : public Gtk::Widget {
public:
    static constexpr int kHeight = 6;

    OrvelProgressBar();
    ~OrvelProgressBar() override;

    void setProgress(double progress);
    double progress() const { return m_progress; }

    // The layers, for tests that measure what is drawn.
    const Gtk::Widget& fill() const { return m_fill; }
    const Gtk::Widget& gloss() const { return m_gloss; }
    const Gtk::Widget& track() const { return m_track; }

protected:
    Gtk::SizeRequestMode get_request_mode_vfunc() const override;
    void measure_vfunc(Gtk::Orientation orientation, int forSize, int& minimum, int& natural, int& minimumBaseline,
                       int& naturalBaseline) const override;
    void size_allocate_vfunc(int width, int height, int baseline) override;

private:
    bool onTick(const Glib::RefPtr<Gdk::FrameClock>& clock);

    double m_progress = 0;
    ProgressAnimation m_fillAnimation;
    guint m_tickId = 0;
    Gtk::Box m_track;
    Gtk::Box m_fill;
    Gtk::Box m_gloss;
};

}  // namespace sarvik
