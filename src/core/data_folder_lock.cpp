#include "core/data_folder_lock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace sarvik {

namespace {

int openLockFile(const std::filesystem::path& file) {
    const int flags = O_CLOEXEC | O_NOFOLLOW | O_NOCTTY;
    int descriptor = ::open(file.c_str(), O_RDWR | O_CREAT | flags, 0600);
    // A folder the user made read-only may still hold a lock file from before; flock needs no write access.
    if (descriptor < 0) descriptor = ::open(file.c_str(), O_RDONLY | flags);
    return descriptor;
}

}  // namespace

DataFolderLock::DataFolderLock(const std::filesystem::path& folder) {
    m_descriptor = openLockFile(folder / kFileName);
    if (m_descriptor < 0) return;
    int result;
    do result = ::flock(m_descriptor, LOCK_EX | LOCK_NB);
    while (result != 0 && errno == EINTR);
    if (result == 0) {
        m_state = State::Held;
        return;
    }
    m_state = errno == EWOULDBLOCK ? State::HeldByAnother : State::Unavailable;
    ::close(m_descriptor);
    m_descriptor = -1;
}

DataFolderLock::~DataFolderLock() {
    if (m_descriptor >= 0) ::close(m_descriptor);
}

}  // namespace sarvik
