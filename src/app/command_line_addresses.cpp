#include "app/command_line_addresses.h"

#include "core/address_resolution.h"

#include <glib.h>

#include <memory>

namespace sarvik {
namespace {

std::optional<Url> fileAddress(const std::string& word, const std::filesystem::path& workingDirectory) {
    const std::filesystem::path path =
        std::filesystem::path(word).is_absolute() ? std::filesystem::path(word) : workingDirectory / word;
    std::error_code error;
    if (!std::filesystem::exists(path, error)) return std::nullopt;
    const auto absolute = std::filesystem::weakly_canonical(path, error);
    std::unique_ptr<char, decltype(&g_free)> uri(
        g_filename_to_uri((error ? path : absolute).c_str(), nullptr, nullptr), g_free);
    return uri ? Url::parse(uri.get()) : std::nullopt;
}

bool hasScheme(const std::string& word) {
    const auto colon = word.find(':');
    if (colon == std::string::npos || colon == 0) return false;
    for (std::size_t i = 0; i < colon; ++i) {
        const char c = word[i];
        const bool allowed = g_ascii_isalpha(c) || (i > 0 && (g_ascii_isdigit(c) || c == '+' || c == '-' || c == '.'));
        if (!allowed) return false;
    }
    return true;
}

std::optional<Url> addressOf(const std::string& word, const std::filesystem::path& workingDirectory,
                             std::string_view searchPrefix) {
    if (auto file = fileAddress(word, workingDirectory)) return file;
    if (hasScheme(word)) return Url::parse(word);
    return Url::parse(resolveAddressText(word, searchPrefix));
}

}  // namespace

std::vector<Url> commandLineAddresses(const std::vector<std::string>& words,
                                      const std::filesystem::path& workingDirectory, std::string_view searchPrefix) {
    std::vector<Url> addresses;
    bool optionsEnded = false;
    for (const auto& word : words) {
        if (!optionsEnded && word == "--") {
            optionsEnded = true;
            continue;
        }
        if (word.empty() || (!optionsEnded && word.front() == '-')) continue;
        if (auto url = addressOf(word, workingDirectory, searchPrefix)) addresses.push_back(std::move(*url));
    }
    return addresses;
}

}  // namespace sarvik
