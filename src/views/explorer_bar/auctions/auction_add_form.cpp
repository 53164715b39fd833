#include "views/explorer_bar/auctions/auction_add_form.h"

#include "stores/price_text.h"
#include "views/common/row_keys.h"
#include "views/explorer_bar/auctions/auction_site_symbol.h"
#include "views/explorer_bar/auctions/auction_symbols.h"

#include <gtkmm/image.h>
#include <gtkmm/listitem.h>
#include <gtkmm/signallistitemfactory.h>
#include <gtkmm/stringlist.h>

#include <vector>

namespace sarvik {
namespace {

Glib::RefPtr<Gtk::StringList> siteNames() {
    std::vector<Glib::ustring> names;
    for (AuctionSite site : kAllAuctionSites) names.emplace_back(std::string(rawValue(site)));
    return Gtk::StringList::create(names);
}

// Each entry of the site picker: the site's symbol, then its name.
Glib::RefPtr<Gtk::SignalListItemFactory> siteEntryFactory() {
    auto factory = Gtk::SignalListItemFactory::create();
    factory->signal_setup().connect([](const Glib::RefPtr<Gtk::ListItem>& listItem) {
        auto* box = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 6);
        box->add_css_class("auction-site-entry");
        box->append(*Gtk::make_managed<AuctionSiteSymbol>());
        box->append(*Gtk::make_managed<Gtk::Label>());
        listItem->set_child(*box);
    });
    factory->signal_bind().connect([](const Glib::RefPtr<Gtk::ListItem>& listItem) {
        const auto position = listItem->get_position();
        if (position >= std::size(kAllAuctionSites)) return;
        const AuctionSite site = kAllAuctionSites[position];
        auto* box = listItem->get_child();
        if (auto* symbol = dynamic_cast<AuctionSiteSymbol*>(box->get_first_child())) symbol->setSite(site);
        if (auto* label = dynamic_cast<Gtk::Label*>(box->get_last_child()))
            label->set_text(Glib::ustring(std::string(rawValue(site))));
    });
    return factory;
}

bool isPriceOrEmpty(const Gtk::Entry& entry) {
    return entry.get_text().empty() || numberFromPriceText(entry.get_text().raw()).has_value();
}

}  // namespace

AuctionAddForm::AuctionAddForm() : Gtk::Box(Gtk::Orientation::VERTICAL, 10) {
    set_name("auction-add-form");
    add_css_class("auction-form");

    m_site.set_name("auction-site-picker");
    m_site.set_model(siteNames());
    m_site.set_factory(siteEntryFactory());
    m_site.set_hexpand(true);
    m_site.property_selected().signal_changed().connect([this] { updateSigns(); });
    addRow("Site").append(m_site);

    setUpEntry(m_title, "auction-title-entry", "Item title");
    addRow("Title").append(m_title);
    setUpEntry(m_url, "auction-url-entry", "https://");
    addRow("URL").append(m_url);

    m_priceSign.add_css_class("auction-currency");
    m_priceSign.set_name("auction-price-sign");
    setUpEntry(m_price, "auction-price-entry", "0");
    auto& priceRow = addRow("Price");
    priceRow.append(m_priceSign);
    priceRow.append(m_price);

    addRow("Ends").append(m_endDate);

    m_maxBidSign.add_css_class("auction-currency");
    m_maxBidSign.set_name("auction-max-bid-sign");
    setUpEntry(m_maxBid, "auction-max-bid-entry", "Optional max bid");
    auto& maxRow = addRow("Max");
    maxRow.append(m_maxBidSign);
    maxRow.append(m_maxBid);

    m_problem.set_name("auction-form-problem");
    m_problem.add_css_class("auction-form-problem");
    m_problem.set_wrap(true);
    m_problem.set_xalign(0);
    m_problem.set_visible(false);
    append(m_problem);
    // Mended, or being mended: the message has said what it had to.
    for (auto* entry : {&m_price, &m_maxBid})
        entry->signal_changed().connect([this] { m_problem.set_visible(false); });

    buildButtons();
    for (auto* entry : {&m_title, &m_url, &m_price, &m_maxBid}) entry->signal_activate().connect([this] { track(); });
    cancelOnEscape(*this, [this] { m_cancelled.emit(); });
    m_title.signal_changed().connect([this] { updateTrackButton(); });
    m_url.signal_changed().connect([this] { updateTrackButton(); });
    updateSigns();
    updateTrackButton();
}

Gtk::Box& AuctionAddForm::addRow(const char* label) {
    auto* row = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 6);
    auto* name = Gtk::make_managed<Gtk::Label>(label);
    name->add_css_class("auction-form-label");
    name->set_xalign(0);
    name->set_size_request(50, -1);
    row->append(*name);
    append(*row);
    return *row;
}

void AuctionAddForm::setUpEntry(Gtk::Entry& entry, const char* name, const char* placeholder) {
    entry.set_name(name);
    entry.set_placeholder_text(placeholder);
    entry.set_has_frame(false);
    entry.add_css_class("auction-field");
    entry.set_hexpand(true);
}

void AuctionAddForm::buildButtons() {
    auto* buttons = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 8);
    buttons->set_margin_top(4);
    buttons->set_halign(Gtk::Align::CENTER);
    m_cancel.set_name("auction-cancel");
    m_cancel.set_has_frame(false);
    m_cancel.add_css_class("auction-cancel");
    m_cancel.signal_clicked().connect([this] { m_cancelled.emit(); });

    auto* content = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 4);
    auto* hammer = Gtk::make_managed<Gtk::Image>();
    hammer->set_from_icon_name(std::string(auction_symbols::kTrack));
    content->append(*hammer);
    content->append(m_trackLabel);
    m_track.set_child(*content);
    m_track.set_name("auction-track");
    m_track.add_css_class("orvel-button");
    m_track.add_css_class("small");
    m_track.signal_clicked().connect(sigc::mem_fun(*this, &AuctionAddForm::track));
    buttons->append(m_cancel);
    buttons->append(m_track);
    append(*buttons);
}

void AuctionAddForm::reset(Date endDate) {
    m_filled.reset();
    m_trackLabel.set_text("Track Auction");
    m_problem.set_visible(false);
    m_title.set_text("");
    m_url.set_text("");
    m_price.set_text("");
    m_maxBid.set_text("");
    setSite(AuctionSite::yahooAuctions);
    m_endDate.setDate(endDate);
}

void AuctionAddForm::fill(const AuctionItem& item, Date endDate) {
    FilledPrices filled{priceText(item.currentPrice), item.currentPrice, "", item.maxBidPrice};
    if (item.maxBidPrice) filled.maxBid = priceText(*item.maxBidPrice);
    m_problem.set_visible(false);
    m_title.set_text(item.title);
    m_url.set_text(item.url);
    m_price.set_text(filled.price);
    m_maxBid.set_text(filled.maxBid);
    setSite(item.site);
    m_endDate.setDate(item.endDate.value_or(endDate));
    m_filled = std::move(filled);
    m_trackLabel.set_text("Save Changes");
}

AuctionSite AuctionAddForm::site() const {
    const auto index = m_site.get_selected();
    return index < std::size(kAllAuctionSites) ? kAllAuctionSites[index] : AuctionSite::yahooAuctions;
}

void AuctionAddForm::setSite(AuctionSite site) { m_site.set_selected(static_cast<guint>(site)); }

AuctionFields AuctionAddForm::values() const {
    AuctionFields result;
    result.title = m_title.get_text();
    result.url = m_url.get_text();
    result.site = site();
    const std::string price = m_price.get_text();
    const std::string maxBid = m_maxBid.get_text();
    result.price = m_filled && price == m_filled->price ? m_filled->priceValue : numberFromPriceText(price).value_or(0.0);
    result.endDate = m_endDate.date();
    result.maxBidPrice = m_filled && maxBid == m_filled->maxBid ? m_filled->maxBidValue : numberFromPriceText(maxBid);
    return result;
}

std::string AuctionAddForm::problem() const {
    const std::string example = " (like " + priceTextExample() + ").";
    if (!isPriceOrEmpty(m_price)) return "The price is not a number" + example;
    if (!isPriceOrEmpty(m_maxBid)) return "The max bid is not a number" + example;
    return {};
}

void AuctionAddForm::track() {
    if (!m_track.get_sensitive()) return;
    const std::string why = problem();
    m_problem.set_text(why);
    m_problem.set_visible(!why.empty());
    if (why.empty()) m_trackRequested.emit(values());
}

void AuctionAddForm::updateSigns() {
    const Glib::ustring sign(std::string(currencySign(site())));
    m_priceSign.set_text(sign);
    m_maxBidSign.set_text(sign);
    m_priceSign.set_visible(!sign.empty());
    m_maxBidSign.set_visible(!sign.empty());
}

void AuctionAddForm::updateTrackButton() {
    m_track.set_sensitive(!m_title.get_text().empty() && !m_url.get_text().empty());
}

}  // namespace sarvik
