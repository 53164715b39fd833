#pragma once

#include "core/browser_state.h"
#include "stores/auction_store.h"
#include "stores/browser_data_store.h"
#include "stores/manual_timer_scheduler.h"
#include "stores/scrapbook_store.h"
#include "support/display/gtk_test_environment.h"
#include "support/display/widget_screenshot.h"
#include "support/fake_clock.h"
#include "support/temporary_directory.h"
#include "themes/explorer_bar_css.h"
#include "views/explorer_bar/explorer_bar_view.h"

#include <gtest/gtest.h>
#include <gtkmm/button.h>
#include <gtkmm/cssprovider.h>
#include <gtkmm/entry.h>
#include <gtkmm/listview.h>
#include <gtkmm/stylecontext.h>
#include <gtkmm/window.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

namespace sarvik::testing {

// 2026-12-06 12:00 UTC.
inline const Date kNoon = Date::fromUnixTime(1796558400.0);

// Widgets of type T under `root`, depth first.
template <typename T>
void collectWidgets(Gtk::Widget& root, std::vector<T*>& found) {
    for (auto* child = root.get_first_child(); child; child = child->get_next_sibling()) {
        if (auto* match = dynamic_cast<T*>(child)) found.push_back(match);
        collectWidgets(*child, found);
    }
}

// The row widgets a list view shows now, top to bottom.
template <typename T>
std::vector<T*> shownRows(Gtk::ListView& list) {
    std::vector<T*> rows;
    collectWidgets(list, rows);
    std::erase_if(rows, [](T* row) { return !row->get_mapped(); });
    auto top = [&list](T* row) {
        double x = 0, y = 0;
        gtk_widget_translate_coordinates(GTK_WIDGET(row->gobj()), GTK_WIDGET(list.gobj()), 0, 0, &x, &y);
        return y;
    };
    std::sort(rows.begin(), rows.end(), [&](T* a, T* b) { return top(a) < top(b); });
    return rows;
}

// The address of the pending load command; empty when none is pending.
inline std::string loadedUrl(const BrowserState& state) {
    const auto& command = state.navigationCommand.get();
    if (!command) return {};
    const auto* load = std::get_if<NavigationCommand::Load>(&command->action);
    return load ? load->url.absoluteString() : std::string();
}

// A button press as the button's own "clicked" signal (activate() would wait
// for the press animation).
inline void click(Gtk::Button& button) { g_signal_emit_by_name(button.gobj(), "clicked"); }

// Return in a field.
inline void pressReturn(Gtk::Entry& field) { g_signal_emit_by_name(field.gobj(), "activate"); }

inline void activateListRow(Gtk::ListView& list, guint position) {
    g_signal_emit_by_name(list.gobj(), "activate", position);
}

// Queues a redraw and runs the main loop until the frame clock has painted.
inline void waitForDrawnFrame(Gtk::Widget& widget) {
    GdkFrameClock* frameClock = gtk_widget_get_frame_clock(GTK_WIDGET(widget.gobj()));
    if (!frameClock) return;
    bool drawn = false;
    auto onPaint = +[](GdkFrameClock*, gpointer flag) { *static_cast<bool*>(flag) = true; };
    const gulong handler = g_signal_connect(frameClock, "after-paint", G_CALLBACK(onPaint), &drawn);
    widget.queue_draw();
    runMainLoopUntil([&] { return drawn; }, std::chrono::milliseconds(500));
    g_signal_handler_disconnect(frameClock, handler);
}

// An explorer bar in a window of its own, over stores in a temporary folder,
// with the locale and time zone pinned so dates read the same everywhere.
class ExplorerBarTest : public ::testing::Test {
protected:
    ExplorerBarTest() {
        setenv("TZ", "UTC", 1);
        UErrorCode status = U_ZERO_ERROR;
        icu::Locale::setDefault(icu::Locale("en_US"), status);
        icu::TimeZone::adoptDefault(icu::TimeZone::createTimeZone("UTC"));
        clock.set(kNoon);
    }

    ~ExplorerBarTest() override {
        if (window) window->destroy();
        if (m_css) Gtk::StyleContext::remove_provider_for_display(Gdk::Display::get_default(), m_css);
        drainMainLoop();
    }

    BrowserDataStore& dataStore() {
        if (!m_dataStore) m_dataStore = std::make_unique<BrowserDataStore>(directory.path(), clock);
        return *m_dataStore;
    }

    // Builds the bar (after the test has prepared the stores) and shows it.
    ExplorerBarView& showBar(OrvelColorTheme theme = OrvelColorTheme::blueberry) {
        state.colorTheme = theme;
        m_css = Gtk::CssProvider::create();
        m_css->load_from_data(explorerBarCss(theme));
        Gtk::StyleContext::add_provider_for_display(Gdk::Display::get_default(), m_css,
                                                    GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
        window = std::make_unique<Gtk::Window>();
        window->set_default_size(ExplorerBarView::kWidth, 560);
        bar = std::make_unique<ExplorerBarView>(state, dataStore(), scrapbookStore, auctionStore);
        window->set_child(*bar);
        window->present();
        settle();
        return *bar;
    }

    // Lets GTK lay out and draw what changed.
    void settle() {
        drainMainLoop();
        runMainLoopUntil([this] { return window && window->get_mapped(); }, std::chrono::seconds(5));
        for (int frame = 0; frame < 3; ++frame) waitForDrawnFrame(*window);
        drainMainLoop();
    }

    TemporaryDirectory directory;
    FakeClock clock;
    BrowserState state;
    ScrapbookStore scrapbookStore{directory.path()};
    ManualTimerScheduler timers;
    AuctionStore auctionStore{directory.path(), clock, timers};
    std::unique_ptr<Gtk::Window> window;
    std::unique_ptr<ExplorerBarView> bar;

private:
    std::unique_ptr<BrowserDataStore> m_dataStore;
    Glib::RefPtr<Gtk::CssProvider> m_css;
};

}  // namespace sarvik::testing
