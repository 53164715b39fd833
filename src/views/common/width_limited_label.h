#pragma once

#include <gtkmm/label.h>

namespace sarvik {

// A one-line label that never asks for more than a given width and
// ellipsises its text at the end when it does not fit.
class WidthLimitedLabel : public Gtk::Label {
public:
    explicit WidthLimitedLabel(int maximumWidth);

protected:
    void measure_vfunc(Gtk::Orientation orientation, int forSize, int& minimum, int& natural, int& minimumBaseline,
                       int& naturalBaseline) const override;

private:
    int m_maximumWidth;
};

}  // namespace sarvik
