#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace sarvik::testing {

std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, std::string_view content);

}  // namespace sarvik::testing
