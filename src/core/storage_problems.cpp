#include "core/storage_problems.h"

namespace sarvik {

StorageProblems& StorageProblems::shared() {
    static StorageProblems problems;
    return problems;
}

void StorageProblems::saveFailed(const std::filesystem::path& file, std::string reason) {
    auto [place, added] = m_reasons.try_emplace(file, reason);
    const bool same = !added && place->second == reason && m_latest == file;
    place->second = std::move(reason);
    m_latest = file;
    if (!same) m_changed.emit();  // a failure that repeats at every save is still one problem
}

void StorageProblems::saveSucceeded(const std::filesystem::path& file) {
    if (m_reasons.erase(file) == 0) return;
    m_latest = m_reasons.empty() ? std::nullopt : std::optional(m_reasons.begin()->first);
    m_changed.emit();
}

std::optional<StorageProblems::Problem> StorageProblems::current() const {
    if (!m_latest) return std::nullopt;
    return Problem{*m_latest, m_reasons.at(*m_latest)};
}

}  // namespace sarvik
