#pragma once

#include "core/published.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace sarvik {

enum class DownloadState { running, finished, failed, cancelled };

struct DownloadRecord {
    std::uint64_t id = 0;
    std::string fileName;        // as shown; the final file's name once finished
    std::filesystem::path file;  // where it will be (running) or is (finished)
    DownloadState state = DownloadState::running;
    double progress = 0;         // 0...1
    std::string failure;         // why a failed download failed

    friend bool operator==(const DownloadRecord&, const DownloadRecord&) = default;
};

// The downloads of this session, oldest first, for the status bar and its
// list. Only the newest kKept stay (running ones are never dropped). Records
// change only through these operations; an unknown id, or a download that has
// already ended, changes nothing.
class DownloadList {
public:
    static constexpr std::size_t kKept = 50;

    const Published<std::vector<DownloadRecord>>& downloads() const { return m_downloads; }

    std::uint64_t start(std::string fileName, std::filesystem::path file);
    void setProgress(std::uint64_t id, double progress);
    void finish(std::uint64_t id, const std::filesystem::path& file);
    void fail(std::uint64_t id, std::string failure);
    void cancel(std::uint64_t id);
    // Drops the downloads that have ended.
    void clearEnded();

    std::optional<DownloadRecord> find(std::uint64_t id) const;
    std::size_t runningCount() const;
    // The running downloads' mean progress, or none while none runs.
    std::optional<double> runningProgress() const;

private:
    void end(std::uint64_t id, DownloadState state, std::string failure);
    void dropOldEnded(std::vector<DownloadRecord>& all) const;

    std::uint64_t m_nextId = 1;
    Published<std::vector<DownloadRecord>> m_downloads;
};

// "Finished", "Failed: <why>", "Cancelled", or the percentage of a running one ("45%").
std::string downloadStateText(const DownloadRecord& record);

// The running downloads in a few words: the oldest running one's name, with
// "+N" for the N others ("report.bin +2"); empty while none runs.
std::string runningDownloadsText(const std::vector<DownloadRecord>& downloads);

}  // namespace sarvik
