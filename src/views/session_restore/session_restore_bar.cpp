#include "views/session_restore/session_restore_bar.h"

namespace sarvik {

SessionRestoreBar::SessionRestoreBar(SessionStore& session)
    : Gtk::Box(Gtk::Orientation::HORIZONTAL, 8), m_session(session) {
    set_name("session-restore");
    add_css_class("orvel-session-restore");
    m_message.set_text("SarvikBrowser did not quit normally.");
    m_message.set_xalign(0);
    m_restore.set_label("Restore the tabs from last time");
    m_restore.set_hexpand(false);
    m_close.set_icon_name("window-close-symbolic");
    m_close.set_tooltip_text("Forget the tabs from last time");
    m_close.add_css_class("flat");
    auto* spacer = Gtk::make_managed<Gtk::Box>();
    spacer->set_hexpand(true);
    append(m_message);
    append(m_restore);
    append(*spacer);
    append(m_close);
    m_restore.signal_clicked().connect([this] { m_session.restoreLastSession(); });
    m_close.signal_clicked().connect([this] { m_session.forgetLastSession(); });
    m_connection = m_session.lastSessionChanged().connect(sigc::mem_fun(*this, &SessionRestoreBar::follow));
    follow();
}

void SessionRestoreBar::follow() { set_visible(m_session.start() == SessionStart::offer); }

}  // namespace sarvik
