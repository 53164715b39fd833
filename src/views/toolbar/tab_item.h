#pragma once

#include "core/browser_tab.h"
#include "views/common/width_limited_label.h"

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/gestureclick.h>
#include <gtkmm/spinner.h>

#include <sigc++/signal.h>

namespace sarvik {

// One tab in the tab strip: a spinner while it loads, its title (one line,
// at most 150px) and a close button. A click outside the close button asks
// to select the tab. The item shows a tab record; it changes no state itself.
class TabItem : public Gtk::Box {
public:
    static constexpr int kMaximumTitleWidth = 150;

    explicit TabItem(const BrowserTab& tab);

    void show(const BrowserTab& tab, bool isActive);
    const Uuid& tabId() const { return m_id; }

    sigc::signal<void(Uuid)>& selectRequested() { return m_selectRequested; }
    sigc::signal<void(Uuid)>& closeRequested() { return m_closeRequested; }

    const Gtk::Label& title() const { return m_title; }
    const Gtk::Spinner& spinner() const { return m_spinner; }
    Gtk::Button& closeButton() { return m_close; }

private:
    Uuid m_id;
    Gtk::Spinner m_spinner;
    WidthLimitedLabel m_title{kMaximumTitleWidth};
    Gtk::Button m_close;
    Glib::RefPtr<Gtk::GestureClick> m_click;
    Glib::RefPtr<Gtk::GestureClick> m_middleClick;
    sigc::signal<void(Uuid)> m_selectRequested;
    sigc::signal<void(Uuid)> m_closeRequested;
};

}  // namespace sarvik
