#pragma once

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace sarvik {

// Where a download goes in its folder: the sanitized suggested name, numbered
// ("name (1).ext", ...) while the folder holds a file (or a partial file)
// under it or another running download has already chosen it.
std::string chooseDownloadName(std::string_view suggested, const std::filesystem::path& folder,
                               const std::set<std::string>& chosenByOthers);

// Renames `from` to `to` only if nothing is at `to` (atomically where the file
// system can; a link then an unlink where it cannot). `exists` when something
// already is there; `failed` for any other error.
enum class MoveResult { moved, exists, failed };
MoveResult moveWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& to);

// Moves a completed partial file to its final name in `folder`: `wantedName`
// if still free, else the next free numbered name (free again as checked at
// the moment of the move; an existing file is never replaced). The final path,
// or none if the file could not be moved (it stays where it was).
std::optional<std::filesystem::path> moveDownloadIntoPlace(const std::filesystem::path& partial,
                                                           const std::filesystem::path& folder,
                                                           const std::string& wantedName,
                                                           const std::set<std::string>& chosenByOthers);

}  // namespace sarvik
