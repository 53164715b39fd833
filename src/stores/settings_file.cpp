#include "stores/settings_file.h"

#include "core/data_directory.h"
#include "stores/settings_text.h"

#include <iostream>
#include <utility>

namespace sarvik {

SettingsFile::SettingsFile(std::filesystem::path path, FileLayer& files) : m_file(std::move(path), files) {}

std::optional<BrowserSettings> SettingsFile::load() {
    const auto text = m_file.read();
    if (!text && !m_file.isDamaged()) return std::nullopt;
    if (const auto settings = text ? readSettingsText(*text) : std::nullopt) return settings;
    reportDamaged();
    return BrowserSettings{};
}

void SettingsFile::reportDamaged() {
    m_file.markDamaged();
    const auto kept = m_file.keepDamagedAside();
    std::cerr << "SarvikBrowser: cannot read the settings in " << path().string() << "; using the defaults"
              << (kept ? " (the file is kept as " + kept->string() + ")" : std::string(" (the file stays as it is)"))
              << std::endl;
}

bool SettingsFile::save(const BrowserSettings& settings) {
    ensureDirectory(path().parent_path());
    return m_file.write(settingsText(settings));
}

}  // namespace sarvik
