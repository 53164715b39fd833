#pragma once

#include "stores/session_store.h"

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/label.h>

namespace sarvik {

// A band above the page after a run that ended without quitting: one button opens the tabs of last
// time, the close button forgets them. It shows only what the session store offers.
class SessionRestoreBar : public Gtk::Box {
public:
    explicit SessionRestoreBar(SessionStore& session);

    Gtk::Button& restoreButton() { return m_restore; }
    Gtk::Button& closeButton() { return m_close; }

private:
    void follow();

    SessionStore& m_session;
    Gtk::Label m_message;
    Gtk::Button m_restore;
    Gtk::Button m_close;
    ScopedConnection m_connection;
};

}  // namespace sarvik
