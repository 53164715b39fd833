#include "views/storage_notice/storage_notice_bar.h"

namespace sarvik {

StorageNoticeBar::StorageNoticeBar(StorageProblems& problems)
    : Gtk::Box(Gtk::Orientation::HORIZONTAL, 8), m_problems(problems) {
    set_name("storage-notice");
    add_css_class("orvel-storage-notice");
    m_symbol.set_from_icon_name("dialog-warning-symbolic");
    m_message.set_hexpand(true);
    m_message.set_xalign(0);
    m_message.set_wrap(true);
    m_dismiss.set_label("Dismiss");
    append(m_symbol);
    append(m_message);
    append(m_dismiss);
    m_dismiss.signal_clicked().connect([this] {
        m_dismissed = m_problems.current();
        set_visible(false);
    });
    m_connection = m_problems.changed().connect(sigc::mem_fun(*this, &StorageNoticeBar::follow));
    follow();
}

void StorageNoticeBar::follow() {
    const auto problem = m_problems.current();
    if (!problem) m_dismissed.reset();
    if (!problem || problem == m_dismissed) {
        set_visible(false);
        return;
    }
    m_message.set_text(problem->file.filename().string() + " cannot be saved (" + problem->reason +
                       "). Changes to it are kept only until SarvikBrowser quits.");
    set_tooltip_text(problem->file.string());
    set_visible(true);
}

}  // namespace sarvik
