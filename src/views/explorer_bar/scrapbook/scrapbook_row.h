#pragma once

#include "views/common/inline_rename.h"
#include "views/common/row_context_menu.h"
#include "views/explorer_bar/scrapbook/scrapbook_entry_object.h"

#include <gtkmm/box.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>

#include <memory>

namespace sarvik {

class ScrapbookPanel;

// One line of the scrapbook list: a folder header (symbol, title, item count)
// or a saved page (symbol, title, saved date), indented deeper inside a
// folder and highlighted while it is the panel's selected item; while one is
// renamed its title gives way to the "Name" field. Rows are
// reused by the list, so bind() sets every part; the context menu's entries
// go to the panel.
class ScrapbookRow : public Gtk::Box {
public:
    explicit ScrapbookRow(ScrapbookPanel& panel);
    ~ScrapbookRow() override;

    void bind(const Glib::RefPtr<ScrapbookEntryObject>& entry);

    const Glib::RefPtr<ScrapbookEntryObject>& entry() const { return m_entry; }
    RowContextMenu& contextMenu() { return *m_menu; }
    Gtk::Label& titleLabel() { return m_title; }
    Gtk::Entry& renameField() { return m_renameField; }
    Gtk::Label& detailLabel() { return m_detail; }
    Gtk::Label& countLabel() { return m_count; }

private:
    void bindFolder(const ScrapbookFolder& folder, std::size_t count);
    void bindItem(const ScrapbookItem& item);
    std::vector<RowContextMenu::Item> itemMenu(const ScrapbookItem& item) const;

    ScrapbookPanel& m_panel;
    Glib::RefPtr<ScrapbookEntryObject> m_entry;
    Gtk::Image m_icon;
    Gtk::Box m_texts{Gtk::Orientation::VERTICAL, 1};
    Gtk::Label m_title;
    InlineRenameField m_renameField;
    Gtk::Label m_detail;
    Gtk::Box m_spacer;
    Gtk::Label m_count;
    std::unique_ptr<RowContextMenu> m_menu;
};

}  // namespace sarvik
