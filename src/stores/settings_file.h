#pragma once

#include "core/atomic_file.h"
#include "core/browser_settings.h"
#include "stores/store_file.h"

#include <filesystem>
#include <optional>

namespace sarvik {

// The settings file ("settings.ini" in the settings folder). Loading never
// fails: no file means a first start; a file that cannot be read or is no key
// file is kept aside at once as "<name>.damaged-N", as the stores keep theirs,
// which one line on stderr says, and the defaults hold. Each save replaces
// the whole file atomically and reports to StorageProblems.
class SettingsFile {
public:
    explicit SettingsFile(std::filesystem::path path, FileLayer& files = FileLayer::system());

    const std::filesystem::path& path() const { return m_file.path(); }

    // The settings the file holds, or none when there is no file.
    std::optional<BrowserSettings> load();
    // Whether the file now holds `settings`; the folder is made when missing.
    bool save(const BrowserSettings& settings);

private:
    void reportDamaged();

    StoreFile m_file;
};

}  // namespace sarvik
