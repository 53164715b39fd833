#pragma once

#include <filesystem>
#include <functional>

namespace sarvik {

// What the downloads list does with a finished file: open it in its default
// application, or show it selected in the file manager. Replaceable, so tests
// can see the request without starting other programs.
struct DownloadFileLauncher {
    std::function<void(const std::filesystem::path&)> open;
    std::function<void(const std::filesystem::path&)> showInFolder;

    // The desktop's own: the default application for the file, and the file
    // manager's ShowItems call on the session bus, or else the folder opened.
    static DownloadFileLauncher desktop();
};

}  // namespace sarvik
