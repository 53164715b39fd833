// Costs of the favorites and history store as the history grows: opening it
// from disk, one visit (including the whole-file write), one search and the
// grouping by day. Run with --benchmark_counters_tabular=true.
#include "stores/browser_data_json.h"
#include "stores/browser_data_store.h"

#include <benchmark/benchmark.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace sarvik {
namespace {

namespace fs = std::filesystem;

constexpr const char* kWords[] = {"News",    "Weather", "Recipes", "Travel", "Science", "Football", "Music",
                                  "Movies",  "Review",  "Guide",   "Linux",  "Garden",  "History",  "Market",
                                  "Finance", "Health",  "Design",  "Photo",  "Cars",    "Books"};
constexpr const char* kWideTitles[] = {"Über die Straße", "東京の天気", "Ελληνικά νέα", "Café crème à Paris"};
constexpr int kWordCount = sizeof kWords / sizeof *kWords;

// A history like a few years of browsing: mostly ASCII titles, a few in other
// scripts, long addresses, visits spread over about two years in list order
// with some later revisits. About 200 bytes an entry, like real files.
std::vector<HistoryItem> sampleHistory(std::size_t count) {
    std::mt19937 random(42);
    std::vector<HistoryItem> history;
    history.reserve(count);
    const double start = 780000000.0;
    const double spacing = 2.0 * 365 * 86400 / static_cast<double>(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::string a = kWords[random() % kWordCount], b = kWords[random() % kWordCount];
        std::string title = a + " and " + b + ": the " + b + " page, part " + std::to_string(i);
        if (random() % 20 == 0) title = std::string(kWideTitles[random() % 4]) + " " + std::to_string(i);
        std::string url = "https://www.site" + std::to_string(random() % 5000) + ".example/" + a + "/" + b +
                          "/article-" + std::to_string(i) + "?ref=home";
        double visited = start + spacing * static_cast<double>(i) + (random() % 1000) / 7.0;
        if (random() % 10 == 0) visited += (random() % 30) * 86400.0;
        history.push_back({Uuid::random(), title, url, Date{visited}, 1 + static_cast<std::int64_t>(random() % 40)});
    }
    return history;
}

// A data folder holding the sample history and the first-run favorites.
class SampleFolder {
public:
    explicit SampleFolder(std::size_t entries) {
        char pattern[] = "/tmp/sarvik-bench-XXXXXX";
        m_path = ::mkdtemp(pattern);
        m_urls.reserve(entries);
        const auto history = sampleHistory(entries);
        for (const auto& item : history) m_urls.push_back(item.url);
        std::ofstream(m_path / "history.json", std::ios::binary) << *json::encodeHistory(history);
        BrowserDataStore favorites(m_path);  // writes the first-run favorites
    }
    ~SampleFolder() { fs::remove_all(m_path); }
    const fs::path& path() const { return m_path; }
    const std::string& url(std::size_t i) const { return m_urls[i % m_urls.size()]; }

private:
    fs::path m_path;
    std::vector<std::string> m_urls;
};

void pinLocale() {
    UErrorCode status = U_ZERO_ERROR;
    icu::Locale::setDefault(icu::Locale("en_US"), status);
    icu::TimeZone::adoptDefault(icu::TimeZone::createTimeZone("Europe/Berlin"));
}

void addEntries(benchmark::State& state, const SampleFolder& folder) {
    state.counters["entries"] = static_cast<double>(state.range(0));
    state.counters["file_MB"] = static_cast<double>(fs::file_size(folder.path() / "history.json")) / 1e6;
}

void BM_ConstructFromDisk(benchmark::State& state) {
    const SampleFolder folder(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        BrowserDataStore store(folder.path());
        benchmark::DoNotOptimize(store.history()->data());
    }
    addEntries(state, folder);
}

// A revisit of an address somewhere in the list, as the main thread spends it:
// scan, update, encode one piece; the write runs on the history file's thread.
void BM_RecordVisit(benchmark::State& state) {
    const SampleFolder folder(static_cast<std::size_t>(state.range(0)));
    BrowserDataStore store(folder.path());
    std::size_t next = 0;
    for (auto _ : state) store.recordVisit("Revisited page", folder.url(next += 7919));
    addEntries(state, folder);
}

// A new address: a full scan and an append, then the write.
void BM_RecordVisitNewAddress(benchmark::State& state) {
    const SampleFolder folder(static_cast<std::size_t>(state.range(0)));
    BrowserDataStore store(folder.path());
    std::size_t next = 0;
    for (auto _ : state) store.recordVisit("A new page", "https://new.example/page-" + std::to_string(next++));
    addEntries(state, folder);
}

// A revisit until it is on disk: the main thread's part and the writer's join,
// write and flushes. Bounds how long a visit can wait for the disk.
void BM_RecordVisitUntilOnDisk(benchmark::State& state) {
    const SampleFolder folder(static_cast<std::size_t>(state.range(0)));
    BrowserDataStore store(folder.path());
    std::size_t next = 0;
    for (auto _ : state) {
        store.recordVisit("Revisited page", folder.url(next += 7919));
        store.waitForSaves();
    }
    addEntries(state, folder);
}

// One word typed into the History panel's search; matches a few per cent.
void BM_SearchHistory(benchmark::State& state) {
    const SampleFolder folder(static_cast<std::size_t>(state.range(0)));
    BrowserDataStore store(folder.path());
    std::size_t matches = 0;
    for (auto _ : state) {
        auto result = store.searchHistory("garden and");
        matches = result.size();
        benchmark::DoNotOptimize(result.data());
    }
    state.counters["matches"] = static_cast<double>(matches);
    addEntries(state, folder);
}

// The first search after start also lowers every title and address once.
void BM_SearchHistoryFirstAfterStart(benchmark::State& state) {
    const SampleFolder folder(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto store = std::make_unique<BrowserDataStore>(folder.path());
        state.ResumeTiming();
        benchmark::DoNotOptimize(store->searchHistory("garden and").data());
        state.PauseTiming();
        store.reset();
        state.ResumeTiming();
    }
    addEntries(state, folder);
}

void BM_GroupedHistory(benchmark::State& state) {
    pinLocale();
    const SampleFolder folder(static_cast<std::size_t>(state.range(0)));
    BrowserDataStore store(folder.path());
    std::size_t days = 0;
    for (auto _ : state) {
        auto groups = store.groupedHistory();
        days = groups.size();
        benchmark::DoNotOptimize(groups.data());
    }
    state.counters["days"] = static_cast<double>(days);
    addEntries(state, folder);
}

#define SARVIK_SIZES ->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_ConstructFromDisk) SARVIK_SIZES;
BENCHMARK(BM_RecordVisit) SARVIK_SIZES;
BENCHMARK(BM_RecordVisitNewAddress) SARVIK_SIZES;
BENCHMARK(BM_RecordVisitUntilOnDisk) SARVIK_SIZES;
BENCHMARK(BM_SearchHistory) SARVIK_SIZES;
BENCHMARK(BM_SearchHistoryFirstAfterStart) SARVIK_SIZES;
BENCHMARK(BM_GroupedHistory) SARVIK_SIZES;

}  // namespace
}  // namespace sarvik
