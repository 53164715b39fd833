#include "views/explorer_bar/favorites/favorite_row_widget.h"

#include "views/explorer_bar/favorites/favorites_panel.h"

namespace sarvik {

FavoriteRowWidget::FavoriteRowWidget(FavoritesPanel& panel)
    : Gtk::Box(Gtk::Orientation::HORIZONTAL), m_panel(panel), m_renameField(panel.rename(), m_title) {
    add_css_class("orvel-favorite-row");
    set_margin_end(8);
    m_chevron.set_size_request(12, -1);
    m_chevron.add_css_class("orvel-chevron");
    m_chevron.add_css_class("orvel-secondary-text");
    m_title.set_xalign(0);
    m_title.set_hexpand(true);
    m_title.set_single_line_mode(true);
    m_title.set_ellipsize(Pango::EllipsizeMode::END);
    m_title.add_css_class("orvel-row-title");
    append(m_chevron);
    append(m_icon);
    append(m_title);
    append(m_renameField);
    m_menu = std::make_unique<RowContextMenu>(*this, std::vector<RowContextMenu::Item>{});
    updateMenu();
}

FavoriteRowWidget::~FavoriteRowWidget() { m_panel.forgetRow(this); }

void FavoriteRowWidget::show(const Bookmark& bookmark, unsigned depth, bool isExpanded) {
    m_bookmark = bookmark;
    m_title.set_text(bookmark.title);
    m_renameField.bind(bookmark.id);
    set_spacing(bookmark.isFolder ? 4 : 6);
    set_margin_start(static_cast<int>(16 * depth + 8));
    set_margin_top(bookmark.isFolder ? 4 : 3);
    set_margin_bottom(bookmark.isFolder ? 4 : 3);
    for (const char* cssClass : {"orvel-row-icon", "orvel-secondary-text", "orvel-folder-icon"})
        m_icon.remove_css_class(cssClass);
    if (bookmark.isFolder) {
        m_icon.add_css_class("orvel-folder-icon");
    } else {
        m_chevron.clear();
        m_icon.set_from_icon_name("web-browser-symbolic");
        m_icon.add_css_class("orvel-row-icon");
        m_icon.add_css_class("orvel-secondary-text");
    }
    setExpanded(isExpanded);
    updateMenu();
}

void FavoriteRowWidget::setExpanded(bool isExpanded) {
    if (!m_bookmark.isFolder) return;
    m_chevron.set_from_icon_name(isExpanded ? "pan-down-symbolic" : "pan-end-symbolic");
    m_icon.set_from_icon_name(isExpanded ? "folder-open-symbolic" : "folder-symbolic");
}

void FavoriteRowWidget::updateMenu() {
    if (m_isFolderMenu == m_bookmark.isFolder && m_menu->hasItems()) return;
    m_isFolderMenu = m_bookmark.isFolder;
    std::vector<RowContextMenu::Item> items;
    if (!m_bookmark.isFolder) {
        items.push_back({"Open", "open", [this] { m_panel.open(m_bookmark); }});
        items.push_back({"Open in New Tab", "open-in-new-tab", [this] { m_panel.openInNewTab(m_bookmark); }});
    }
    items.push_back({"Rename", "rename", [this] { m_panel.rename().start(m_bookmark.id, m_bookmark.title); }});
    items.push_back({"Delete", "delete", [this] { m_panel.remove(m_bookmark); }});
    m_menu->setItems(items);
}

}  // namespace sarvik
