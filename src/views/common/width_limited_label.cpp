#include "views/common/width_limited_label.h"

#include <algorithm>

namespace sarvik {

WidthLimitedLabel::WidthLimitedLabel(int maximumWidth)
    : Glib::ObjectBase("SarvikWidthLimitedLabel"), m_maximumWidth(maximumWidth) {
    set_single_line_mode(true);
    set_ellipsize(Pango::EllipsizeMode::END);
    set_xalign(0);
}

void WidthLimitedLabel::measure_vfunc(Gtk::Orientation orientation, int forSize, int& minimum, int& natural,
                                      int& minimumBaseline, int& naturalBaseline) const {
    Gtk::Label::measure_vfunc(orientation, forSize, minimum, natural, minimumBaseline, naturalBaseline);
    if (orientation != Gtk::Orientation::HORIZONTAL) return;
    natural = std::min(natural, m_maximumWidth);
    minimum = std::min(minimum, natural);
}

}  // namespace sarvik
