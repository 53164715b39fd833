#include "views/explorer_bar/history/history_row_widget.h"

#include <unicode/unistr.h>

namespace sarvik {

HistoryRowWidget::HistoryRowWidget(BrowserState& state, BrowserDataStore& store, const icu::DateFormat* timeFormat)
    : Gtk::Box(Gtk::Orientation::VERTICAL), m_state(state), m_store(store), m_timeFormat(timeFormat) {
    m_header.add_css_class("orvel-history-header");
    m_header.set_xalign(0);
    m_header.set_hexpand(true);

    m_clock.set_from_icon_name("document-open-recent-symbolic");
    m_clock.add_css_class("orvel-small-icon");
    m_clock.add_css_class("orvel-secondary-text");
    m_clock.add_css_class("orvel-faint");
    for (auto* text : {&m_title, &m_url}) {
        text->set_xalign(0);
        text->set_min_lines(1);
        text->set_nat_lines(1);
        text->set_text_overflow(Gtk::Inscription::Overflow::ELLIPSIZE_END);
    }
    m_title.add_css_class("orvel-history-title");
    m_url.add_css_class("orvel-history-url");
    m_url.add_css_class("orvel-secondary-text");
    m_texts.set_hexpand(true);
    m_texts.append(m_title);
    m_texts.append(m_url);
    m_time.add_css_class("orvel-history-time");
    m_time.add_css_class("orvel-secondary-text");
    m_time.add_css_class("orvel-faint");
    m_badge.add_css_class("orvel-history-badge");
    m_badge.set_valign(Gtk::Align::CENTER);

    m_entry.add_css_class("orvel-history-row");
    m_entry.set_margin_start(12);
    m_entry.set_margin_end(12);
    m_entry.set_margin_top(4);
    m_entry.set_margin_bottom(4);
    m_entry.append(m_clock);
    m_entry.append(m_texts);
    m_entry.append(m_time);
    m_entry.append(m_badge);
    append(m_header);
    append(m_entry);

    m_menu = std::make_unique<RowContextMenu>(*this, std::vector<RowContextMenu::Item>{
        {"Open", "open", [this] { open(); }},
        {"Open in New Tab", "open-in-new-tab", [this] { openInNewTab(); }},
        {"Delete", "delete", [this] { remove(); }},
    });
    m_menu->setOpening([this] {
        if (m_row.isHeader) return false;
        m_menuEntryId = m_row.item.id;
        return true;
    });
}

void HistoryRowWidget::show(const HistoryRow& row) {
    m_row = row;
    if (!m_menu->isOpen()) m_menuEntryId = row.isHeader ? std::nullopt : std::optional<Uuid>(row.item.id);
    m_header.set_visible(row.isHeader);
    m_entry.set_visible(!row.isHeader);
    if (row.isHeader) {
        m_header.set_text(row.headerText);
        return;
    }
    const auto& item = row.item;
    m_title.set_text(item.title.empty() ? item.url : item.title);
    m_url.set_text(item.url);
    m_time.set_text(timeText(item.visitedAt));
    m_badge.set_visible(item.visitCount >= 2);
    if (item.visitCount >= 2) m_badge.set_text(std::to_string(item.visitCount));
}

void HistoryRowWidget::bind(HistoryRowObject& object) {
    show(object.row());
    m_binding = object.changed().connect([this, &object] { show(object.row()); });
}

std::optional<HistoryItem> HistoryRowWidget::menuEntry() const {
    if (!m_menuEntryId) return std::nullopt;
    for (const auto& item : m_store.history().get())
        if (item.id == *m_menuEntryId) return item;
    return std::nullopt;
}

void HistoryRowWidget::open() {
    if (const auto entry = menuEntry()) m_state.openAddress(entry->url);
}

void HistoryRowWidget::openInNewTab() {
    if (const auto entry = menuEntry()) m_state.newTab(Url::parse(entry->url));
}

void HistoryRowWidget::remove() {
    if (m_menuEntryId) m_store.deleteHistoryItem(*m_menuEntryId);
}

std::string HistoryRowWidget::timeText(Date date) const {
    std::string text;
    if (!m_timeFormat) return text;
    icu::UnicodeString formatted;
    m_timeFormat->format(date.unixTime() * 1000.0, formatted);
    formatted.toUTF8String(text);
    return text;
}

}  // namespace sarvik
