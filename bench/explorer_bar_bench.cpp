// How fast the History panel is over a large history: 100,000 entries spread
// over 1,000 days. Measured from selecting the History tab, or from typing
// one character into "Search history...", to the next frame the window has
// painted. Runs GTK, so it needs a display (`make bench` provides one).
#include "core/browser_state.h"
#include "stores/auction_store.h"
#include "stores/browser_data_store.h"
#include "stores/scrapbook_store.h"
#include "themes/explorer_bar_css.h"
#include "views/explorer_bar/explorer_bar_view.h"
#include "views/explorer_bar/history/history_panel.h"

#include "gtk_bench_support.h"

#include <benchmark/benchmark.h>
#include <gtkmm/cssprovider.h>
#include <gtkmm/stylecontext.h>
#include <gtkmm/window.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace {

using namespace sarvik;
using bench::drain;
using bench::settle;
using bench::waitForPaint;
namespace fs = std::filesystem;

constexpr int kEntries = 100000;
constexpr int kDays = 1000;

// One explorer bar over the large history, shared by every benchmark.
struct Fixture {
    fs::path directory = fs::temp_directory_path() / ("sarvik-explorer-bench-" + std::to_string(::getpid()));
    std::unique_ptr<BrowserState> state;
    std::unique_ptr<BrowserDataStore> dataStore;
    std::unique_ptr<ScrapbookStore> scrapbook;
    std::unique_ptr<AuctionStore> auctions;
    std::unique_ptr<Gtk::Window> window;
    std::unique_ptr<ExplorerBarView> bar;

    Fixture() {
        fs::create_directories(directory);
        bench::writeHistory(directory / "history.json", kEntries, kDays, 3);
        state = std::make_unique<BrowserState>();
        dataStore = std::make_unique<BrowserDataStore>(directory);
        scrapbook = std::make_unique<ScrapbookStore>(directory);
        auctions = std::make_unique<AuctionStore>(directory);
        auto css = Gtk::CssProvider::create();
        css->load_from_data(explorerBarCss(state->colorTheme));
        Gtk::StyleContext::add_provider_for_display(Gdk::Display::get_default(), css,
                                                    GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
        window = std::make_unique<Gtk::Window>();
        window->set_default_size(ExplorerBarView::kWidth, 800);
        bar = std::make_unique<ExplorerBarView>(*state, *dataStore, *scrapbook, *auctions);
        window->set_child(*bar);
        window->present();
        waitForPaint(*window);
        drain();
    }
    ~Fixture() {
        window->destroy();
        drain();
        fs::remove_all(directory);
    }
    HistoryPanel& history() { return *dynamic_cast<HistoryPanel*>(bar->panel()); }
};

Fixture& fixture() {
    static Fixture instance;
    return instance;
}

void BM_OpenHistoryTab(benchmark::State& run) {
    auto& f = fixture();
    for (auto _ : run) {
        run.PauseTiming();
        f.state->selectedExplorerTab = ExplorerBarTab::favorites;
        waitForPaint(*f.window);
        settle();
        drain();
        run.ResumeTiming();
        f.state->selectedExplorerTab = ExplorerBarTab::history;
        waitForPaint(*f.window);
    }
    run.counters["entries"] = kEntries;
}
BENCHMARK(BM_OpenHistoryTab)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

// One character typed into the empty field: "7" matches about a fifth of the
// entries, "e" every one of them (all addresses end in ".example").
void BM_SearchKeystroke(benchmark::State& run, const char* character, bool settled) {
    auto& f = fixture();
    f.state->selectedExplorerTab = ExplorerBarTab::history;
    waitForPaint(*f.window);
    for (auto _ : run) {
        run.PauseTiming();
        if (!f.history().searchField().get_text().empty()) {  // an unchanged field would paint nothing
            f.history().searchField().set_text("");
            waitForPaint(*f.window);
        }
        if (settled) settle();
        drain();
        run.ResumeTiming();
        f.history().searchField().set_text(character);
        waitForPaint(*f.window);
    }
    run.counters["rows"] = static_cast<double>(f.history().rowCount());
}
// The floor under both: the same window relaid and repainted with nothing changed.
void BM_RelayoutWithoutChange(benchmark::State& run) {
    auto& f = fixture();
    f.state->selectedExplorerTab = ExplorerBarTab::history;
    waitForPaint(*f.window);
    for (auto _ : run) {
        run.PauseTiming();
        settle();
        drain();
        run.ResumeTiming();
        f.history().listView().queue_resize();
        waitForPaint(*f.window);
    }
}
BENCHMARK(BM_RelayoutWithoutChange)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

BENCHMARK_CAPTURE(BM_SearchKeystroke, some_match, "7", true)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK_CAPTURE(BM_SearchKeystroke, all_match, "e", true)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
// Typed right after the previous frame: adds the wait for the frame clock's next slot.
BENCHMARK_CAPTURE(BM_SearchKeystroke, some_match_right_after_a_frame, "7", false)
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

}  // namespace

int main(int argc, char** argv) {
    setenv("TZ", "UTC", 1);
    UErrorCode status = U_ZERO_ERROR;
    icu::Locale::setDefault(icu::Locale("en_US"), status);
    icu::TimeZone::adoptDefault(icu::TimeZone::createTimeZone("UTC"));
    return sarvik::bench::runWithApplication(argc, argv, "org.sarvikbrowser.SarvikBrowser.Bench");
}
