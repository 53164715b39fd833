#pragma once

#include "core/browser_state.h"
#include "stores/auction_store.h"
#include "stores/manual_timer_scheduler.h"
#include "support/display/gtk_test_environment.h"
#include "support/fake_clock.h"
#include "support/temporary_directory.h"
#include "themes/preferences_css.h"
#include "views/preferences/preferences_view.h"

#include <gtkmm/cssprovider.h>
#include <gtkmm/stylecontext.h>
#include <gtkmm/window.h>
#include <gtest/gtest.h>

#include <memory>

namespace sarvik::testing {

// The shared objects a Preferences view edits, on a temporary data folder,
// a fake clock and hand-ticked timers, with the Preferences CSS installed.
class PreferencesFixture : public ::testing::Test {
protected:
    PreferencesFixture()
        : m_auctions(m_dataDir.path(), m_clock, m_timers), m_css(Gtk::CssProvider::create()) {
        m_css->signal_parsing_error().connect(
            [this](const Glib::RefPtr<const Gtk::CssSection>&, const Glib::Error&) { ++m_cssErrors; });
        m_css->load_from_data(preferencesCss(m_state.colorTheme.get()));
        Gtk::StyleContext::add_provider_for_display(Gdk::Display::get_default(), m_css,
                                                    GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    }
    ~PreferencesFixture() override {
        m_window.reset();
        Gtk::StyleContext::remove_provider_for_display(Gdk::Display::get_default(), m_css);
    }

    // Builds a fresh view in a window of the Preferences size and shows it.
    PreferencesView& openView() {
        m_window = std::make_unique<Gtk::Window>();
        m_window->set_default_size(560, 420);
        m_view = Gtk::make_managed<PreferencesView>(m_state, m_auctions);
        m_window->set_child(*m_view);
        m_window->present();
        EXPECT_TRUE(runMainLoopUntil([&] { return m_view->get_mapped() && m_view->get_width() > 0; }));
        return *m_view;
    }

    void showPage(PreferencesTab tab) {
        m_view->selectTab(tab);
        drainMainLoop();
    }

    TemporaryDirectory m_dataDir;
    FakeClock m_clock;
    ManualTimerScheduler m_timers;
    BrowserState m_state;
    AuctionStore m_auctions;
    Glib::RefPtr<Gtk::CssProvider> m_css;
    int m_cssErrors = 0;
    std::unique_ptr<Gtk::Window> m_window;
    PreferencesView* m_view = nullptr;
};

}  // namespace sarvik::testing
