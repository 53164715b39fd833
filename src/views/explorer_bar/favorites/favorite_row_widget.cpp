#include "views/explorer_bar/favorites/favorite_row_widget.h"

#include "views/explorer_bar/favorites/favorites_panel.h"

#include <gtkmm/tooltip.h>

#include <utility>

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
    // The folders change with the tree: the places to move to are listed as the menu opens.
    m_menu->setOpening([this] {
        m_menu->setItems(menuItems(true));
        return true;
    });
    updateMenu();
    set_has_tooltip(true);
    signal_query_tooltip().connect([this](int, int, bool, const Glib::RefPtr<Gtk::Tooltip>& tooltip) {
        const auto text = tooltipText();
        if (text) tooltip->set_text(*text);
        return text.has_value();
    }, false);
}

std::optional<std::string> FavoriteRowWidget::tooltipText() const {
    const auto layout = m_title.get_layout();
    if (!m_title.get_visible() || !layout || !layout->is_ellipsized()) return std::nullopt;
    return std::string(m_title.get_text());
}

void FavoriteRowWidget::setSelected(bool isSelected) {
    if (isSelected)
        add_css_class("selected");
    else
        remove_css_class("selected");
}

void FavoriteRowWidget::showDropPlace(std::optional<DropPlace> place) {
    const std::pair<DropPlace, const char*> classes[] = {
        {DropPlace::before, "drop-before"}, {DropPlace::into, "drop-into"}, {DropPlace::after, "drop-after"}};
    for (const auto& [each, cssClass] : classes) {
        if (place == each)
            add_css_class(cssClass);
        else
            remove_css_class(cssClass);
    }
}

FavoriteRowWidget::~FavoriteRowWidget() { m_panel.forgetRow(this); }

void FavoriteRowWidget::show(const Bookmark& bookmark, unsigned depth, bool isExpanded) {
    m_bookmark = bookmark;
    // An untitled page is known by its address.
    m_title.set_text(bookmark.title.empty() && !bookmark.isFolder ? bookmark.url : bookmark.title);
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
    m_menu->setItems(menuItems(false));
}

std::vector<RowContextMenu::Item> FavoriteRowWidget::menuItems(bool withMoveTargets) {
    std::vector<RowContextMenu::Item> items;
    if (!m_bookmark.isFolder) {
        items.push_back({"Open", "open", [this] { m_panel.open(m_bookmark); }});
        items.push_back({"Open in New Tab", "open-in-new-tab", [this] { m_panel.openInNewTab(m_bookmark); }});
    }
    items.push_back({"Rename", "rename", [this] { m_panel.rename().start(m_bookmark.id, m_bookmark.title); }});
    if (withMoveTargets) {
        std::vector<RowContextMenu::Item> targets;
        const Uuid id = m_bookmark.id;
        FavoritesPanel& panel = m_panel;
        for (const auto& target : m_panel.moveTargets(m_bookmark))
            targets.push_back({target.label, "move-to-" + std::to_string(targets.size()),
                               [&panel, id, folder = target.folderId] { panel.moveInto(id, folder); }});
        items.push_back({"Move to", std::move(targets)});
    }
    items.push_back({"Delete", "delete", [this] { m_panel.remove(m_bookmark); }});
    return items;
}

}  // namespace sarvik
