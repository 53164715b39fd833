#include "stores/download_names.h"

#include "stores/store_text.h"

#include <limits>

namespace sarvik {
namespace {

constexpr std::string_view kFallbackName = "download";

// Position of the extension's dot, or npos (a leading dot begins no extension).
std::size_t extensionDot(const std::string& name) {
    const auto dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? std::string::npos : dot;
}

// Cuts `text` to at most `bytes` bytes without splitting a UTF-8 sequence.
std::string cutUtf8(std::string text, std::size_t bytes) {
    if (text.size() <= bytes) return text;
    std::size_t end = bytes;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    text.resize(end);
    return text;
}

std::string withoutControlCharacters(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        out += byte < 0x20 || byte == 0x7F ? '_' : c;
    }
    return out;
}

std::string trimmedEnds(const std::string& text) {
    const auto first = text.find_first_not_of(". ");
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(". ");
    return text.substr(first, last - first + 1);
}

std::string shortened(const std::string& name) {
    if (name.size() <= kMaximumDownloadNameBytes) return name;
    const auto dot = extensionDot(name);
    const std::string extension = dot == std::string::npos ? "" : cutUtf8(name.substr(dot), 32);
    return trimmedEnds(cutUtf8(name.substr(0, dot), kMaximumDownloadNameBytes - extension.size())) + extension;
}

}  // namespace

std::string sanitizedDownloadName(std::string_view suggested) {
    const auto separator = suggested.find_last_of("/\\");
    if (separator != std::string_view::npos) suggested.remove_prefix(separator + 1);
    std::string name = trimmedEnds(validUtf8(withoutControlCharacters(suggested)));
    name = shortened(name);
    return name.empty() ? std::string(kFallbackName) : name;
}

std::string uniqueDownloadName(const std::string& name, const std::function<bool(const std::string&)>& taken) {
    if (!taken(name)) return name;
    const auto dot = extensionDot(name);
    const std::string stem = name.substr(0, dot);
    const std::string extension = dot == std::string::npos ? "" : name.substr(dot);
    for (unsigned n = 1; n < std::numeric_limits<unsigned>::max(); ++n) {
        std::string candidate = stem + " (" + std::to_string(n) + ")" + extension;
        if (!taken(candidate)) return candidate;
    }
    return name;  // not reached: a folder cannot hold that many names
}

std::string partialDownloadName(const std::string& name) { return name + ".part"; }

}  // namespace sarvik
