#pragma once

#include "stores/bookmark.h"
#include "views/common/inline_rename.h"
#include "views/explorer_bar/favorites/favorites_panel.h"
#include "views/common/row_context_menu.h"

#include <gtkmm/box.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sarvik {

// One line of the favorites tree: a folder (chevron, folder symbol, title) or
// a page (globe, title), indented by its depth, with its title swapped for
// the "Name" field while it is being renamed; an untitled page shows its
// address, and a title cut short shows whole as the tooltip. Reused for
// whatever record the list binds to it; its actions go to the panel.
class FavoriteRowWidget : public Gtk::Box {
public:
    explicit FavoriteRowWidget(FavoritesPanel& panel);
    // GTK may drop a row widget without a teardown; the panel must not keep it.
    ~FavoriteRowWidget() override;

    void show(const Bookmark& bookmark, unsigned depth, bool isExpanded);
    void setExpanded(bool isExpanded);

    void setSelected(bool isSelected);
    // Where a drop would land on this row, drawn as a line or a highlight; none clears it.
    void showDropPlace(std::optional<DropPlace> place);
    // The whole title when the row shows it cut short; none when it fits.
    std::optional<std::string> tooltipText() const;
    bool isEditing() const { return m_renameField.get_visible(); }

    const Bookmark& bookmark() const { return m_bookmark; }
    RowContextMenu& contextMenu() { return *m_menu; }
    Gtk::Label& titleLabel() { return m_title; }
    Gtk::Entry& renameField() { return m_renameField; }

private:
    void updateMenu();
    std::vector<RowContextMenu::Item> menuItems(bool withMoveTargets);

    FavoritesPanel& m_panel;
    Bookmark m_bookmark;
    Gtk::Image m_chevron;
    Gtk::Image m_icon;
    Gtk::Label m_title;
    InlineRenameField m_renameField;
    std::unique_ptr<RowContextMenu> m_menu;
    bool m_isFolderMenu = false;
};

}  // namespace sarvik
