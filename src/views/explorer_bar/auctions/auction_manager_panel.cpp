#include "views/explorer_bar/auctions/auction_manager_panel.h"

#include "views/common/row_keys.h"
#include "views/explorer_bar/auctions/auction_panel_actions.h"
#include "views/explorer_bar/auctions/auction_row.h"
#include "core/main_loop_hop.h"

#include <gdkmm/clipboard.h>
#include <gdkmm/display.h>
#include <glibmm/main.h>
#include <gtkmm/listitem.h>
#include <gtkmm/noselection.h>

#include <cmath>
#include <utility>
#include <vector>

namespace sarvik {
namespace {

constexpr double kNewEndDateDelay = 259200;  // three days
constexpr unsigned kClockRefreshSeconds = 15;
constexpr unsigned kFormTransitionMs = 200;
constexpr double kSmallestTimeStep = 1.0;

}  // namespace

AuctionManagerPanel::AuctionManagerPanel(BrowserState& state, AuctionStore& store)
    : Gtk::Box(Gtk::Orientation::VERTICAL, 0), m_state(state), m_store(store), m_now(store.now()) {
    set_name("auction-manager-panel");
    add_css_class("auction-panel");
    installActions();
    buildList();

    m_form.reset(m_now.addingSeconds(kNewEndDateDelay));
    m_formScroll.set_child(m_form);
    m_formScroll.set_policy(Gtk::PolicyType::NEVER, Gtk::PolicyType::AUTOMATIC);
    m_content.add(m_formScroll, "form");
    m_content.add(m_empty, "empty");
    m_content.add(m_listScroll, "list");
    m_content.set_name("auction-content");
    m_content.set_vexpand(true);
    m_content.set_transition_type(Gtk::StackTransitionType::CROSSFADE);
    m_content.set_transition_duration(kFormTransitionMs);
    append(m_header);
    append(m_divider);
    append(m_content);

    m_header.signalGroupChosen().connect(sigc::mem_fun(*this, &AuctionManagerPanel::setShowingEndedItems));
    m_header.signalRefresh().connect([this] {
        m_store.updateStatuses();
        reloadList();
    });
    m_header.signalFormToggled().connect([this] {
        // Closing keeps what was typed for adding, but an edit is not left
        // behind for the next "+" to save over the item.
        if (m_editingId)
            onCancel();
        else
            setAddingItem(!m_isAddingItem);
    });
    m_empty.signalTrack().connect([this] { setAddingItem(true); });
    m_form.signalTrack().connect(sigc::mem_fun(*this, &AuctionManagerPanel::onTrack));
    m_form.signalCancel().connect(sigc::mem_fun(*this, &AuctionManagerPanel::onCancel));

    m_storeObservation = m_store.items().changed().connect(sigc::mem_fun(*this, &AuctionManagerPanel::reloadList));
    m_stateObservation = m_state.anyChanged().connect(sigc::mem_fun(*this, &AuctionManagerPanel::scheduleTimeRefresh));
    m_clockRefresh = Glib::signal_timeout().connect_seconds(
        [this] {
            refreshTimes();
            return true;
        },
        kClockRefreshSeconds);
    reloadList();
}

AuctionManagerPanel::~AuctionManagerPanel() {
    // Rows must not bind against a panel that is going.
    m_list.set_model({});
}

void AuctionManagerPanel::installActions() {
    m_actions = Gio::SimpleActionGroup::create();
    addAction(auction_actions::kOpen, &AuctionManagerPanel::openItem);
    addAction(auction_actions::kEdit, &AuctionManagerPanel::editItem);
    addAction(auction_actions::kSetStatus, &AuctionManagerPanel::setItemStatus);
    addAction(auction_actions::kCopyUrl, &AuctionManagerPanel::copyItemUrl);
    addAction(auction_actions::kRemove, &AuctionManagerPanel::removeItem);
    insert_action_group(std::string(auction_actions::kGroup), m_actions);
}

void AuctionManagerPanel::addAction(std::string_view name,
                                    void (AuctionManagerPanel::*handler)(const Glib::ustring&)) {
    // The action group belongs to the panel and goes with it, so `this` outlives every activation.
    m_actions->add_action_with_parameter(std::string(name), Glib::VARIANT_TYPE_STRING,
                                         [this, handler](const Glib::VariantBase& parameter) {
                                             const auto text =
                                                 Glib::VariantBase::cast_dynamic<Glib::Variant<Glib::ustring>>(parameter);
                                             (this->*handler)(text.get());
                                         });
}

void AuctionManagerPanel::buildList() {
    m_model = Gio::ListStore<RecordObject<AuctionItem>>::create();
    m_factory = Gtk::SignalListItemFactory::create();
    m_factory->signal_setup().connect(sigc::mem_fun(*this, &AuctionManagerPanel::onSetup));
    m_factory->signal_bind().connect(sigc::mem_fun(*this, &AuctionManagerPanel::onBind));
    m_list.set_name("auction-list");
    m_list.add_css_class("auction-list");
    m_list.set_model(Gtk::NoSelection::create(m_model));
    m_list.set_factory(m_factory);
    addRowKeys(m_list);
    m_listScroll.set_child(m_list);
    m_listScroll.set_policy(Gtk::PolicyType::NEVER, Gtk::PolicyType::AUTOMATIC);
    m_listScroll.set_vexpand(true);
}

void AuctionManagerPanel::onSetup(const Glib::RefPtr<Gtk::ListItem>& listItem) {
    listItem->set_activatable(false);
    listItem->set_child(*Gtk::make_managed<AuctionRow>());
}

void AuctionManagerPanel::onBind(const Glib::RefPtr<Gtk::ListItem>& listItem) {
    auto* row = dynamic_cast<AuctionRow*>(listItem->get_child());
    auto object = std::dynamic_pointer_cast<RecordObject<AuctionItem>>(listItem->get_item());
    if (row && object) row->bind(object->record(), m_now);
}

void AuctionManagerPanel::reloadList() {
    m_now = m_store.now();
    const auto items = m_isShowingEndedItems ? m_store.endedItems() : m_store.activeItems();
    std::vector<Glib::RefPtr<RecordObject<AuctionItem>>> objects;
    objects.reserve(items.size());
    for (const auto& item : items) objects.push_back(RecordObject<AuctionItem>::create(item));
    m_model->splice(0, m_model->get_n_items(), objects);
    m_header.setEndingSoonCount(m_store.endingSoonCount());
    showContent();
}

void AuctionManagerPanel::refreshTimes() {
    m_pendingTimeRefresh.disconnect();
    const Date now = m_store.now();
    // Page loading publishes browser-state changes many times a second. The
    // time texts move in whole minutes, so within one second there is nothing
    // worth rebinding a long list for.
    if (std::fabs(now.secondsSince(m_now)) < kSmallestTimeStep) return;
    m_now = now;
    m_header.setEndingSoonCount(m_store.endingSoonCount());
    // The items are unchanged; only what depends on the time is drawn again, by
    // rebinding the rows on screen.
    const guint count = m_model->get_n_items();
    if (count > 0) g_list_model_items_changed(G_LIST_MODEL(m_model->gobj()), 0, count, count);
}

void AuctionManagerPanel::scheduleTimeRefresh() {
    // Page loading publishes many changes a second: draw once per burst.
    if (m_pendingTimeRefresh.connected()) return;
    m_pendingTimeRefresh = scheduleSoon([this] { refreshTimes(); });
}

void AuctionManagerPanel::showContent() {
    m_header.setFormOpen(m_isAddingItem);
    m_empty.setShowingEnded(m_isShowingEndedItems);
    if (m_isAddingItem)
        m_content.set_visible_child("form");
    else
        m_content.set_visible_child(m_model->get_n_items() == 0 ? "empty" : "list");
}

void AuctionManagerPanel::setAddingItem(bool isAdding) {
    m_isAddingItem = isAdding;
    showContent();
}

void AuctionManagerPanel::setShowingEndedItems(bool isEnded) {
    m_isShowingEndedItems = isEnded;
    m_header.setShowingEnded(isEnded);
    reloadList();
}

void AuctionManagerPanel::onTrack(const AuctionFields& values) {
    if (const auto id = std::exchange(m_editingId, std::nullopt))
        m_store.updateItem(*id, values);
    else
        m_store.addItem(values.title, values.url, values.site, values.price, values.endDate, values.maxBidPrice);
    m_form.reset(m_store.now().addingSeconds(kNewEndDateDelay));
    setAddingItem(false);
}

void AuctionManagerPanel::onCancel() {
    m_editingId.reset();
    setAddingItem(false);
    m_form.reset(m_store.now().addingSeconds(kNewEndDateDelay));
}

std::optional<AuctionItem> AuctionManagerPanel::findItem(const Glib::ustring& idText) const {
    const auto id = Uuid::parse(idText.raw());
    if (!id) return std::nullopt;
    for (const auto& item : m_store.items().get())
        if (item.id == *id) return item;
    return std::nullopt;
}

void AuctionManagerPanel::openItem(const Glib::ustring& idText) {
    if (const auto item = findItem(idText)) m_state.openAddress(item->url);
}

void AuctionManagerPanel::editItem(const Glib::ustring& idText) {
    const auto item = findItem(idText);
    if (!item) return;
    m_editingId = item->id;
    m_form.fill(*item, m_store.now().addingSeconds(kNewEndDateDelay));
    setAddingItem(true);
}

void AuctionManagerPanel::setItemStatus(const Glib::ustring& target) {
    if (const auto parsed = auction_actions::parseSetStatusTarget(target.raw()))
        m_store.setStatus(parsed->first, parsed->second);
}

void AuctionManagerPanel::copyItemUrl(const Glib::ustring& idText) {
    if (const auto item = findItem(idText)) get_display()->get_clipboard()->set_text(item->url);
}

void AuctionManagerPanel::removeItem(const Glib::ustring& idText) {
    if (const auto id = Uuid::parse(idText.raw())) m_store.removeItem(*id);
}

}  // namespace sarvik
