#include "views/preferences/preferences_window.h"

#include "views/preferences/preferences_view.h"
#include "core/main_loop_hop.h"

#include <gtkmm/button.h>
#include <gtkmm/eventcontrollerkey.h>
#include <gtkmm/headerbar.h>
#include <gtkmm/separator.h>

#include <map>

namespace sarvik {
namespace {

constexpr int kContentWidth = 560;
constexpr int kContentHeight = 420;

std::map<const Gtk::Window*, PreferencesSheet*>& sheetsByParent() {
    static std::map<const Gtk::Window*, PreferencesSheet*> sheets;
    return sheets;
}

}  // namespace

PreferencesWindow::PreferencesWindow(BrowserState& state, AuctionStore& auctionStore)
    : m_state(state), m_auctionStore(auctionStore) {
    set_title("Preferences");
    add_css_class("preferences-window");
    set_default_size(kContentWidth, kContentHeight);
    // A title bar with the window buttons only: the pages carry their own headings.
    auto* titleBar = Gtk::make_managed<Gtk::HeaderBar>();
    titleBar->set_title_widget(*Gtk::make_managed<Gtk::Box>());
    titleBar->add_css_class("flat");
    set_titlebar(*titleBar);
    set_hide_on_close(true);
    m_hideConnection = signal_hide().connect(sigc::mem_fun(*this, &PreferencesWindow::onHidden));
}

void PreferencesWindow::open() {
    if (!m_view) {
        m_view = Gtk::make_managed<PreferencesView>(m_state, m_auctionStore);
        set_child(*m_view);
    }
    present();
}

void PreferencesWindow::onHidden() {
    // The closed window keeps no view, so the next opening starts fresh.
    unset_child();
    m_view = nullptr;
}

void PreferencesSheet::present(Gtk::Window& parent, BrowserState& state, AuctionStore& auctionStore) {
    if (auto* shown = shownOver(parent)) {
        shown->Gtk::Window::present();
        return;
    }
    // Managed: the sheet deletes itself when its window is destroyed.
    auto* sheet = Gtk::make_managed<PreferencesSheet>(parent, state, auctionStore);
    sheet->Gtk::Window::present();
}

PreferencesSheet* PreferencesSheet::shownOver(const Gtk::Window& parent) {
    const auto found = sheetsByParent().find(&parent);
    return found == sheetsByParent().end() ? nullptr : found->second;
}

PreferencesSheet::PreferencesSheet(Gtk::Window& parent, BrowserState& state, AuctionStore& auctionStore)
    : m_parent(&parent) {
    set_title("Preferences");
    add_css_class("preferences-sheet");
    set_transient_for(parent);
    set_modal(true);
    set_destroy_with_parent(true);
    set_decorated(false);
    set_default_size(kContentWidth, kContentHeight);

    auto* column = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::VERTICAL, 0);
    m_view = Gtk::make_managed<PreferencesView>(state, auctionStore);
    m_view->set_vexpand(true);
    auto* done = Gtk::make_managed<Gtk::Button>("Done");
    done->add_css_class("orvel-button");
    done->add_css_class("preferences-done");
    done->set_halign(Gtk::Align::END);
    done->set_margin(12);
    done->signal_clicked().connect(sigc::mem_fun(*this, &PreferencesSheet::closeSoon));
    column->append(*m_view);
    column->append(*Gtk::make_managed<Gtk::Separator>(Gtk::Orientation::HORIZONTAL));
    column->append(*done);
    set_child(*column);

    auto keys = Gtk::EventControllerKey::create();
    keys->set_propagation_phase(Gtk::PropagationPhase::CAPTURE);
    keys->signal_key_pressed().connect(
        [this](guint key, guint, Gdk::ModifierType) {
            if (key != GDK_KEY_Escape) return false;
            closeSoon();
            return true;
        },
        false);
    add_controller(keys);
    sheetsByParent()[m_parent] = this;
}

void PreferencesSheet::closeSoon() {
    // Closing destroys the sheet and everything in it; wait until the button
    // or key handler that asked has returned. The slot dies with the sheet.
    runSoon(sigc::mem_fun(*this, &PreferencesSheet::close));
}

PreferencesSheet::~PreferencesSheet() {
    const auto found = sheetsByParent().find(m_parent);
    if (found != sheetsByParent().end() && found->second == this) sheetsByParent().erase(found);
}

}  // namespace sarvik
