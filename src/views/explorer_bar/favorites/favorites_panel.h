#pragma once

#include "core/browser_state.h"
#include "core/scoped_connection.h"
#include "stores/browser_data_store.h"
#include "stores/favorites_tree.h"
#include "views/common/inline_rename.h"
#include "views/common/record_object.h"

#include <giomm/liststore.h>
#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/entry.h>
#include <gtkmm/gestureclick.h>
#include <gtkmm/listview.h>
#include <gtkmm/scrolledwindow.h>
#include <gtkmm/treelistmodel.h>

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace sarvik {

class FavoriteRowWidget;

// The list item of one favorite or folder: a copy of its record.
using BookmarkObject = RecordObject<Bookmark>;

// A folder a record can be moved into (none: the top level), labelled by its path.
struct FavoriteMoveTarget {
    std::string label;
    std::optional<Uuid> folderId;
};

// Where on a row something is dropped: before it, into it (a folder), after it.
enum class DropPlace { before, into, after };

class FavoritesDragAndDrop;

// The Favorites panel: add-page and new-folder buttons, the new-folder row,
// and the tree of favorites (a tree list model in a virtualised list) with
// expanding folders, inline renaming, context menus and rows moved by "Move
// to" or by dragging. Expanded folders, the selected row and editing state
// live only as long as the panel; every change goes through the store and
// the tree follows the store's list, whoever changed it.
class FavoritesPanel : public Gtk::Box {
public:
    FavoritesPanel(BrowserState& state, BrowserDataStore& store);
    ~FavoritesPanel() override;

    Gtk::Button& addPageButton() { return m_addPage; }
    Gtk::Button& newFolderButton() { return m_newFolder; }
    Gtk::Box& newFolderRow() { return m_newFolderRow; }
    Gtk::Entry& newFolderField() { return m_newFolderField; }
    Gtk::Button& confirmFolderButton() { return m_confirmFolder; }
    Gtk::ListView& listView() { return m_list; }
    Glib::RefPtr<Gtk::TreeListModel> tree() const { return m_tree; }

    void open(const Bookmark& bookmark);
    void openInNewTab(const Bookmark& bookmark);
    InlineRename& rename() { return m_rename; }
    void remove(const Bookmark& bookmark);
    void toggleFolder(const Uuid& id);
    // The top level and every folder in tree order, less the record and what lies below it.
    std::vector<FavoriteMoveTarget> moveTargets(const Bookmark& bookmark) const;
    // Last in the folder; the store refuses a folder into its own subtree.
    void moveInto(const Uuid& id, const std::optional<Uuid>& folderId);
    // Dropped onto a row (none: below the rows); whether the store moved it.
    bool drop(const Uuid& dragged, const std::optional<Bookmark>& onto, DropPlace place);
    // Marks where a drop would land on that row, and on no other.
    void showDropPlace(const FavoriteRowWidget* row, std::optional<DropPlace> place);
    // The row at that point of the list, its margins included; none below the rows.
    FavoriteRowWidget* rowAt(double x, double y);
    void forgetRow(FavoriteRowWidget* row) { m_rowWidgets.erase(row); }

private:
    void buildButtonRow();
    void buildNewFolderRow();
    void buildTree();
    void addCurrentPage();
    void confirmNewFolder();
    void reloadTree();
    void expandRemembered();
    void activateRow(guint position);
    void select(const std::optional<Uuid>& id);
    const Bookmark* recordOf(const std::optional<Uuid>& id) const;
    std::optional<Uuid> folderForNewPage() const;
    void expand(const Uuid& folderId);
    Glib::RefPtr<Gio::ListModel> childrenOf(const std::optional<Uuid>& folderId) const;

    BrowserState& m_state;
    BrowserDataStore& m_store;
    std::set<Uuid> m_expandedFolders;
    InlineRename m_rename;  // before the list: its rows' fields use it
    std::optional<Uuid> m_selectedId;
    std::set<FavoriteRowWidget*> m_rowWidgets;
    // The records as last loaded and the tree over them: a folder's rows come
    // from the tree, so a looping or duplicated folder in the file expands once.
    std::vector<Bookmark> m_records;
    std::optional<FavoritesTree> m_shown;
    Glib::RefPtr<Gio::ListStore<BookmarkObject>> m_topLevel;
    Glib::RefPtr<Gtk::TreeListModel> m_tree;
    Gtk::Box m_buttonRow{Gtk::Orientation::HORIZONTAL, 6};
    Gtk::Button m_addPage;
    Gtk::Button m_newFolder;
    Gtk::Box m_newFolderRow{Gtk::Orientation::HORIZONTAL, 4};
    Gtk::Entry m_newFolderField;
    Gtk::Button m_confirmFolder{"\u2713"};
    Gtk::ScrolledWindow m_scroller;
    Gtk::ListView m_list;
    Glib::RefPtr<Gtk::GestureClick> m_emptyAreaClick;
    std::unique_ptr<FavoritesDragAndDrop> m_dragAndDrop;
    ConnectionSet m_connections;
};

}  // namespace sarvik
