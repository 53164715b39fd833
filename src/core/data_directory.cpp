#include "core/data_directory.h"

#include <glib.h>

namespace sarvik {

std::filesystem::path defaultDataDirectory() {
    return std::filesystem::path(g_get_user_data_dir()) / "SarvikBrowser";
}

std::filesystem::path defaultConfigDirectory() {
    return std::filesystem::path(g_get_user_config_dir()) / "SarvikBrowser";
}

void ensureDirectory(const std::filesystem::path& folder) {
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
}

}  // namespace sarvik
