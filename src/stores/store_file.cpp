#include "stores/store_file.h"

#include "core/storage_problems.h"

#include <glib.h>

#include <map>
#include <mutex>
#include <utility>
#include <vector>

namespace sarvik {
namespace fs = std::filesystem;

// Outcomes of background writes on their way to the main thread. Shared with
// the main-loop callback, which may run after the file's owner has gone.
struct StoreFile::Outcomes {
    std::mutex mutex;
    std::vector<Outcome> queue;

    // Main thread: hands every queued outcome to StorageProblems, oldest first.
    void report() {
        std::vector<Outcome> ready;
        {
            const std::lock_guard lock(mutex);
            ready.swap(queue);
        }
        for (auto& outcome : ready) {
            if (outcome.failure)
                StorageProblems::shared().saveFailed(outcome.file, std::move(*outcome.failure));
            else
                StorageProblems::shared().saveSucceeded(outcome.file);
        }
    }

    // Writer thread: queues an outcome and, for the first in the queue, asks the main loop to report.
    static void add(const std::shared_ptr<Outcomes>& outcomes, Outcome outcome) {
        {
            const std::lock_guard lock(outcomes->mutex);
            outcomes->queue.push_back(std::move(outcome));
            if (outcomes->queue.size() > 1) return;
        }
        g_idle_add_full(
            G_PRIORITY_DEFAULT,
            [](gpointer data) -> gboolean {
                (*static_cast<std::shared_ptr<Outcomes>*>(data))->report();
                return G_SOURCE_REMOVE;
            },
            new std::shared_ptr<Outcomes>(outcomes),
            [](gpointer data) { delete static_cast<std::shared_ptr<Outcomes>*>(data); });
    }
};

namespace {

// Every StoreFile of the process by path, so that a second store opened on a
// file reads it with the first one's pending writes done.
std::multimap<fs::path, StoreFile*>& openFiles() {
    static std::multimap<fs::path, StoreFile*> files;
    return files;
}

bool isPresent(const fs::path& file) {
    std::error_code error;
    return fs::exists(fs::symlink_status(file, error));
}

}  // namespace

StoreFile::StoreFile(fs::path path, FileLayer& files)
    : m_path(std::move(path)), m_files(files), m_outcomes(std::make_shared<Outcomes>()) {
    openFiles().emplace(m_path, this);
}

StoreFile::~StoreFile() {
    waitForWrites();
    auto [first, last] = openFiles().equal_range(m_path);
    for (auto it = first; it != last; ++it)
        if (it->second == this) {
            openFiles().erase(it);
            break;
        }
}

std::optional<std::string> StoreFile::read() {
    auto [first, last] = openFiles().equal_range(m_path);
    for (auto it = first; it != last; ++it)
        if (it->second != this) it->second->waitForWrites();
    auto text = readWholeFile(m_path);
    if (!text && isPresent(m_path)) m_isDamaged = true;
    return text;
}

std::optional<fs::path> StoreFile::keepDamagedAside() {
    auto kept = keepDamagedCopy(m_path, m_files);
    if (!kept) return std::nullopt;
    m_files.remove(m_path.c_str());  // left in place, the next save replaces it: the copy is safe either way
    m_isDamaged = false;
    return kept;
}

bool StoreFile::write(const std::optional<std::string>& bytes) {
    auto outcome = attemptWrite(bytes);
    if (!outcome) return false;
    const bool written = !outcome->failure;
    {
        const std::lock_guard lock(m_outcomes->mutex);
        m_outcomes->queue.push_back(std::move(*outcome));
    }
    m_outcomes->report();
    return written;
}

void StoreFile::writeInBackground(std::function<std::optional<std::string>()> bytes) {
    if (!m_writer) m_writer = std::make_unique<BackgroundWriter>();
    m_writer->submit([this, bytes = std::move(bytes)] {
        if (auto outcome = attemptWrite(bytes())) Outcomes::add(m_outcomes, std::move(*outcome));
    });
}

void StoreFile::waitForWrites() {
    if (!m_writer) return;
    m_writer->waitUntilIdle();
    m_outcomes->report();
}

std::optional<StoreFile::Outcome> StoreFile::attemptWrite(const std::optional<std::string>& bytes) {
    if (!bytes) return std::nullopt;
    if (m_isDamaged) {
        // Never overwrite the only copy of what the user had; try again at the next save.
        if (!keepDamagedCopy(m_path, m_files) && isPresent(m_path))
            return Outcome{m_path, "the unreadable file in its place cannot be kept aside"};
        m_isDamaged = false;
    }
    if (const auto error = writeFileAtomically(m_path, *bytes, m_files)) return Outcome{m_path, error->description()};
    return Outcome{m_path, std::nullopt};
}

}  // namespace sarvik
