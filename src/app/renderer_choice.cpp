#include "app/renderer_choice.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <system_error>

namespace sarvik {
namespace {

std::optional<std::string> environmentValue(const char* name) {
    const char* value = std::getenv(name);
    if (!value) return std::nullopt;
    return std::string(value);
}

// Mesa's reading of a boolean variable.
bool isTrue(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text == "1" || text == "true" || text == "yes" || text == "y";
}

bool findGpuDevice(const std::filesystem::path& deviceDirectory) {
    std::error_code error;
    if (std::filesystem::exists(deviceDirectory / "nvidiactl", error)) return true;
    for (std::filesystem::directory_iterator it(deviceDirectory / "dri", error), end; !error && it != end;
         it.increment(error))
        if (it->path().filename().string().starts_with("renderD")) return true;
    return false;
}

}  // namespace

RendererEnvironment RendererEnvironment::current(const std::filesystem::path& deviceDirectory) {
    return {environmentValue("GSK_RENDERER"), environmentValue("LIBGL_ALWAYS_SOFTWARE"),
            findGpuDevice(deviceDirectory)};
}

std::optional<std::string> preferredRenderer(const RendererEnvironment& environment) {
    if (environment.requestedRenderer && !environment.requestedRenderer->empty()) return std::nullopt;
    const bool softwareOnly =
        !environment.hasGpuDevice || (environment.softwareGlForced && isTrue(*environment.softwareGlForced));
    if (softwareOnly) return "cairo";
    return std::nullopt;
}

void choosePreferredRenderer() {
    if (const auto renderer = preferredRenderer(RendererEnvironment::current()))
        setenv("GSK_RENDERER", renderer->c_str(), 1);
}

}  // namespace sarvik
