#pragma once

#include "core/browser_state.h"
#include "core/scoped_connection.h"
#include "stores/page_archiver.h"
#include "stores/scrapbook_store.h"
#include "views/common/inline_rename.h"
#include "views/explorer_bar/scrapbook/scrapbook_empty_notice.h"
#include "views/explorer_bar/scrapbook/scrapbook_entry_object.h"
#include "views/explorer_bar/scrapbook/scrapbook_header.h"

#include <giomm/liststore.h>
#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/entry.h>
#include <gtkmm/image.h>
#include <gtkmm/listview.h>
#include <gtkmm/scrolledwindow.h>
#include <gtkmm/separator.h>
#include <gtkmm/signallistitemfactory.h>
#include <unicode/datefmt.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace sarvik {

// The Scrapbook panel of the explorer bar: saves the active tab's page, makes
// folders, and lists the folders (each with its count and its pages) and the
// top-level pages in one virtual list refilled whenever the store publishes;
// folders and pages are renamed in place. Opening a page posts its archive's
// bytes ("loadScrapbookArchive") for the main window to show. Its own state
// (new-folder row, save result, selected page, rename) lives only as long as
// the panel. Main thread only.
class ScrapbookPanel : public Gtk::Box {
public:
    // The active tab's page as an archiver, or none; asked at each save.
    using ActivePage = std::function<std::unique_ptr<PageArchiver>()>;

    ScrapbookPanel(BrowserState& state, ScrapbookStore& store, ActivePage activePage = {});
    ~ScrapbookPanel() override;

    ScrapbookHeader& header() { return m_header; }
    Gtk::Box& newFolderRow() { return m_newFolderRow; }
    Gtk::Entry& newFolderField() { return m_newFolderField; }
    Gtk::Button& confirmFolderButton() { return m_confirmFolder; }
    ScrapbookEmptyNotice& emptyNotice() { return m_empty; }
    Gtk::ListView& listView() { return m_list; }
    Glib::RefPtr<Gio::ListModel> listModel() const { return m_model; }
    bool isSaving() const { return m_isSaving; }
    std::optional<bool> saveSuccess() const { return m_saveSuccess; }
    const std::optional<ScrapbookItem>& selectedItem() const { return m_selectedItem; }

    void savePage();
    void setAddingFolder(bool isAdding);
    void confirmNewFolder();
    void openItem(const Uuid& id);
    void openOriginalUrl(const Uuid& id);
    void moveItem(const Uuid& id, const std::optional<Uuid>& folderId);
    void deleteItem(const Uuid& id);
    void deleteFolder(const Uuid& id);

    // For the rows.
    InlineRename& rename() { return m_rename; }
    const std::vector<ScrapbookFolder>& folders() const { return m_store.folders().get(); }
    bool isSelected(const Uuid& id) const { return m_selectedItem && m_selectedItem->id == id; }
    std::string dateText(Date date) const;

private:
    void buildNewFolderRow();
    void buildList();
    void onSetup(const Glib::RefPtr<Gtk::ListItem>& listItem);
    void onBind(const Glib::RefPtr<Gtk::ListItem>& listItem);
    void onActivate(guint position);
    void reloadList();
    void finishSaving(bool success);
    std::optional<ScrapbookItem> findItem(const Uuid& id) const;
    std::string originalAddress(const Url& shown) const;

    BrowserState& m_state;
    ScrapbookStore& m_store;
    ActivePage m_activePage;
    bool m_isSaving = false;
    std::optional<bool> m_saveSuccess;
    std::optional<ScrapbookItem> m_selectedItem;
    std::unique_ptr<icu::DateFormat> m_dateFormat;
    InlineRename m_rename;  // before the list: its rows' fields use it

    ScrapbookHeader m_header;
    Gtk::Separator m_divider{Gtk::Orientation::HORIZONTAL};
    Gtk::Box m_newFolderRow{Gtk::Orientation::HORIZONTAL, 4};
    Gtk::Image m_newFolderIcon;
    Gtk::Entry m_newFolderField;
    Gtk::Button m_confirmFolder{"\u2713"};
    Gtk::ScrolledWindow m_scroller;
    Glib::RefPtr<Gio::ListStore<ScrapbookEntryObject>> m_model;
    Glib::RefPtr<Gtk::SignalListItemFactory> m_factory;
    Gtk::ListView m_list;
    ScrapbookEmptyNotice m_empty;

    // Held weakly by a save's completion, which may outlive the panel.
    std::shared_ptr<ScrapbookPanel*> m_liveness;
    ConnectionSet m_connections;
    ScopedConnection m_hideResult;
};

}  // namespace sarvik
