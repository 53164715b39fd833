#pragma once

#include "core/browser_state.h"
#include "stores/auction_store.h"
#include "stores/browser_data_store.h"
#include "stores/manual_timer_scheduler.h"
#include "stores/scrapbook_store.h"
#include "support/display/gtk_test_environment.h"
#include "support/display/widget_screenshot.h"
#include "support/display/widget_search.h"
#include "support/display/x_input.h"
#include "support/fake_clock.h"
#include "support/file_helpers.h"
#include "support/temporary_directory.h"
#include "views/common/theme_stylesheet.h"
#include "views/explorer_bar/explorer_bar_view.h"

#include <gtest/gtest.h>
#include <gtkmm/entry.h>
#include <gtkmm/listview.h>
#include <gtkmm/window.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <optional>
#include <vector>

namespace sarvik::testing {

inline const Date kNoon = Date::fromUnixTime(1796558400.0);  // 2026-12-06 12:00 UTC

// The row widgets of type T a list shows now, top to bottom.
template <typename T>
std::vector<T*> shownRows(Gtk::Widget& list) {
    auto rows = findAll<T>(list, [](T& row) { return row.get_mapped(); });
    auto top = [&list](T* row) {
        double x = 0, y = 0;
        row->translate_coordinates(list, 0, 0, x, y);
        return y;
    };
    std::sort(rows.begin(), rows.end(), [&](T* a, T* b) { return top(a) < top(b); });
    return rows;
}

// The address of the pending load command; empty when none is pending.
inline std::string loadedUrl(const BrowserState& state) {
    const auto& command = state.navigationCommand.get();
    const auto* load = command ? std::get_if<NavigationCommand::Load>(&command->action) : nullptr;
    return load ? load->url.absoluteString() : std::string();
}

// The button's own "clicked" (activate() would wait for the press animation).
inline void press(Gtk::Button& button) { g_signal_emit_by_name(button.gobj(), "clicked"); }
inline void pressReturn(Gtk::Entry& field) { g_signal_emit_by_name(field.gobj(), "activate"); }
inline void activateListRow(Gtk::ListView& list, guint position) { g_signal_emit_by_name(list.gobj(), "activate", position); }

// Canned archive bytes, for tests about the lists rather than the engine.
class CannedArchiver final : public PageArchiver {
public:
    void createArchive(Completion completion) override { completion(std::string("MIME-Version: 1.0\r\n"), ""); }
};

inline void savePage(ScrapbookStore& store, const std::string& title) {
    CannedArchiver archiver;
    bool done = false;
    store.savePage(archiver, title, "http://127.0.0.1:1/" + title, [&](bool) { done = true; });
    runMainLoopUntil([&] { return done; });
}

// An explorer bar or one of its panels in a window of its own, over stores in a
// temporary folder, with the themes' CSS, a fake clock and pinned locale and zone.
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
        window.unset_child();
        drainMainLoop();
    }

    BrowserDataStore& dataStore() {
        if (!m_dataStore) m_dataStore = std::make_unique<BrowserDataStore>(directory.path(), clock);
        return *m_dataStore;
    }

    void present(Gtk::Widget& child, int width = ExplorerBarView::kWidth) {
        if (!m_css) m_css.emplace(state, Gdk::Display::get_default());
        window.set_default_size(width, 560);
        window.set_child(child);
        window.present();
        settle();
    }

    // Builds the bar (after the test has prepared the stores) and shows it.
    ExplorerBarView& showBar() {
        bar = Gtk::make_managed<ExplorerBarView>(state, dataStore(), scrapbookStore, auctionStore);
        present(*bar);
        return *bar;
    }

    template <typename Panel>
    Panel& shownPanel() {
        auto* panel = dynamic_cast<Panel*>(bar->panel());
        if (!panel) throw std::runtime_error("another panel is shown");
        return *panel;
    }

    // Lets GTK lay out and draw what changed: three painted frames.
    void settle() {
        drainMainLoop();
        runMainLoopUntil([this] { return window.get_mapped(); }, std::chrono::seconds(5));
        if (GdkFrameClock* frames = gtk_widget_get_frame_clock(GTK_WIDGET(window.gobj()))) {
            int painted = 0;
            auto onPaint = +[](GdkFrameClock*, gpointer count) { ++*static_cast<int*>(count); };
            const gulong handler = g_signal_connect(frames, "after-paint", G_CALLBACK(onPaint), &painted);
            for (int frame = 1; frame <= 3; ++frame) {
                window.queue_draw();
                runMainLoopUntil([&] { return painted >= frame; }, std::chrono::milliseconds(500));
            }
            g_signal_handler_disconnect(frames, handler);
        }
        drainMainLoop();
    }

    TemporaryDirectory directory;
    FakeClock clock;
    BrowserState state;
    ScrapbookStore scrapbookStore{directory.path(), clock};
    ManualTimerScheduler timers;
    AuctionStore auctionStore{directory.path(), clock, timers};
    Gtk::Window window;
    ExplorerBarView* bar = nullptr;  // the window's child, like each panel a test shows

private:
    std::unique_ptr<BrowserDataStore> m_dataStore;
    std::optional<ThemeStylesheet> m_css;
};

}  // namespace sarvik::testing
