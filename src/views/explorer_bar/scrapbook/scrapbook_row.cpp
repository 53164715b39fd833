#include "views/explorer_bar/scrapbook/scrapbook_row.h"

#include "views/explorer_bar/scrapbook/scrapbook_panel.h"

#include <string>

namespace sarvik {

ScrapbookRow::ScrapbookRow(ScrapbookPanel& panel)
    : Gtk::Box(Gtk::Orientation::HORIZONTAL, 6), m_panel(panel), m_renameField(panel.rename(), m_title) {
    add_css_class("scrapbook-row");
    set_valign(Gtk::Align::CENTER);
    m_icon.add_css_class("scrapbook-row-icon");
    m_title.set_name("scrapbook-row-title");
    m_title.add_css_class("scrapbook-row-title");
    m_title.set_xalign(0);
    m_title.set_single_line_mode(true);
    m_title.set_ellipsize(Pango::EllipsizeMode::END);
    m_detail.set_name("scrapbook-row-date");
    m_detail.add_css_class("scrapbook-row-date");
    m_detail.set_xalign(0);
    m_texts.set_valign(Gtk::Align::CENTER);
    m_renameField.set_name("scrapbook-rename-field");
    m_texts.append(m_title);
    m_texts.append(m_renameField);
    m_texts.append(m_detail);
    m_spacer.set_hexpand(true);
    m_count.set_name("scrapbook-folder-count");
    m_count.add_css_class("scrapbook-folder-count");
    m_count.set_valign(Gtk::Align::CENTER);
    append(m_icon);
    append(m_texts);
    append(m_spacer);
    append(m_count);
    m_menu = std::make_unique<RowContextMenu>(*this, std::vector<RowContextMenu::Item>{});
}

ScrapbookRow::~ScrapbookRow() = default;

void ScrapbookRow::bind(const Glib::RefPtr<ScrapbookEntryObject>& entry) {
    m_entry = entry;
    if (!entry) return;
    if (entry->record().isFolder)
        bindFolder(entry->record().folder, entry->record().count);
    else
        bindItem(entry->record().item);
}

void ScrapbookRow::bindFolder(const ScrapbookFolder& folder, std::size_t count) {
    set_spacing(4);
    remove_css_class("scrapbook-item");
    remove_css_class("in-folder");
    remove_css_class("selected");
    add_css_class("scrapbook-folder");
    m_icon.set_from_icon_name("folder-symbolic");
    m_title.set_text(folder.title);
    m_renameField.bind(folder.id);
    m_detail.set_visible(false);
    m_count.set_text(std::to_string(count));
    m_count.set_visible(true);
    const Uuid id = folder.id;
    m_menu->setItems({{"Rename", "rename", [this, folder] { m_panel.rename().start(folder.id, folder.title); }},
                      {"Delete Folder", "delete", [this, id] { m_panel.deleteFolder(id); }}});
}

void ScrapbookRow::bindItem(const ScrapbookItem& item) {
    set_spacing(6);
    remove_css_class("scrapbook-folder");
    add_css_class("scrapbook-item");
    if (item.folderId)
        add_css_class("in-folder");
    else
        remove_css_class("in-folder");
    if (m_panel.isSelected(item.id))
        add_css_class("selected");
    else
        remove_css_class("selected");
    m_icon.set_from_icon_name("x-office-document-symbolic");
    m_title.set_text(item.title);
    m_renameField.bind(item.id);
    m_detail.set_text(m_panel.dateText(item.savedAt));
    m_detail.set_visible(true);
    m_count.set_visible(false);
    m_menu->setItems(itemMenu(item));
}

std::vector<RowContextMenu::Item> ScrapbookRow::itemMenu(const ScrapbookItem& item) const {
    ScrapbookPanel& panel = m_panel;
    const Uuid id = item.id;
    std::vector<RowContextMenu::Item> entries{
        {"Open", "open", [&panel, id] { panel.openItem(id); }},
        {"Open Original URL", "open-original", [&panel, id] { panel.openOriginalUrl(id); }},
        {},
    };
    const auto& folders = panel.folders();
    for (std::size_t index = 0; index < folders.size(); ++index) {
        const Uuid folderId = folders[index].id;
        entries.push_back({"Move to " + folders[index].title, "move-" + std::to_string(index),
                           [&panel, id, folderId] { panel.moveItem(id, folderId); }});
    }
    if (item.folderId) entries.push_back({"Move to Root", "move-root", [&panel, id] { panel.moveItem(id, {}); }});
    entries.push_back({});
    entries.push_back({"Rename", "rename", [&panel, id, title = item.title] { panel.rename().start(id, title); }});
    entries.push_back({"Delete", "delete", [&panel, id] { panel.deleteItem(id); }});
    return entries;
}

}  // namespace sarvik
