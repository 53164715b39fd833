#include "store_kinds.h"

#include "stores/auction_store.h"
#include "stores/browser_data_store.h"
#include "stores/scrapbook_store.h"

#include <chrono>

namespace sarvik::testing {
namespace {

bool isTestTitle(const std::string& title) { return title.rfind("item-", 0) == 0; }

template <typename List>
std::vector<std::string> titlesOf(const List& list) {
    std::vector<std::string> titles;
    for (const auto& entry : list)
        if (isTestTitle(entry.title)) titles.push_back(entry.title);
    return titles;
}

std::string nextTitle(const StoreKind& kind) { return "item-" + std::to_string(kind.itemTitles().size()); }

class Favorites final : public StoreKind {
public:
    Favorites(const std::filesystem::path& dir, FileLayer& files) : m_store(dir, SystemClock::instance(), files) {}
    std::vector<std::string> itemTitles() const override { return titlesOf(m_store.bookmarks().get()); }
    void addNext() override { m_store.addBookmark(nextTitle(*this), "https://example.com/", std::nullopt); }
    std::filesystem::path file() const override { return m_store.bookmarksFile(); }

private:
    BrowserDataStore m_store;
};

class History final : public StoreKind {
public:
    History(const std::filesystem::path& dir, FileLayer& files) : m_store(dir, SystemClock::instance(), files) {}
    std::vector<std::string> itemTitles() const override { return titlesOf(m_store.history().get()); }
    void addNext() override {
        const std::string title = nextTitle(*this);
        m_store.recordVisit(title, "https://example.com/" + title);
        m_store.waitForSaves();
    }
    std::filesystem::path file() const override { return m_store.historyFile(); }

private:
    BrowserDataStore m_store;
};

class Scrapbook final : public StoreKind {
public:
    Scrapbook(const std::filesystem::path& dir, FileLayer& files) : m_store(dir, SystemClock::instance(), files) {}
    std::vector<std::string> itemTitles() const override { return titlesOf(m_store.folders().get()); }
    void addNext() override { m_store.addFolder(nextTitle(*this)); }
    std::filesystem::path file() const override { return m_store.metadataFile(); }

private:
    ScrapbookStore m_store;
};

// The refresh timer never ticks here: only the test's own saves write the file.
class NoTimers final : public TimerScheduler {
public:
    std::unique_ptr<RepeatingTimer> startRepeating(std::chrono::seconds, std::function<void()>) override {
        return nullptr;
    }
};

class Auctions final : public StoreKind {
public:
    Auctions(const std::filesystem::path& dir, FileLayer& files)
        : m_store(dir, SystemClock::instance(), m_timers, files) {}
    std::vector<std::string> itemTitles() const override { return titlesOf(m_store.items().get()); }
    void addNext() override {
        m_store.addItem(nextTitle(*this), "https://example.com/", AuctionSite::custom, 1.0, Date{1e9}, std::nullopt);
    }
    std::filesystem::path file() const override { return m_store.metadataFile(); }

private:
    NoTimers m_timers;
    AuctionStore m_store;
};

}  // namespace

std::unique_ptr<StoreKind> openStoreKind(const std::string& kind, const std::filesystem::path& dir, FileLayer& files) {
    if (kind == "favorites") return std::make_unique<Favorites>(dir, files);
    if (kind == "history") return std::make_unique<History>(dir, files);
    if (kind == "scrapbook") return std::make_unique<Scrapbook>(dir, files);
    if (kind == "auctions") return std::make_unique<Auctions>(dir, files);
    return nullptr;
}

std::string storeFileName(const std::string& kind) {
    if (kind == "favorites") return "bookmarks.json";
    if (kind == "history") return "history.json";
    if (kind == "scrapbook") return "scrapbook.json";
    return "auctions.json";
}

}  // namespace sarvik::testing
