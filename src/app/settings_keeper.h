#pragma once

#include "core/atomic_file.h"
#include "core/browser_settings.h"
#include "core/browser_state.h"
#include "core/scoped_connection.h"
#include "stores/settings_file.h"

#include <filesystem>

namespace sarvik {

// Keeps the settings of a BrowserState in a settings file: made before the
// first window, it puts the file's settings into the state (a missing file
// changes nothing), then saves whenever one of them changes. Changes made
// in one main-loop turn give one save, and a save that would write what the
// file already holds is left out. A change still waiting is saved when the
// keeper goes. Main thread only; the state must outlive the keeper.
class SettingsKeeper {
public:
    SettingsKeeper(BrowserState& state, std::filesystem::path file, FileLayer& files = FileLayer::system());
    ~SettingsKeeper();
    SettingsKeeper(const SettingsKeeper&) = delete;
    SettingsKeeper& operator=(const SettingsKeeper&) = delete;

    // "settings.ini" in the user's settings folder.
    static std::filesystem::path defaultFile();

private:
    void saveSoon();
    void saveNow();

    BrowserState& m_state;
    SettingsFile m_file;
    BrowserSettings m_saved;  // what the next start would read
    ScopedConnection m_pendingSave;
    ConnectionSet m_connections;
};

}  // namespace sarvik
