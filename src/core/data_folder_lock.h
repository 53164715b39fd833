#pragma once

#include <filesystem>

namespace sarvik {

// Keeps a second browser process off a data folder the first one writes: an
// exclusive flock on a lock file inside it, held for this object's life. The
// kernel drops the lock when its process ends, so a killed browser never
// leaves a stale lock behind.
class DataFolderLock {
public:
    enum class State {
        Held,           // this process may write the folder
        HeldByAnother,  // another process holds it: do not touch a file
        Unavailable,    // no lock file can be opened (a read-only folder): saves fail on their own
    };
    static constexpr const char* kFileName = "instance.lock";

    // Never blocks: either takes the lock now or reports who has it.
    explicit DataFolderLock(const std::filesystem::path& folder);
    ~DataFolderLock();
    DataFolderLock(const DataFolderLock&) = delete;
    DataFolderLock& operator=(const DataFolderLock&) = delete;

    State state() const { return m_state; }

private:
    int m_descriptor = -1;
    State m_state = State::Unavailable;
};

}  // namespace sarvik
