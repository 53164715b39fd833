#include "core/address_resolution.h"

#include "core/saved_page_address.h"

#include <glib.h>

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
    if (savedPageId(text)) return text;
    const bool looksLikeAddress = text.find('.') != std::string::npos && text.find(' ') == std::string::npos;
    if (looksLikeAddress) {
        if (startsWith(text, "http://") || startsWith(text, "https://")) return text;
        return "https://" + text;
    }
    return std::string(searchPrefix) + percentEncodeQuery(text);
}

}  // namespace sarvik
