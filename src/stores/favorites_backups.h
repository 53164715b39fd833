#pragma once

#include "core/atomic_file.h"
#include "core/date.h"
#include "stores/bookmark.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sarvik {

// One kept copy of the favorites file.
struct FavoritesBackup {
    std::filesystem::path file;
    std::string day;              // "YYYY-MM-DD", the UTC day it was kept
    Date date;                    // midnight UTC of that day
    std::size_t favoriteCount = 0;  // favorites in it, folders not counted
};

// Daily copies of "bookmarks.json" in a folder of their own, so that a slip
// (deleting a full folder asks nothing) does not cost the favorites. After a
// save, the saved bytes are kept as "bookmarks-YYYY-MM-DD.json" unless a copy
// was already kept that day or the newest copy holds the same bytes; only the
// newest kKept copies stay.
class FavoritesBackups {
public:
    static constexpr std::size_t kKept = 15;

    FavoritesBackups(std::filesystem::path folder, const Clock& clock, FileLayer& files = FileLayer::system());

    // The favorites file now holds `bytes`.
    void noteSaved(std::string_view bytes);
    // Copies that can be read and decoded, newest first.
    std::vector<FavoritesBackup> list() const;
    // The favorites of one copy, or none when it can no longer be read.
    std::optional<std::vector<Bookmark>> read(const FavoritesBackup& backup) const;

    const std::filesystem::path& folder() const { return m_folder; }

private:
    // File names of the kept copies, oldest first.
    std::vector<std::filesystem::path> keptFiles() const;
    void removeOldest() const;

    std::filesystem::path m_folder;
    const Clock& m_clock;
    FileLayer& m_files;
};

}  // namespace sarvik
