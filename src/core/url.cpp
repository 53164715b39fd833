#include "core/url.h"

#include <glib.h>

#include <memory>

namespace sarvik {
namespace {

struct UriUnref {
    void operator()(GUri* uri) const { g_uri_unref(uri); }
};
using UriPtr = std::unique_ptr<GUri, UriUnref>;

struct GFreeDeleter {
    void operator()(void* p) const { g_free(p); }
};
using GString_ = std::unique_ptr<char, GFreeDeleter>;

bool hasNonAscii(std::string_view text) {
    for (unsigned char c : text)
        if (c >= 0x80) return true;
    return false;
}

UriPtr parseStrict(const std::string& text) {
    // ENCODED keeps percent-escapes as typed, so the absolute string round-trips.
    return UriPtr(g_uri_parse(text.c_str(), G_URI_FLAGS_ENCODED, nullptr));
}

std::string percentEncodeNonAscii(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (unsigned char c : text) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else {
            out.push_back('%');
            out.push_back(kHex[c >> 4]);
            out.push_back(kHex[c & 0x0F]);
        }
    }
    return out;
}

// Rewrites "scheme://user@höst:port/päth" as "scheme://user@xn--hst-...:port/p%C3%A4th".
std::optional<std::string> asciiForm(std::string_view text) {
    if (!g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr)) return std::nullopt;
    const auto schemeEnd = text.find("://");
    if (schemeEnd == std::string_view::npos) return percentEncodeNonAscii(text);
    const auto authorityStart = schemeEnd + 3;
    const auto authorityEnd = std::min(text.find_first_of("/?#", authorityStart), text.size());
    const std::string_view authority = text.substr(authorityStart, authorityEnd - authorityStart);
    const auto at = authority.rfind('@');
    const auto hostStart = at == std::string_view::npos ? 0 : at + 1;
    auto hostEnd = authority.rfind(':');
    if (hostEnd == std::string_view::npos || hostEnd < hostStart || authority.find(']', hostStart) != std::string_view::npos)
        hostEnd = authority.size();
    std::string host(authority.substr(hostStart, hostEnd - hostStart));
    if (hasNonAscii(host)) {
        GString_ ascii(g_hostname_to_ascii(host.c_str()));
        if (!ascii) return std::nullopt;
        host = ascii.get();
    }
    std::string rebuilt(text.substr(0, authorityStart));
    rebuilt += percentEncodeNonAscii(authority.substr(0, hostStart));
    rebuilt += host;
    rebuilt += percentEncodeNonAscii(authority.substr(hostEnd));
    rebuilt += percentEncodeNonAscii(text.substr(authorityEnd));
    return rebuilt;
}

bool isUriCharacter(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
    static constexpr std::string_view kAllowed = "-._~:/?#[]@!$&'()*+,;=%";
    return kAllowed.find(static_cast<char>(c)) != std::string_view::npos;
}

// GUri lets some characters through that RFC 3986 does not allow (a space in a
// host, brackets outside an IP literal); those texts are not addresses.
bool hasOnlyUriCharacters(std::string_view text) {
    for (unsigned char c : text)
        if (!isUriCharacter(c)) return false;
    const auto authorityStart = text.find("//");
    const auto authorityEnd = authorityStart == std::string_view::npos
                                  ? std::string_view::npos
                                  : text.find_first_of("/?#", authorityStart + 2);
    const auto bracket = text.find_first_of("[]");
    if (bracket == std::string_view::npos) return true;
    if (authorityStart == std::string_view::npos || bracket < authorityStart) return false;
    return text.find_first_of("[]", authorityEnd == std::string_view::npos ? text.size() : authorityEnd) ==
           std::string_view::npos;
}

}  // namespace

std::optional<Url> Url::parse(std::string_view text) {
    if (text.find('\0') != std::string_view::npos) return std::nullopt;
    std::string candidate(text);
    if (hasNonAscii(candidate)) {
        auto ascii = asciiForm(candidate);
        if (!ascii) return std::nullopt;
        candidate = std::move(*ascii);
    }
    if (!hasOnlyUriCharacters(candidate)) return std::nullopt;
    UriPtr uri = parseStrict(candidate);
    if (!uri) return std::nullopt;
    Url url;
    url.m_absolute = std::move(candidate);  // as written: GUri's own rendering normalises escapes
    url.m_scheme = g_uri_get_scheme(uri.get());
    if (const char* host = g_uri_get_host(uri.get())) url.m_host = host;
    return url;
}

}  // namespace sarvik
