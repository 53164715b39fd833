#include "views/common/fixed_width_bin.h"

namespace sarvik {

FixedWidthBin::FixedWidthBin(int width) : Glib::ObjectBase("SarvikFixedWidthBin"), m_width(width) {
    set_hexpand(false);
    // A managed bin is disposed before its C++ side goes: let go of the child then.
    signal_destroy().connect(sigc::mem_fun(*this, &FixedWidthBin::unsetChild));
}

FixedWidthBin::~FixedWidthBin() { unsetChild(); }

void FixedWidthBin::unsetChild() {
    if (m_child) m_child->unparent();
    m_child = nullptr;
}

void FixedWidthBin::setChild(Gtk::Widget& child) {
    unsetChild();
    m_child = &child;
    child.set_parent(*this);
}

Gtk::SizeRequestMode FixedWidthBin::get_request_mode_vfunc() const { return Gtk::SizeRequestMode::HEIGHT_FOR_WIDTH; }

void FixedWidthBin::measure_vfunc(Gtk::Orientation orientation, int, int& minimum, int& natural,
                                  int& minimumBaseline, int& naturalBaseline) const {
    minimumBaseline = naturalBaseline = -1;
    if (orientation == Gtk::Orientation::HORIZONTAL) {
        minimum = natural = m_width;
        return;
    }
    minimum = natural = 0;
    if (m_child && m_child->get_visible()) {
        int ignored = 0;
        m_child->measure(orientation, m_width, minimum, natural, ignored, ignored);
    }
}

void FixedWidthBin::size_allocate_vfunc(int, int height, int baseline) {
    if (m_child && m_child->get_visible()) m_child->size_allocate(Gtk::Allocation(0, 0, m_width, height), baseline);
}

}  // namespace sarvik
