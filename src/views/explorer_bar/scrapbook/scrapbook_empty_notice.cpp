#include "views/explorer_bar/scrapbook/scrapbook_empty_notice.h"

namespace sarvik {

ScrapbookEmptyNotice::ScrapbookEmptyNotice() : Gtk::Box(Gtk::Orientation::VERTICAL, 12) {
    set_name("scrapbook-empty");
    add_css_class("scrapbook-empty");
    set_hexpand(true);
    m_icon.set_from_icon_name("x-office-document-symbolic");
    m_icon.add_css_class("scrapbook-empty-icon");
    m_title.set_name("scrapbook-empty-title");
    m_title.add_css_class("scrapbook-empty-title");
    m_hint.set_name("scrapbook-empty-hint");
    m_hint.add_css_class("scrapbook-empty-hint");
    m_hint.set_justify(Gtk::Justification::CENTER);
    m_hint.set_wrap(true);
    append(m_icon);
    append(m_title);
    append(m_hint);
}

}  // namespace sarvik
