#include "views/downloads/download_row.h"

namespace sarvik {

DownloadRow::DownloadRow(const DownloadRowActions& actions)
    : Gtk::Box(Gtk::Orientation::HORIZONTAL, 6), m_actions(actions) {
    add_css_class("orvel-download-row");
    m_icon.set_from_icon_name("text-x-generic-symbolic");
    m_icon.add_css_class("orvel-download-icon");
    m_name.set_xalign(0);
    m_name.set_ellipsize(Pango::EllipsizeMode::MIDDLE);
    m_name.set_max_width_chars(32);
    m_name.add_css_class("orvel-download-name");
    m_state.set_xalign(0);
    m_state.set_ellipsize(Pango::EllipsizeMode::END);
    m_state.set_max_width_chars(40);
    m_state.add_css_class("orvel-download-state");
    m_texts.set_hexpand(true);
    m_texts.set_valign(Gtk::Align::CENTER);
    m_texts.append(m_name);
    m_texts.append(m_state);
    for (Gtk::Button* button : {&m_open, &m_show, &m_cancel}) {
        button->add_css_class("orvel-download-action");
        button->set_valign(Gtk::Align::CENTER);
    }
    m_open.set_name("download-open");
    m_show.set_name("download-show");
    m_cancel.set_name("download-cancel");
    m_open.signal_clicked().connect([this] {
        if (m_item && m_actions.open) m_actions.open(m_item->record());
    });
    m_show.signal_clicked().connect([this] {
        if (m_item && m_actions.showInFolder) m_actions.showInFolder(m_item->record());
    });
    m_cancel.signal_clicked().connect([this] {
        if (m_item && m_actions.cancel) m_actions.cancel(m_item->record().id);
    });
    append(m_icon);
    append(m_texts);
    append(m_open);
    append(m_show);
    append(m_cancel);
}

void DownloadRow::bind(const Glib::RefPtr<RecordObject<DownloadRecord>>& item) {
    m_item = item;
    m_itemConnection = item ? item->changed().connect([this] { refresh(); }) : sigc::connection();
    refresh();
}

void DownloadRow::unbind() {
    m_itemConnection = sigc::connection();
    m_item.reset();
}

void DownloadRow::refresh() {
    if (!m_item) return;
    const DownloadRecord& record = m_item->record();
    m_name.set_text(record.fileName);
    m_name.set_tooltip_text(record.file.string());
    m_state.set_text(downloadStateText(record));
    const bool finished = record.state == DownloadState::finished;
    m_open.set_visible(finished);
    m_show.set_visible(finished);
    m_cancel.set_visible(record.state == DownloadState::running);
    const bool unsuccessful = record.state == DownloadState::failed || record.state == DownloadState::cancelled;
    if (unsuccessful) add_css_class("unsuccessful");
    else remove_css_class("unsuccessful");
}

}  // namespace sarvik
