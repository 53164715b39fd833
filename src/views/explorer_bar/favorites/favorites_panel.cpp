#include "views/explorer_bar/favorites/favorites_panel.h"

#include "views/common/row_keys.h"
#include "views/explorer_bar/favorites/favorite_row_widget.h"
#include "views/explorer_bar/favorites/favorites_drag_and_drop.h"

#include <gtkmm/image.h>
#include <gtkmm/noselection.h>
#include <gtkmm/separator.h>
#include <gtkmm/signallistitemfactory.h>

#include <limits>

namespace sarvik {
namespace {

constexpr std::size_t kLastPosition = std::numeric_limits<std::size_t>::max();

void setSmallIconButton(Gtk::Button& button, const char* icon, const char* tooltip) {
    button.set_icon_name(icon);
    button.set_tooltip_text(tooltip);
    button.add_css_class("orvel-button");
    button.add_css_class("small");
}

std::optional<Bookmark> bookmarkOf(const Glib::RefPtr<Glib::ObjectBase>& item) {
    if (auto object = std::dynamic_pointer_cast<BookmarkObject>(item)) return object->record();
    return std::nullopt;
}

}  // namespace

FavoritesPanel::FavoritesPanel(BrowserState& state, BrowserDataStore& store)
    : Gtk::Box(Gtk::Orientation::VERTICAL), m_state(state), m_store(store),
      m_rename([this](const Uuid& id, const std::string& title) { m_store.renameBookmark(id, title); }),
      m_topLevel(Gio::ListStore<BookmarkObject>::create()) {
    add_css_class("orvel-favorites-panel");
    buildButtonRow();
    append(*Gtk::make_managed<Gtk::Separator>(Gtk::Orientation::HORIZONTAL));
    buildNewFolderRow();
    buildTree();
    m_connections += m_store.bookmarks().changed().connect(sigc::mem_fun(*this, &FavoritesPanel::reloadTree));
    reloadTree();
}

FavoritesPanel::~FavoritesPanel() = default;

void FavoritesPanel::buildButtonRow() {
    setSmallIconButton(m_addPage, "list-add-symbolic", "Add Page");
    setSmallIconButton(m_newFolder, "folder-new-symbolic", "New Folder");
    m_buttonRow.set_margin_start(8);
    m_buttonRow.set_margin_end(8);
    m_buttonRow.set_margin_top(6);
    m_buttonRow.set_margin_bottom(6);
    m_buttonRow.append(m_addPage);
    m_buttonRow.append(m_newFolder);
    append(m_buttonRow);
    m_connections += m_addPage.signal_clicked().connect(sigc::mem_fun(*this, &FavoritesPanel::addCurrentPage));
    m_connections += m_newFolder.signal_clicked().connect([this] {
        // The name is typed at once, before anyone clicks into the field.
        m_newFolderRow.set_visible(true);
        m_newFolderField.grab_focus();
    });
}

void FavoritesPanel::buildNewFolderRow() {
    auto* icon = Gtk::make_managed<Gtk::Image>();
    icon->set_from_icon_name("folder-symbolic");
    icon->add_css_class("orvel-folder-icon");
    m_newFolderField.set_placeholder_text("Folder name");
    m_newFolderField.set_has_frame(false);
    m_newFolderField.set_hexpand(true);
    m_newFolderField.add_css_class("orvel-plain-entry");
    m_confirmFolder.add_css_class("orvel-plain-button");
    m_newFolderRow.add_css_class("orvel-new-folder-row");
    for (auto* part : std::initializer_list<Gtk::Widget*>{icon, &m_newFolderField, &m_confirmFolder})
        m_newFolderRow.append(*part);
    for (auto* part : std::initializer_list<Gtk::Widget*>{icon, &m_confirmFolder}) {
        part->set_margin_top(4);
        part->set_margin_bottom(4);
    }
    icon->set_margin_start(12);
    m_confirmFolder.set_margin_end(12);
    m_newFolderRow.set_visible(false);
    append(m_newFolderRow);
    m_connections += m_newFolderField.signal_activate().connect(sigc::mem_fun(*this, &FavoritesPanel::confirmNewFolder));
    m_connections += m_confirmFolder.signal_clicked().connect(sigc::mem_fun(*this, &FavoritesPanel::confirmNewFolder));
    cancelOnEscape(m_newFolderField, [this] {
        m_newFolderField.set_text("");
        m_newFolderRow.set_visible(false);
    });
}

void FavoritesPanel::buildTree() {
    m_tree = Gtk::TreeListModel::create(m_topLevel, [this](const Glib::RefPtr<Glib::ObjectBase>& item) {
        auto bookmark = bookmarkOf(item);
        return bookmark && bookmark->isFolder ? childrenOf(bookmark->id) : Glib::RefPtr<Gio::ListModel>();
    });
    auto factory = Gtk::SignalListItemFactory::create();
    factory->signal_setup().connect([this](const Glib::RefPtr<Gtk::ListItem>& item) {
        auto* widget = Gtk::make_managed<FavoriteRowWidget>(*this);
        m_rowWidgets.insert(widget);
        item->set_child(*widget);
    });
    factory->signal_teardown().connect([this](const Glib::RefPtr<Gtk::ListItem>& item) {
        m_rowWidgets.erase(dynamic_cast<FavoriteRowWidget*>(item->get_child()));
    });
    factory->signal_bind().connect([this](const Glib::RefPtr<Gtk::ListItem>& item) {
        auto row = std::dynamic_pointer_cast<Gtk::TreeListRow>(item->get_item());
        auto* widget = dynamic_cast<FavoriteRowWidget*>(item->get_child());
        auto bookmark = row ? bookmarkOf(row->get_item()) : std::nullopt;
        if (!widget || !bookmark) return;
        widget->show(*bookmark, row->get_depth(), m_expandedFolders.count(bookmark->id) != 0);
        widget->setSelected(m_selectedId == bookmark->id);
    });
    m_list.set_model(Gtk::NoSelection::create(m_tree));
    m_list.set_factory(factory);
    addRowKeys(m_list);
    m_list.set_single_click_activate(true);
    m_list.add_css_class("orvel-favorites-tree");
    m_list.set_margin_top(4);
    m_list.set_margin_bottom(4);
    m_connections += m_list.signal_activate().connect(sigc::mem_fun(*this, &FavoritesPanel::activateRow));
    m_dragAndDrop = std::make_unique<FavoritesDragAndDrop>(m_list, *this);
    // A click below the rows selects nothing, so "Add page" adds at the top level again.
    m_emptyAreaClick = Gtk::GestureClick::create();
    m_connections += m_emptyAreaClick->signal_released().connect([this](int, double x, double y) {
        if (!rowAt(x, y)) select(std::nullopt);
    });
    m_list.add_controller(m_emptyAreaClick);
    m_scroller.set_policy(Gtk::PolicyType::NEVER, Gtk::PolicyType::AUTOMATIC);
    m_scroller.set_vexpand(true);
    m_scroller.set_child(m_list);
    append(m_scroller);
}

Glib::RefPtr<Gio::ListModel> FavoritesPanel::childrenOf(const std::optional<Uuid>& folderId) const {
    auto children = Gio::ListStore<BookmarkObject>::create();
    if (!m_shown) return children;
    for (std::size_t position : m_shown->childrenOf(folderId)) children->append(BookmarkObject::create(m_records[position]));
    return children;
}

void FavoritesPanel::reloadTree() {
    m_shown.reset();
    m_records = m_store.bookmarks().get();
    m_shown.emplace(m_records);
    std::vector<Glib::RefPtr<BookmarkObject>> items;
    for (std::size_t position : m_shown->childrenOf(std::nullopt))
        items.push_back(BookmarkObject::create(m_records[position]));
    m_topLevel->splice(0, m_topLevel->get_n_items(), items);
    expandRemembered();
}

// A reloaded tree starts collapsed; folders the user opened are opened again.
void FavoritesPanel::expandRemembered() {
    for (guint i = 0; i < m_tree->get_n_items(); ++i) {
        auto row = m_tree->get_row(i);
        auto bookmark = row ? bookmarkOf(row->get_item()) : std::nullopt;
        if (bookmark && bookmark->isFolder && m_expandedFolders.count(bookmark->id) && !row->get_expanded())
            row->set_expanded(true);
    }
}

void FavoritesPanel::activateRow(guint position) {
    auto row = m_tree->get_row(position);
    auto bookmark = row ? bookmarkOf(row->get_item()) : std::nullopt;
    if (!bookmark) return;
    select(bookmark->id);
    if (bookmark->isFolder)
        toggleFolder(bookmark->id);
    else
        open(*bookmark);
}

void FavoritesPanel::toggleFolder(const Uuid& id) {
    const bool isExpanded = m_expandedFolders.erase(id) == 0;
    if (isExpanded) m_expandedFolders.insert(id);
    for (guint i = 0; i < m_tree->get_n_items(); ++i) {
        auto row = m_tree->get_row(i);
        auto bookmark = row ? bookmarkOf(row->get_item()) : std::nullopt;
        if (bookmark && bookmark->id == id) {
            row->set_expanded(isExpanded);
            break;
        }
    }
    for (auto* widget : m_rowWidgets)
        if (widget->bookmark().id == id) widget->setExpanded(isExpanded);
}

void FavoritesPanel::select(const std::optional<Uuid>& id) {
    m_selectedId = id;
    for (auto* widget : m_rowWidgets) widget->setSelected(widget->bookmark().id == id);
}

// A point in a row's margin lands on the list's own item around it.
FavoriteRowWidget* FavoritesPanel::rowAt(double x, double y) {
    for (auto* widget = m_list.pick(x, y); widget && widget != &m_list; widget = widget->get_parent()) {
        if (auto* row = dynamic_cast<FavoriteRowWidget*>(widget)) return row;
        if (auto* row = dynamic_cast<FavoriteRowWidget*>(widget->get_first_child())) return row;
    }
    return nullptr;
}

const Bookmark* FavoritesPanel::recordOf(const std::optional<Uuid>& id) const {
    for (const Bookmark& record : m_records)
        if (id && record.id == *id) return &record;
    return nullptr;
}

// Into the selected folder, else beside the selected favorite, else at the top level.
std::optional<Uuid> FavoritesPanel::folderForNewPage() const {
    const Bookmark* selected = recordOf(m_selectedId);
    if (!selected) return std::nullopt;
    return selected->isFolder ? std::optional<Uuid>(selected->id) : selected->parentFolderId;
}

void FavoritesPanel::addCurrentPage() {
    const auto tab = m_state.activeTab();
    if (!tab || !tab->url) return;
    const auto folder = folderForNewPage();
    m_store.addBookmark(tab->title, tab->url->absoluteString(), folder);
    // Opened, so the new row is seen where it landed.
    if (folder) expand(*folder);
}

void FavoritesPanel::expand(const Uuid& folderId) {
    if (!m_expandedFolders.count(folderId)) toggleFolder(folderId);
}

std::vector<FavoriteMoveTarget> FavoritesPanel::moveTargets(const Bookmark& bookmark) const {
    std::vector<FavoriteMoveTarget> targets{{"Favorites", std::nullopt}};
    if (!m_shown) return targets;
    const auto walk = [&](const auto& self, const std::optional<Uuid>& folder, const std::string& path) -> void {
        for (std::size_t position : m_shown->childrenOf(folder)) {
            const Bookmark& record = m_records[position];
            if (!record.isFolder || record.id == bookmark.id) continue;
            const std::string title = record.title.empty() ? "Untitled Folder" : record.title;
            const std::string label = path.empty() ? title : path + " \u203a " + title;
            targets.push_back({label, record.id});
            self(self, record.id, label);
        }
    };
    walk(walk, std::nullopt, "");
    return targets;
}

void FavoritesPanel::moveInto(const Uuid& id, const std::optional<Uuid>& folderId) {
    m_store.moveBookmark(id, folderId, kLastPosition);
}

// Below an open folder's row lies its first child: a drop there goes in first.
bool FavoritesPanel::drop(const Uuid& dragged, const std::optional<Bookmark>& onto, DropPlace place) {
    if (!onto) return m_store.moveBookmark(dragged, std::nullopt, kLastPosition);
    if (dragged == onto->id || !m_shown) return false;
    const bool isOpenFolder = onto->isFolder && m_expandedFolders.count(onto->id);
    if (place == DropPlace::into || (place == DropPlace::after && isOpenFolder)) {
        const bool moved = m_store.moveBookmark(dragged, onto->id, place == DropPlace::into ? kLastPosition : 0);
        if (moved) expand(onto->id);
        return moved;
    }
    std::size_t position = 0;
    for (std::size_t sibling : m_shown->childrenOf(onto->parentFolderId)) {
        if (m_records[sibling].id == onto->id) break;
        if (m_records[sibling].id != dragged) ++position;
    }
    return m_store.moveBookmark(dragged, onto->parentFolderId, place == DropPlace::after ? position + 1 : position);
}

void FavoritesPanel::showDropPlace(const FavoriteRowWidget* row, std::optional<DropPlace> place) {
    for (auto* widget : m_rowWidgets) widget->showDropPlace(widget == row ? place : std::nullopt);
}

// The name is used as typed; an empty one just closes the row.
void FavoritesPanel::confirmNewFolder() {
    const std::string name = m_newFolderField.get_text();
    if (!name.empty()) {
        m_store.addFolder(name, std::nullopt);
        m_newFolderField.set_text("");
    }
    m_newFolderRow.set_visible(false);
}

void FavoritesPanel::open(const Bookmark& bookmark) { m_state.openAddress(bookmark.url); }

void FavoritesPanel::openInNewTab(const Bookmark& bookmark) { m_state.newTab(Url::parse(bookmark.url)); }

void FavoritesPanel::remove(const Bookmark& bookmark) { m_store.deleteBookmark(bookmark.id); }

}  // namespace sarvik
