#pragma once

#include <gtkmm/box.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>

namespace sarvik {

// What the Scrapbook panel shows with no folders and no saved pages.
class ScrapbookEmptyNotice : public Gtk::Box {
public:
    ScrapbookEmptyNotice();

private:
    Gtk::Image m_icon;
    Gtk::Label m_title{"Internet Scrapbook"};
    Gtk::Label m_hint{"Save web pages for offline viewing.\nClick the save button above to add the current page."};
};

}  // namespace sarvik
