#include "app/settings_keeper.h"

#include "core/data_directory.h"
#include "core/main_loop_hop.h"

#include <utility>

namespace sarvik {

SettingsKeeper::SettingsKeeper(BrowserState& state, std::filesystem::path file, FileLayer& files)
    : m_state(state), m_file(std::move(file), files) {
    if (const auto loaded = m_file.load()) applySettings(*loaded, m_state);
    m_saved = settingsOf(m_state);
    observeSettings(m_state, [this] { saveSoon(); }, m_connections);
}

SettingsKeeper::~SettingsKeeper() {
    m_connections.clear();
    if (m_pendingSave.connected()) saveNow();
}

std::filesystem::path SettingsKeeper::defaultFile() { return defaultConfigDirectory() / "settings.ini"; }

void SettingsKeeper::saveSoon() {
    if (!m_pendingSave.connected()) m_pendingSave = scheduleSoon([this] { saveNow(); });
}

void SettingsKeeper::saveNow() {
    m_pendingSave.disconnect();
    const BrowserSettings settings = settingsOf(m_state);
    // Published fields announce equal values too; a failed save is tried again at the next change.
    if (settings == m_saved) return;
    if (m_file.save(settings)) m_saved = settings;
}

}  // namespace sarvik
