#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace sarvik {

// What decides GTK's renderer, read from the process environment and the machine.
struct RendererEnvironment {
    std::optional<std::string> requestedRenderer;  // GSK_RENDERER, the user's own choice
    std::optional<std::string> softwareGlForced;   // LIBGL_ALWAYS_SOFTWARE
    bool hasGpuDevice = false;                     // a /dev/dri/renderD* node or NVIDIA's own device

    static RendererEnvironment current(const std::filesystem::path& deviceDirectory = "/dev");
};

// The renderer to ask GTK for, or nothing to leave GTK's own choice. Where GL can only run in software,
// GTK's GL renderer costs about half a second and 100 MB at start-up and draws no faster than cairo, so
// cairo is chosen; a renderer the user asked for is always kept.
std::optional<std::string> preferredRenderer(const RendererEnvironment& environment);

// Applies preferredRenderer to this process; must run before GTK starts.
void choosePreferredRenderer();

}  // namespace sarvik
