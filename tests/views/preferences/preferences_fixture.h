#pragma once

#include "core/browser_state.h"
#include "stores/auction_store.h"
#include "stores/manual_timer_scheduler.h"
#include "support/display/gtk_test_environment.h"
#include "support/display/widget_screenshot.h"
#include "support/display/widget_search.h"
#include "support/fake_clock.h"
#include "support/temporary_directory.h"
#include "views/common/theme_stylesheet.h"
#include "views/preferences/preferences_general_page.h"
#include "views/preferences/preferences_view.h"

#include <gtest/gtest.h>
#include <gtkmm/entry.h>
#include <gtkmm/window.h>

#include <memory>

namespace sarvik::testing {

// The shared objects a Preferences view edits, on a temporary data folder,
// a fake clock and hand-ticked timers, with the themes' CSS installed.
class PreferencesFixture : public ::testing::Test {
protected:
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
    static Gtk::Entry& homeField(PreferencesView& view) { return *findAll<Gtk::Entry>(view.generalPage()).front(); }
    static void press(Gtk::Widget& root, const std::string& label) { ASSERT_TRUE(click(findButton(root, label))) << label; }

    TemporaryDirectory m_dataDir;
    FakeClock m_clock;
    ManualTimerScheduler m_timers;
    BrowserState m_state;
    AuctionStore m_auctions{m_dataDir.path(), m_clock, m_timers};
    ThemeStylesheet m_css{m_state, Gdk::Display::get_default()};
    std::unique_ptr<Gtk::Window> m_window;
    PreferencesView* m_view = nullptr;
};

}  // namespace sarvik::testing
