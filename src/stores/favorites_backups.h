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
// (deleting a full folder asks nothing) does not cost the favorites. The
// day's first change keeps the file as it was before it, so a mistaken first
// change is not in the copy: "bookmarks-YYYY-MM-DD.json" holds the favorites
// as that day found them. No copy when one was already kept that day, when
// the newest copy holds the same bytes, or when the file does not decode;
// only the newest kKept copies stay.
class FavoritesBackups {
public:
    static constexpr std::size_t kKept = 15;

    FavoritesBackups(std::filesystem::path folder, const Clock& clock, FileLayer& files = FileLayer::system());

    // The favorites file is about to be replaced by a save.
    void noteReplacing(const std::filesystem::path& favoritesFile);
    // Copies that can be read and decoded, newest first.
    std::vector<FavoritesBackup> list() const;
    // The favorites of one copy, or none when it can no longer be read.
    std::optional<std::vector<Bookmark>> read(const FavoritesBackup& backup) const;

    const std::filesystem::path& folder() const { return m_folder; }

private:
    // File names of the kept copies, oldest first.
    std::vector<std::filesystem::path> keptFiles() const;
    void removeOldest() const;
    void sweepInterruptedCopies() const;

    std::filesystem::path m_folder;
    const Clock& m_clock;
    FileLayer& m_files;
};

}  // namespace sarvik
