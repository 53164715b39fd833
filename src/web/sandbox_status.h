#pragma once

#include <optional>
#include <string>

namespace sarvik {

// The variable with which the environment can turn off the web process
// sandbox; WebKit honours any value but "0".
inline constexpr const char* kSandboxOffVariable = "WEBKIT_DISABLE_SANDBOX_THIS_IS_DANGEROUS";

// The warning to show when the given value of that variable turns the sandbox
// off, or nothing when web pages stay confined.
std::optional<std::string> sandboxOffWarning(const char* variableValue);

// The same for this process's environment.
std::optional<std::string> sandboxOffWarning();

}  // namespace sarvik
