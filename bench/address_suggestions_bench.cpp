// How fast the address field's suggestions follow the keyboard over a large
// history: 100,000 entries spread over 1,000 days, and 60 favorites. Measured
// for the ranking alone, and from one character typed into the address field
// to the next frame the suggestion list has painted. Runs GTK, so it needs a
// display (`make bench` provides one).
#include "core/browser_state.h"
#include "stores/address_suggestions.h"
#include "stores/browser_data_store.h"
#include "views/common/theme_stylesheet.h"
#include "views/toolbar/address_field.h"

#include "gtk_bench_support.h"

#include <benchmark/benchmark.h>
#include <gtkmm/window.h>

#include <filesystem>
#include <memory>
#include <string>

namespace {

using namespace sarvik;
using bench::drain;
using bench::waitForPaint;
namespace fs = std::filesystem;

constexpr int kEntries = 100000;
constexpr int kDays = 1000;
constexpr int kFavorites = 60;

// One address field over the large history, shared by every benchmark.
struct Fixture {
    fs::path directory = fs::temp_directory_path() / ("sarvik-suggestions-bench-" + std::to_string(::getpid()));
    std::unique_ptr<BrowserState> state;
    std::unique_ptr<BrowserDataStore> dataStore;
    std::unique_ptr<ThemeStylesheet> stylesheet;
    std::unique_ptr<Gtk::Window> window;
    std::unique_ptr<AddressField> field;

    Fixture() {
        fs::create_directories(directory);
        bench::writeHistory(directory / "history.json", kEntries, kDays, 7);
        state = std::make_unique<BrowserState>();
        dataStore = std::make_unique<BrowserDataStore>(directory);
        // Named so that they share in a few results without filling the list.
        for (int i = 0; i < kFavorites; ++i) {
            const std::string name{'p', 'i', 'n', '-', static_cast<char>('a' + i % 26), static_cast<char>('a' + i / 26)};
            dataStore->addBookmark(name, "https://" + name + ".org/", std::nullopt);
        }
        stylesheet = std::make_unique<ThemeStylesheet>(*state, Gdk::Display::get_default());
        window = std::make_unique<Gtk::Window>();
        window->set_default_size(900, 400);
        field = std::make_unique<AddressField>(*state);
        field->offerSuggestions(*dataStore);
        field->set_valign(Gtk::Align::START);
        window->set_child(*field);
        window->present();
        waitForPaint(*window);
        field->entry().grab_focus();
        drain();
    }
    ~Fixture() {
        window->unset_child();
        field.reset();
        window->destroy();
        drain();
        fs::remove_all(directory);
    }
};

Fixture& fixture() {
    static Fixture instance;
    return instance;
}

// The ranking alone: the suggestions for `typed` right after those for `previous`.
void BM_RankKeystroke(benchmark::State& run, const char* previous, const char* typed) {
    auto& f = fixture();
    AddressSuggestions suggestions(*f.dataStore);
    suggestions.prepare();
    std::size_t found = 0;
    for (auto _ : run) {
        run.PauseTiming();
        suggestions.suggestionsFor(previous);
        run.ResumeTiming();
        found = suggestions.suggestionsFor(typed).size();
    }
    run.counters["shown"] = static_cast<double>(found);
    run.counters["entries"] = static_cast<double>(f.dataStore->history()->size());
}

// Lowering the whole history, once, when the field first takes the focus.
void BM_BuildIndex(benchmark::State& run) {
    auto& f = fixture();
    for (auto _ : run) {
        AddressSuggestions suggestions(*f.dataStore);
        suggestions.prepare();
    }
}
BENCHMARK(BM_BuildIndex)->Iterations(10)->UseRealTime()->Unit(benchmark::kMillisecond);

// A keystroke right after a page visit changed one entry: the index catches up first.
void BM_RankAfterAVisit(benchmark::State& run) {
    auto& f = fixture();
    AddressSuggestions suggestions(*f.dataStore);
    suggestions.prepare();
    int visit = 0;
    for (auto _ : run) {
        run.PauseTiming();
        const int page = (visit++ * 7919) % kEntries;
        f.dataStore->recordVisit("Revisited page " + std::to_string(page),
                                 "https://site" + std::to_string(page % 997) + ".example/page/" + std::to_string(page));
        run.ResumeTiming();
        benchmark::DoNotOptimize(suggestions.suggestionsFor("7"));
    }
}
BENCHMARK(BM_RankAfterAVisit)->Iterations(30)->UseRealTime()->Unit(benchmark::kMillisecond);

// The whole keystroke: the field's text grows from `previous` to `typed` (as
// typing one character does) and the list is ranked, rebuilt and painted.
void BM_KeystrokeToRedrawnList(benchmark::State& run, const char* previous, const char* typed) {
    auto& f = fixture();
    auto& list = *f.field->suggestions();
    for (auto _ : run) {
        run.PauseTiming();
        f.field->entry().set_text(previous);
        waitForPaint(list.isOpen() ? static_cast<Gtk::Widget&>(list) : *f.window);
        drain();
        run.ResumeTiming();
        f.field->entry().set_text(typed);
        waitForPaint(list.isOpen() ? static_cast<Gtk::Widget&>(list) : *f.window);
    }
    run.counters["shown"] = static_cast<double>(list.isOpen() ? list.shown().size() : 0);
}

// "7" matches about a third of the entries, "e" every entry and three
// favorites, "site12" after "site1" narrows the previous matches, "zq"
// matches nothing.
#define SUGGESTION_CASES(bench, iterations)                                                \
    BENCHMARK_CAPTURE(bench, first_some_match, "", "7")->Iterations(iterations)->UseRealTime()->Unit(benchmark::kMillisecond);   \
    BENCHMARK_CAPTURE(bench, first_all_match, "", "e")->Iterations(iterations)->UseRealTime()->Unit(benchmark::kMillisecond);    \
    BENCHMARK_CAPTURE(bench, narrowing, "site1", "site12")->Iterations(iterations)->UseRealTime()->Unit(benchmark::kMillisecond); \
    BENCHMARK_CAPTURE(bench, widening, "site12", "site1")->Iterations(iterations)->UseRealTime()->Unit(benchmark::kMillisecond);  \
    BENCHMARK_CAPTURE(bench, no_match, "z", "zq")->Iterations(iterations)->UseRealTime()->Unit(benchmark::kMillisecond)

SUGGESTION_CASES(BM_RankKeystroke, 100);
SUGGESTION_CASES(BM_KeystrokeToRedrawnList, 30);

}  // namespace

int main(int argc, char** argv) {
    return sarvik::bench::runWithApplication(argc, argv, "org.sarvikbrowser.SarvikBrowser.SuggestionsBench");
}
