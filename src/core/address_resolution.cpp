#include "core/address_resolution.h"

#include <glib.h>

#include <algorithm>
#include <string>

namespace sarvik {
namespace {

bool isWhitespaceOrNewline(gunichar c) {
    if ((c >= 0x09 && c <= 0x0D) || c == 0x85) return true;
    switch (g_unichar_type(c)) {
    case G_UNICODE_SPACE_SEPARATOR:
    case G_UNICODE_LINE_SEPARATOR:
    case G_UNICODE_PARAGRAPH_SEPARATOR:
        return true;
    default:
        return false;
    }
}

bool isQueryAllowed(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
    static constexpr std::string_view kAllowed = "-._~!$&'()*+,;=:@/?";
    return kAllowed.find(static_cast<char>(c)) != std::string_view::npos;
}

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// "scheme://..." with a scheme of RFC 3986 letters, or "about:": typed
// addresses that say how to load them.
bool hasScheme(std::string_view text) {
    if (startsWith(text, "about:")) return true;
    const auto end = text.find("://");
    if (end == std::string_view::npos || end == 0 || !g_ascii_isalpha(text[0])) return false;
    for (char c : text.substr(0, end))
        if (!g_ascii_isalnum(c) && c != '+' && c != '-' && c != '.') return false;
    return true;
}

// Letters, digits, dots and hyphens, not all digits ("10:30" is a time), or a bracketed IPv6 literal.
bool looksLikeHostName(std::string_view name) {
    if (name.size() > 2 && name.front() == '[' && name.back() == ']') return true;
    const bool hostCharacters = std::all_of(name.begin(), name.end(), [](char c) { return g_ascii_isalnum(c) || c == '.' || c == '-'; });
    const bool named = std::any_of(name.begin(), name.end(), [](char c) { return !g_ascii_isdigit(c); });
    return !name.empty() && hostCharacters && named;
}

struct HostPart {
    std::string_view name;
    bool hasPort = false;  // ":" and one to five digits end the host part
};

// "host[:port]" at the start of scheme-less text, up to the first / ? or #.
HostPart hostPartOf(std::string_view text) {
    std::string_view part = text.substr(0, std::min(text.find_first_of("/?#"), text.size()));
    if (part.find('@') != std::string_view::npos) return {};
    const auto colon = part.rfind(':');
    if (colon == std::string_view::npos || (part.front() == '[' && part.find(']') > colon)) return {part, false};
    const std::string_view port = part.substr(colon + 1);
    const bool digits = !port.empty() && port.size() <= 5 &&
                        std::all_of(port.begin(), port.end(), [](char c) { return g_ascii_isdigit(c); });
    const std::string_view name = part.substr(0, colon);
    if (!digits || !looksLikeHostName(name)) return {part, false};
    return {name, std::stoi(std::string(port)) <= 65535};
}

bool isIpv4Literal(std::string_view name) {
    int parts = 0;
    std::size_t digits = 0;
    for (char c : name) {
        if (c == '.') {
            if (digits == 0) return false;
            ++parts;
            digits = 0;
        } else if (!g_ascii_isdigit(c) || ++digits > 3) {
            return false;
        }
    }
    return parts == 3 && digits > 0;
}

// Local servers and IP literals usually speak plain http.
bool isLocalHost(std::string_view name) {
    if (g_ascii_strcasecmp(std::string(name).c_str(), "localhost") == 0) return true;
    if (name.size() > 2 && name.front() == '[' && name.back() == ']') return true;
    return isIpv4Literal(name);
}

}  // namespace

std::string trimWhitespaceAndNewlines(std::string_view text) {
    if (!g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr)) {
        // Not UTF-8: only ASCII blanks can be recognised safely.
        const auto first = text.find_first_not_of(" \t\n\v\f\r");
        if (first == std::string_view::npos) return {};
        const auto last = text.find_last_not_of(" \t\n\v\f\r");
        return std::string(text.substr(first, last - first + 1));
    }
    const char* begin = text.data();
    const char* end = text.data() + text.size();
    while (begin < end && isWhitespaceOrNewline(g_utf8_get_char(begin))) begin = g_utf8_next_char(begin);
    while (end > begin) {
        const char* previous = g_utf8_find_prev_char(begin, end);
        if (!previous || !isWhitespaceOrNewline(g_utf8_get_char(previous))) break;
        end = previous;
    }
    return std::string(begin, end);
}

std::string percentEncodeQuery(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(text.size());
    for (unsigned char c : text) {
        if (isQueryAllowed(c)) {
            encoded.push_back(static_cast<char>(c));
        } else {
            encoded.push_back('%');
            encoded.push_back(kHex[c >> 4]);
            encoded.push_back(kHex[c & 0x0F]);
        }
    }
    return encoded;
}

std::string resolveAddressText(std::string_view typed, std::string_view searchPrefix) {
    const std::string text = trimWhitespaceAndNewlines(typed);
    if (text.find(' ') == std::string::npos) {
        if (hasScheme(text)) return text;
        const HostPart host = hostPartOf(text);
        if (host.hasPort || isLocalHost(host.name)) return "http://" + text;
        if (text.find('.') != std::string::npos) return "https://" + text;
    }
    return std::string(searchPrefix) + percentEncodeQuery(text);
}

}  // namespace sarvik
