#include "stores/download_list.h"

#include <algorithm>
#include <cmath>

namespace sarvik {

std::uint64_t DownloadList::start(std::string fileName, std::filesystem::path file) {
    const auto id = m_nextId++;
    m_downloads.modify([&](std::vector<DownloadRecord>& all) {
        all.push_back({id, std::move(fileName), std::move(file), DownloadState::running, 0, {}});
        dropOldEnded(all);
    });
    return id;
}

void DownloadList::setProgress(std::uint64_t id, double progress) {
    if (!std::isfinite(progress)) return;
    progress = std::clamp(progress, 0.0, 1.0);
    const auto& all = m_downloads.get();
    const auto found = std::find_if(all.begin(), all.end(), [&](const DownloadRecord& r) { return r.id == id; });
    if (found == all.end() || found->state != DownloadState::running || found->progress == progress) return;
    const auto position = static_cast<std::size_t>(found - all.begin());
    m_downloads.modify([&](std::vector<DownloadRecord>& list) { list[position].progress = progress; });
}

void DownloadList::finish(std::uint64_t id, const std::filesystem::path& file) {
    const auto& all = m_downloads.get();
    const auto found = std::find_if(all.begin(), all.end(), [&](const DownloadRecord& r) { return r.id == id; });
    if (found == all.end() || found->state != DownloadState::running) return;
    const auto position = static_cast<std::size_t>(found - all.begin());
    m_downloads.modify([&](std::vector<DownloadRecord>& list) {
        auto& record = list[position];
        record.state = DownloadState::finished;
        record.progress = 1;
        record.file = file;
        record.fileName = file.filename().string();
    });
}

void DownloadList::fail(std::uint64_t id, std::string failure) { end(id, DownloadState::failed, std::move(failure)); }

void DownloadList::cancel(std::uint64_t id) { end(id, DownloadState::cancelled, {}); }

void DownloadList::end(std::uint64_t id, DownloadState state, std::string failure) {
    const auto& all = m_downloads.get();
    const auto found = std::find_if(all.begin(), all.end(), [&](const DownloadRecord& r) { return r.id == id; });
    if (found == all.end() || found->state != DownloadState::running) return;
    const auto position = static_cast<std::size_t>(found - all.begin());
    m_downloads.modify([&](std::vector<DownloadRecord>& list) {
        list[position].state = state;
        list[position].failure = std::move(failure);
    });
}

void DownloadList::clearEnded() {
    m_downloads.modify([](std::vector<DownloadRecord>& all) {
        std::erase_if(all, [](const DownloadRecord& r) { return r.state != DownloadState::running; });
    });
}

void DownloadList::dropOldEnded(std::vector<DownloadRecord>& all) const {
    for (auto it = all.begin(); all.size() > kKept && it != all.end();)
        it = it->state == DownloadState::running ? it + 1 : all.erase(it);
}

std::optional<DownloadRecord> DownloadList::find(std::uint64_t id) const {
    for (const auto& record : m_downloads.get())
        if (record.id == id) return record;
    return std::nullopt;
}

std::size_t DownloadList::runningCount() const {
    const auto& all = m_downloads.get();
    return static_cast<std::size_t>(
        std::count_if(all.begin(), all.end(), [](const DownloadRecord& r) { return r.state == DownloadState::running; }));
}

std::optional<double> DownloadList::runningProgress() const {
    double sum = 0;
    std::size_t count = 0;
    for (const auto& record : m_downloads.get())
        if (record.state == DownloadState::running) {
            sum += record.progress;
            ++count;
        }
    if (count == 0) return std::nullopt;
    return sum / static_cast<double>(count);
}

std::string downloadStateText(const DownloadRecord& record) {
    switch (record.state) {
    case DownloadState::running: return std::to_string(static_cast<int>(record.progress * 100)) + "%";
    case DownloadState::finished: return "Finished";
    case DownloadState::failed: return record.failure.empty() ? "Failed" : "Failed: " + record.failure;
    case DownloadState::cancelled: return "Cancelled";
    }
    return {};
}

std::string runningDownloadsText(const std::vector<DownloadRecord>& downloads) {
    const DownloadRecord* first = nullptr;
    std::size_t others = 0;
    for (const auto& record : downloads) {
        if (record.state != DownloadState::running) continue;
        if (first) ++others;
        else first = &record;
    }
    if (!first) return {};
    return others == 0 ? first->fileName : first->fileName + " +" + std::to_string(others);
}

}  // namespace sarvik
