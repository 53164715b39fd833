#pragma once

#include "core/atomic_file.h"
#include "core/background_writer.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace sarvik {

// One data file of a store: read once at start, then replaced whole by each
// save. A file that is there but cannot be read or decoded is the user's only
// copy of what they had: before the first save would replace it, it is kept
// as "<name>.damaged-N"; while it cannot be kept (a folder in its place, say),
// saves are skipped and the changes stay in memory.
//
// A file that grows without bound (the history) is better written on a thread
// of its own (writeInBackground); its outcome still reaches StorageProblems on
// the main thread. The object waits for such a write before it goes, and
// reading waits for the writes of other objects on the same file.
class StoreFile {
public:
    StoreFile(std::filesystem::path path, FileLayer& files);
    ~StoreFile();
    StoreFile(const StoreFile&) = delete;
    StoreFile& operator=(const StoreFile&) = delete;

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

    // The same write on the file's own thread: `bytes` runs there, so it may do
    // the costly part of the encoding, and returns none when there is nothing
    // to write. A write that has not started yet is replaced by a newer one.
    // Its outcome is reported from the main loop, or by waitForWrites.
    void writeInBackground(std::function<std::optional<std::string>()> bytes);
    // Returns once the background writes handed in so far are on disk (or
    // failed), with their outcomes reported.
    void waitForWrites();

    struct Outcome {
        std::filesystem::path file;
        std::optional<std::string> failure;  // why, if the save failed
    };
    struct Outcomes;

private:
    std::optional<Outcome> attemptWrite(const std::optional<std::string>& bytes);

    std::filesystem::path m_path;
    FileLayer& m_files;
    bool m_isDamaged = false;  // once background writes start, only their thread uses it
    std::shared_ptr<Outcomes> m_outcomes;
    std::unique_ptr<BackgroundWriter> m_writer;
};

}  // namespace sarvik
