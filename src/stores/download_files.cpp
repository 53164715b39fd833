#include "stores/download_files.h"

#include "stores/download_names.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace sarvik {
namespace {

namespace fs = std::filesystem;

// Anything there, a dangling link included, takes the name.
bool occupied(const fs::path& path) {
    std::error_code error;
    return fs::symlink_status(path, error).type() != fs::file_type::not_found;
}

// Attempts before giving up when other writers keep taking the next free name.
constexpr int kMoveAttempts = 100;

}  // namespace

std::string chooseDownloadName(std::string_view suggested, const fs::path& folder,
                               const std::set<std::string>& chosenByOthers) {
    return uniqueDownloadName(sanitizedDownloadName(suggested), [&](const std::string& name) {
        return chosenByOthers.count(name) > 0 || occupied(folder / name) || occupied(folder / partialDownloadName(name));
    });
}

MoveResult moveWithoutReplacing(const fs::path& from, const fs::path& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return MoveResult::moved;
    if (errno == EEXIST) return MoveResult::exists;
    if (errno != EINVAL && errno != ENOSYS) return MoveResult::failed;
    // File systems without the flag: a hard link is just as exclusive.
    if (::link(from.c_str(), to.c_str()) == 0) {
        ::unlink(from.c_str());
        return MoveResult::moved;
    }
    return errno == EEXIST ? MoveResult::exists : MoveResult::failed;
}

std::optional<fs::path> moveDownloadIntoPlace(const fs::path& partial, const fs::path& folder,
                                              const std::string& wantedName,
                                              const std::set<std::string>& chosenByOthers) {
    std::set<std::string> found;  // names that turned out taken at the move
    for (int attempt = 0; attempt < kMoveAttempts; ++attempt) {
        const std::string name = uniqueDownloadName(wantedName, [&](const std::string& candidate) {
            return found.count(candidate) > 0 || chosenByOthers.count(candidate) > 0 || occupied(folder / candidate);
        });
        const fs::path target = folder / name;
        switch (moveWithoutReplacing(partial, target)) {
        case MoveResult::moved: return target;
        case MoveResult::exists: found.insert(name); break;
        case MoveResult::failed: return std::nullopt;
        }
    }
    return std::nullopt;
}

}  // namespace sarvik
