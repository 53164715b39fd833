#pragma once

#include "core/atomic_file.h"

#include <filesystem>
#include <optional>
#include <string>

namespace sarvik {

// One data file of a store: read once at start, then replaced whole by each
// save. A file that is there but cannot be read or decoded is the user's only
// copy of what they had: before the first save would replace it, it is kept
// as "<name>.damaged-N"; while it cannot be kept (a folder in its place, say),
// saves are skipped and the changes stay in memory.
class StoreFile {
public:
    StoreFile(std::filesystem::path path, FileLayer& files);

    const std::filesystem::path& path() const { return m_path; }
    FileLayer& files() const { return m_files; }

    // The whole file, or none when it is missing or unreadable; a file that is
    // present but unreadable is marked damaged.
    std::optional<std::string> read();
    // The bytes did not decode.
    void markDamaged() { m_isDamaged = true; }
    bool isDamaged() const { return m_isDamaged; }
    // Moves a damaged file out of the way now rather than at the next save:
    // keeps it as "<name>.damaged-N" and takes its name away, so the next start
    // finds no file. Returns the kept name, or none if it could not be kept.
    std::optional<std::filesystem::path> keepDamagedAside();

    // Replaces the file with `bytes` (none: nothing writable, nothing done).
    // Returns whether the file now holds them.
    bool write(const std::optional<std::string>& bytes);

private:
    std::filesystem::path m_path;
    FileLayer& m_files;
    bool m_isDamaged = false;
};

}  // namespace sarvik
