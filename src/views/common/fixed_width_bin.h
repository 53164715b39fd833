#pragma once

#include <gtkmm/widget.h>

namespace sarvik {

// Holds one child at exactly a given width, whatever the child would ask
// for: its height is measured for that width and it is allocated at it, so
// long text inside ellipsises or wraps instead of widening the window.
class FixedWidthBin : public Gtk::Widget {
public:
    explicit FixedWidthBin(int width);
    ~FixedWidthBin() override;

    void setChild(Gtk::Widget& child);
    void unsetChild();
    int fixedWidth() const { return m_width; }

protected:
    Gtk::SizeRequestMode get_request_mode_vfunc() const override;
    void measure_vfunc(Gtk::Orientation orientation, int forSize, int& minimum, int& natural, int& minimumBaseline,
                       int& naturalBaseline) const override;
    void size_allocate_vfunc(int width, int height, int baseline) override;

private:
    int m_width;
    Gtk::Widget* m_child = nullptr;
};

}  // namespace sarvik
