#include "stores/favorites_backups.h"

#include "core/data_directory.h"
#include "core/json.h"
#include "stores/browser_data_json.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <utility>

namespace sarvik {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kPrefix = "bookmarks-";
constexpr std::string_view kSuffix = ".json";
constexpr std::size_t kDayLength = 10;  // YYYY-MM-DD

std::string utcDay(Date date) {
    const std::time_t seconds = static_cast<std::time_t>(std::floor(date.unixTime()));
    std::tm parts{};
    gmtime_r(&seconds, &parts);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday);
    return text;
}

// The day a kept copy's name holds, or none for any other file.
std::optional<std::string> dayOf(const fs::path& file) {
    const std::string name = file.filename().string();
    if (name.size() != kPrefix.size() + kDayLength + kSuffix.size()) return std::nullopt;
    if (name.rfind(kPrefix, 0) != 0 || !name.ends_with(kSuffix)) return std::nullopt;
    const std::string day = name.substr(kPrefix.size(), kDayLength);
    for (std::size_t i = 0; i < day.size(); ++i) {
        const bool isDash = i == 4 || i == 7;
        if (isDash ? day[i] != '-' : (day[i] < '0' || day[i] > '9')) return std::nullopt;
    }
    return day;
}

Date midnightOf(const std::string& day) {
    std::tm parts{};
    parts.tm_year = std::stoi(day.substr(0, 4)) - 1900;
    parts.tm_mon = std::stoi(day.substr(5, 2)) - 1;
    parts.tm_mday = std::stoi(day.substr(8, 2));
    return Date::fromUnixTime(static_cast<double>(timegm(&parts)));
}

std::size_t favoriteCount(const std::vector<Bookmark>& bookmarks) {
    return static_cast<std::size_t>(
        std::count_if(bookmarks.begin(), bookmarks.end(), [](const Bookmark& b) { return !b.isFolder; }));
}

bool decodes(const std::string& text) {
    try {
        json::decodeBookmarks(text);
        return true;
    } catch (const json::DecodeError&) {
        return false;
    }
}

}  // namespace

FavoritesBackups::FavoritesBackups(fs::path folder, const Clock& clock, FileLayer& files)
    : m_folder(std::move(folder)), m_clock(clock), m_files(files) {
    sweepInterruptedCopies();
}

// A copy is written as the day's first save begins, so a crash can leave its
// temporary file behind: "bookmarks-YYYY-MM-DD.json.tmp-…".
void FavoritesBackups::sweepInterruptedCopies() const {
    removeStaleTemporaryFilesIn(m_folder, [](std::string_view name) { return dayOf(fs::path(name)).has_value(); });
}

std::vector<fs::path> FavoritesBackups::keptFiles() const {
    std::vector<fs::path> files;
    std::error_code error;
    for (fs::directory_iterator it(m_folder, error), end; !error && it != end; it.increment(error))
        if (dayOf(it->path()) && it->is_regular_file(error)) files.push_back(it->path());
    std::sort(files.begin(), files.end());  // the day in the name sorts by date
    return files;
}

void FavoritesBackups::noteReplacing(const fs::path& favoritesFile) {
    const std::string today = utcDay(m_clock.now());
    const auto kept = keptFiles();
    if (!kept.empty() && *dayOf(kept.back()) >= today) return;  // once a day (a clock set back keeps none either)
    const auto current = readWholeFile(favoritesFile);
    if (!current || (!kept.empty() && readWholeFile(kept.back()) == current)) return;  // nothing new to keep
    if (!decodes(*current)) return;  // a damaged file is kept aside by its store instead
    const std::string& bytes = *current;
    ensureDirectory(m_folder);
    const fs::path file = m_folder / (std::string(kPrefix) + today + std::string(kSuffix));
    removeStaleTemporaryFiles(file);
    if (writeFileAtomically(file, bytes, m_files)) return;
    removeOldest();
}

void FavoritesBackups::removeOldest() const {
    auto kept = keptFiles();
    std::error_code error;
    for (std::size_t i = 0; i + kKept < kept.size(); ++i) fs::remove(kept[i], error);
}

std::optional<std::vector<Bookmark>> FavoritesBackups::read(const FavoritesBackup& backup) const {
    const auto text = readWholeFile(backup.file);
    if (!text) return std::nullopt;
    try {
        return json::decodeBookmarks(*text);
    } catch (const json::DecodeError&) {
        return std::nullopt;
    }
}

std::vector<FavoritesBackup> FavoritesBackups::list() const {
    std::vector<FavoritesBackup> backups;
    const auto kept = keptFiles();
    for (auto it = kept.rbegin(); it != kept.rend(); ++it) {
        const std::string day = *dayOf(*it);
        FavoritesBackup backup{*it, day, midnightOf(day), 0};
        const auto bookmarks = read(backup);
        if (!bookmarks) continue;
        backup.favoriteCount = favoriteCount(*bookmarks);
        backups.push_back(std::move(backup));
    }
    return backups;
}

}  // namespace sarvik
