#include "views/explorer_bar/scrapbook/scrapbook_panel.h"

#include "core/notification_center.h"
#include "core/notification_names.h"
#include "core/saved_page_address.h"
#include "views/common/row_keys.h"
#include "views/explorer_bar/scrapbook/scrapbook_row.h"
#include "web/scrapbook_scheme.h"

#include <glibmm/main.h>
#include <gtkmm/listitem.h>
#include <gtkmm/noselection.h>

#include <vector>

namespace sarvik {
namespace {

constexpr unsigned kResultShownMs = 2000;

}  // namespace

ScrapbookPanel::ScrapbookPanel(BrowserState& state, ScrapbookStore& store, ActivePage activePage)
    : Gtk::Box(Gtk::Orientation::VERTICAL, 0), m_state(state), m_store(store),
      m_activePage(std::move(activePage)),
      m_dateFormat(icu::DateFormat::createDateTimeInstance(icu::DateFormat::kShort, icu::DateFormat::kShort)),
      m_rename([this](const Uuid& id, const std::string& title) { m_store.rename(id, title); }) {
    set_name("scrapbook-panel");
    add_css_class("scrapbook-panel");
    buildNewFolderRow();
    buildList();
    append(m_header);
    append(m_divider);
    append(m_newFolderRow);
    append(m_scroller);
    append(m_empty);

    m_header.signalSave().connect(sigc::mem_fun(*this, &ScrapbookPanel::savePage));
    m_header.signalNewFolder().connect([this] { setAddingFolder(true); });
    m_connections += m_store.items().changed().connect(sigc::mem_fun(*this, &ScrapbookPanel::reloadList));
    m_connections += m_store.folders().changed().connect(sigc::mem_fun(*this, &ScrapbookPanel::reloadList));
    reloadList();
}

ScrapbookPanel::~ScrapbookPanel() {
    // Rows must not bind against a panel that is going.
    m_list.set_model({});
}

void ScrapbookPanel::buildNewFolderRow() {
    m_newFolderRow.set_name("scrapbook-new-folder-row");
    m_newFolderRow.add_css_class("scrapbook-new-folder-row");
    m_newFolderIcon.set_from_icon_name("folder-symbolic");
    m_newFolderIcon.add_css_class("scrapbook-folder-icon");
    m_newFolderField.set_name("scrapbook-new-folder-field");
    m_newFolderField.set_placeholder_text("Folder name");
    m_newFolderField.set_has_frame(false);
    m_newFolderField.set_hexpand(true);
    m_newFolderField.signal_activate().connect(sigc::mem_fun(*this, &ScrapbookPanel::confirmNewFolder));
    m_confirmFolder.set_name("scrapbook-confirm-folder");
    m_confirmFolder.set_has_frame(false);
    m_confirmFolder.signal_clicked().connect(sigc::mem_fun(*this, &ScrapbookPanel::confirmNewFolder));
    m_newFolderRow.append(m_newFolderIcon);
    m_newFolderRow.append(m_newFolderField);
    m_newFolderRow.append(m_confirmFolder);
    m_newFolderRow.set_visible(false);
}

void ScrapbookPanel::buildList() {
    m_model = Gio::ListStore<ScrapbookEntryObject>::create();
    m_factory = Gtk::SignalListItemFactory::create();
    m_factory->signal_setup().connect(sigc::mem_fun(*this, &ScrapbookPanel::onSetup));
    m_factory->signal_bind().connect(sigc::mem_fun(*this, &ScrapbookPanel::onBind));
    m_list.set_name("scrapbook-list");
    m_list.add_css_class("scrapbook-list");
    m_list.set_model(Gtk::NoSelection::create(m_model));
    m_list.set_factory(m_factory);
    addRowKeys(m_list);
    m_list.set_single_click_activate(true);
    m_list.signal_activate().connect(sigc::mem_fun(*this, &ScrapbookPanel::onActivate));
    // The list is the scroller's own child: a list view nested in a box makes
    // rows only for the first part of a long list.
    m_scroller.set_child(m_list);
    m_scroller.set_policy(Gtk::PolicyType::NEVER, Gtk::PolicyType::AUTOMATIC);
    m_scroller.set_vexpand(true);
}

void ScrapbookPanel::onSetup(const Glib::RefPtr<Gtk::ListItem>& listItem) {
    listItem->set_child(*Gtk::make_managed<ScrapbookRow>(*this));
}

void ScrapbookPanel::onBind(const Glib::RefPtr<Gtk::ListItem>& listItem) {
    auto* row = dynamic_cast<ScrapbookRow*>(listItem->get_child());
    auto entry = std::dynamic_pointer_cast<ScrapbookEntryObject>(listItem->get_item());
    if (!row || !entry) return;
    // Folder headers are not opened by a click; only their menu acts.
    listItem->set_activatable(!entry->record().isFolder);
    row->bind(entry);
}

void ScrapbookPanel::onActivate(guint position) {
    auto entry = m_model->get_item(position);
    if (entry && !entry->record().isFolder) openItem(entry->record().item.id);
}

void ScrapbookPanel::reloadList() {
    std::vector<Glib::RefPtr<ScrapbookEntryObject>> entries;
    for (const auto& folder : m_store.folders().get()) {
        const auto items = m_store.items(folder.id);
        entries.push_back(ScrapbookEntryObject::create(ScrapbookEntry::forFolder(folder, items.size())));
        for (const auto& item : items) entries.push_back(ScrapbookEntryObject::create(ScrapbookEntry::forItem(item)));
    }
    for (const auto& item : m_store.items(std::nullopt))
        entries.push_back(ScrapbookEntryObject::create(ScrapbookEntry::forItem(item)));
    m_model->splice(0, m_model->get_n_items(), entries);
    m_scroller.set_visible(!entries.empty());
    m_empty.set_visible(entries.empty());
}

void ScrapbookPanel::savePage() {
    if (m_isSaving) return;
    const std::unique_ptr<PageArchiver> archiver = m_activePage ? m_activePage() : nullptr;
    if (!archiver) return;
    const auto tab = m_state.activeTab();
    if (!tab || !tab->url) return;
    m_isSaving = true;
    m_saveSuccess.reset();
    m_hideResult.disconnect();
    m_header.setSaving(true);
    m_header.setSaveResult(std::nullopt);
    // The store drops the completion if it goes first; the panel may go first
    // too (its tab switched away), so the completion holds the panel weakly.
    auto alive = std::make_shared<ScrapbookPanel*>(this);
    m_liveness = alive;
    std::weak_ptr<ScrapbookPanel*> weak = alive;
    m_store.savePage(*archiver, tab->title, originalAddress(*tab->url), [weak](bool success) {
        if (auto panel = weak.lock()) (*panel)->finishSaving(success);
    });
}

void ScrapbookPanel::finishSaving(bool success) {
    m_isSaving = false;
    m_saveSuccess = success;
    m_header.setSaving(false);
    m_header.setSaveResult(success);
    m_hideResult = Glib::signal_timeout().connect(
        [this] {
            m_saveSuccess.reset();
            m_header.setSaveResult(std::nullopt);
            return false;
        },
        kResultShownMs);
}

void ScrapbookPanel::setAddingFolder(bool isAdding) {
    m_newFolderRow.set_visible(isAdding);
    if (isAdding) m_newFolderField.grab_focus();
}

void ScrapbookPanel::confirmNewFolder() {
    const std::string name = m_newFolderField.get_text();
    if (!name.empty()) {
        m_store.addFolder(name);
        m_newFolderField.set_text("");
    }
    setAddingFolder(false);
}

std::optional<ScrapbookItem> ScrapbookPanel::findItem(const Uuid& id) const {
    for (const auto& item : m_store.items().get())
        if (item.id == id) return item;
    return std::nullopt;
}

void ScrapbookPanel::openItem(const Uuid& id) {
    const auto item = findItem(id);
    if (!item) return;
    m_selectedItem = item;
    reloadList();
    const auto bytes = m_store.readArchive(*item);
    if (!bytes) return;
    NotificationCenter::defaultCenter().post(notifications::kLoadScrapbookArchive, std::nullopt,
                                             {{"data", *bytes}, {"url", item->url}, {"id", item->id.toString()}});
}

// A saved page shown offline is saved again under the address it came from.
std::string ScrapbookPanel::originalAddress(const Url& shown) const {
    if (const auto id = savedPageId(shown.absoluteString()))
        if (const auto page = ScrapbookScheme::shared().find(*id)) return page->originalUrl;
    return shown.absoluteString();
}

void ScrapbookPanel::openOriginalUrl(const Uuid& id) {
    if (const auto item = findItem(id)) m_state.openAddress(item->url);
}

void ScrapbookPanel::moveItem(const Uuid& id, const std::optional<Uuid>& folderId) { m_store.moveItem(id, folderId); }

void ScrapbookPanel::deleteItem(const Uuid& id) { m_store.deleteItem(id); }

void ScrapbookPanel::deleteFolder(const Uuid& id) { m_store.deleteFolder(id); }

std::string ScrapbookPanel::dateText(Date date) const {
    std::string text;
    if (!m_dateFormat) return text;
    icu::UnicodeString formatted;
    m_dateFormat->format(date.unixTime() * 1000.0, formatted);
    formatted.toUTF8String(text);
    return text;
}

}  // namespace sarvik
