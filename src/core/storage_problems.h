#pragma once

#include <sigc++/signal.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace sarvik {

// What the data files could not keep: each file whose last save failed, with
// why. Stores report every save here; the window shows the problems so that
// changes kept only in memory are never lost without a word. One shared
// instance, main thread only.
class StorageProblems {
public:
    struct Problem {
        std::filesystem::path file;
        std::string reason;  // "write: No space left on device"
        bool operator==(const Problem&) const = default;
    };

    static StorageProblems& shared();

    void saveFailed(const std::filesystem::path& file, std::string reason);
    void saveSucceeded(const std::filesystem::path& file);

    // The most recent problem still standing, if any.
    std::optional<Problem> current() const;
    // Emitted when a problem starts, changes cause, or ends.
    sigc::signal<void()>& changed() { return m_changed; }

private:
    std::map<std::filesystem::path, std::string> m_reasons;
    std::optional<std::filesystem::path> m_latest;
    sigc::signal<void()> m_changed;
};

}  // namespace sarvik
