#include "web/sandbox_status.h"

#include <cstdlib>
#include <string_view>

namespace sarvik {

std::optional<std::string> sandboxOffWarning(const char* variableValue) {
    if (variableValue == nullptr || std::string_view(variableValue) == "0") return std::nullopt;
    return std::string("SarvikBrowser: warning: ") + kSandboxOffVariable +
           " is set, so web pages run without the sandbox and can read your files.";
}

std::optional<std::string> sandboxOffWarning() { return sandboxOffWarning(std::getenv(kSandboxOffVariable)); }

}  // namespace sarvik
