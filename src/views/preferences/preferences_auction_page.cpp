#include "views/preferences/preferences_auction_page.h"

#include "views/preferences/preferences_choices.h"

#include <gtkmm/stringlist.h>

#include <algorithm>
#include <string>
#include <vector>

namespace sarvik {
namespace {

// The picker's position of an interval, or none when it is not one of the choices.
guint pickerPosition(std::int64_t minutes) {
    const auto found = std::find(kRefreshIntervalChoices.begin(), kRefreshIntervalChoices.end(), minutes);
    if (found == kRefreshIntervalChoices.end()) return GTK_INVALID_LIST_POSITION;
    return static_cast<guint>(found - kRefreshIntervalChoices.begin());
}

}  // namespace

PreferencesAuctionPage::PreferencesAuctionPage(AuctionStore& store)
    : PreferencesPage(PreferencesTab::auction), m_store(store) {
    buildAutoRefreshSection();
    buildStatisticsSection();

    m_refreshInterval = m_store.refreshIntervalMinutes().get();
    m_isShowingState = true;
    m_intervalPicker->set_selected(pickerPosition(m_refreshInterval));
    m_isShowingState = false;
    showAutoRefresh();
    showStatistics();
    m_connections += m_store.isAutoRefreshEnabled().changed().connect(
        sigc::mem_fun(*this, &PreferencesAuctionPage::showAutoRefresh));
    m_connections += m_store.items().changed().connect(sigc::mem_fun(*this, &PreferencesAuctionPage::showStatistics));
}

void PreferencesAuctionPage::buildAutoRefreshSection() {
    auto& content = addSection("Auto Refresh");
    m_autoRefreshToggle = Gtk::make_managed<Gtk::CheckButton>("Enable auto refresh");
    m_autoRefreshToggle->add_css_class("preferences-toggle");
    m_autoRefreshToggle->signal_toggled().connect(sigc::mem_fun(*this, &PreferencesAuctionPage::onAutoRefreshToggled));

    m_intervalRow = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 8);
    auto* label = Gtk::make_managed<Gtk::Label>("Refresh every:");
    label->add_css_class("preferences-row-label");
    std::vector<Glib::ustring> labels;
    for (auto minutes : kRefreshIntervalChoices) labels.emplace_back(refreshIntervalLabel(minutes));
    m_intervalPicker = Gtk::make_managed<Gtk::DropDown>(labels);
    m_intervalPicker->add_css_class("preferences-interval");
    m_intervalPicker->set_size_request(100, -1);
    m_intervalPicker->property_selected().signal_changed().connect(
        sigc::mem_fun(*this, &PreferencesAuctionPage::onIntervalChosen));
    m_intervalRow->append(*label);
    m_intervalRow->append(*m_intervalPicker);

    content.append(*m_autoRefreshToggle);
    content.append(*m_intervalRow);
}

void PreferencesAuctionPage::buildStatisticsSection() {
    auto& content = addSection("Statistics");
    m_trackedCount = addStatisticRow(content, "Tracked auctions:", "total");
    m_activeCount = addStatisticRow(content, "Active:", "active");
    m_endingSoonCount = addStatisticRow(content, "Ending soon:", "ending");
}

Gtk::Label* PreferencesAuctionPage::addStatisticRow(Gtk::Box& content, const char* label, const char* valueClass) {
    auto* row = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 4);
    auto* name = Gtk::make_managed<Gtk::Label>(label);
    name->add_css_class("preferences-stat-label");
    auto* value = Gtk::make_managed<Gtk::Label>();
    value->add_css_class("preferences-stat-value");
    value->add_css_class(valueClass);
    row->append(*name);
    row->append(*value);
    content.append(*row);
    return value;
}

void PreferencesAuctionPage::showAutoRefresh() {
    const bool enabled = m_store.isAutoRefreshEnabled().get();
    m_isShowingState = true;
    m_autoRefreshToggle->set_active(enabled);
    m_isShowingState = false;
    // While auto refresh is off there is no interval to choose.
    m_intervalRow->set_visible(enabled);
}

void PreferencesAuctionPage::showStatistics() {
    m_trackedCount->set_text(std::to_string(m_store.items()->size()));
    m_activeCount->set_text(std::to_string(m_store.activeItems().size()));
    m_endingSoonCount->set_text(std::to_string(m_store.endingSoonCount()));
}

void PreferencesAuctionPage::onAutoRefreshToggled() {
    if (m_isShowingState) return;
    m_store.isAutoRefreshEnabled() = m_autoRefreshToggle->get_active();
    m_store.restartRefreshTimer();
}

void PreferencesAuctionPage::onIntervalChosen() {
    const guint position = m_intervalPicker->get_selected();
    if (m_isShowingState || position >= kRefreshIntervalChoices.size()) return;
    m_refreshInterval = kRefreshIntervalChoices[position];
    // The value first: the restarted timer reads its period from the store.
    m_store.refreshIntervalMinutes() = m_refreshInterval;
    m_store.restartRefreshTimer();
}

}  // namespace sarvik
