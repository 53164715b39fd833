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

constexpr char kHex[] = "0123456789ABCDEF";

void appendEscaped(std::string& out, unsigned char c) {
    out.push_back('%');
    out.push_back(kHex[c >> 4]);
    out.push_back(kHex[c & 0x0F]);
}

bool hasNonAscii(std::string_view text) {
    for (unsigned char c : text)
        if (c >= 0x80) return true;
    return false;
}

bool isControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

bool isHexDigit(char c) { return g_ascii_isxdigit(c); }

UriPtr parseStrict(const std::string& text) {
    // ENCODED keeps percent-escapes as typed, so the absolute string round-trips.
    return UriPtr(g_uri_parse(text.c_str(), G_URI_FLAGS_ENCODED, nullptr));
}

std::string percentEncodeNonAscii(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (unsigned char c : text) {
        if (c < 0x80) out.push_back(static_cast<char>(c));
        else appendEscaped(out, c);
    }
    return out;
}

// Where the authority ("user@host:port") of "scheme://authority/..." lies;
// an empty range at 0 when the text has none.
struct Authority {
    std::size_t begin = 0;
    std::size_t end = 0;
};

Authority authorityOf(std::string_view text) {
    const auto schemeEnd = text.find("://");
    if (schemeEnd == std::string_view::npos || text.find_first_of("/?#") < schemeEnd) return {};
    const auto begin = schemeEnd + 3;
    return {begin, std::min(text.find_first_of("/?#", begin), text.size())};
}

// Rewrites "scheme://user@höst:port/päth" as "scheme://user@xn--hst-...:port/p%C3%A4th".
std::optional<std::string> asciiForm(std::string_view text) {
    if (!g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr)) return std::nullopt;
    const Authority span = authorityOf(text);
    if (span.end == 0) return percentEncodeNonAscii(text);
    const std::string_view authority = text.substr(span.begin, span.end - span.begin);
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
    std::string rebuilt(text.substr(0, span.begin));
    rebuilt += percentEncodeNonAscii(authority.substr(0, hostStart));
    rebuilt += host;
    rebuilt += percentEncodeNonAscii(authority.substr(hostEnd));
    rebuilt += percentEncodeNonAscii(text.substr(span.end));
    return rebuilt;
}

bool isUriCharacter(unsigned char c) {
    if (g_ascii_isalnum(c)) return true;
    static constexpr std::string_view kAllowed = "-._~:/?#[]@!$&'()*+,;=%";
    return kAllowed.find(static_cast<char>(c)) != std::string_view::npos;
}

// The same address in two forms: as it is shown, stored and loaded, and the
// strict RFC 3986 form that GUri checks.
struct AddressForms {
    std::string shown;
    std::string checked;
};

// Pages link to addresses with brackets, bars, braces, carets, backticks and
// stray percent signs after the host; the engine keeps those as written, so
// they stay as written here and are escaped only for the strict check.
// Blanks, quotes and angle brackets are escaped, as the engine escapes them.
bool appendAfterAuthority(AddressForms& forms, std::string_view rest) {
    static constexpr std::string_view kKeptAsWritten = "[]|^{}`";
    static constexpr std::string_view kEscaped = " \"<>\\";
    bool inFragment = false;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        const auto c = static_cast<unsigned char>(rest[i]);
        if (isControl(c)) return false;
        const bool strayPercent = c == '%' && !(i + 2 < rest.size() && isHexDigit(rest[i + 1]) && isHexDigit(rest[i + 2]));
        const bool extraHash = c == '#' && inFragment;
        inFragment = inFragment || c == '#';
        if (kEscaped.find(static_cast<char>(c)) != std::string_view::npos) {
            appendEscaped(forms.shown, c);
            appendEscaped(forms.checked, c);
        } else if (strayPercent || extraHash || kKeptAsWritten.find(static_cast<char>(c)) != std::string_view::npos) {
            forms.shown.push_back(static_cast<char>(c));
            appendEscaped(forms.checked, c);
        } else if (isUriCharacter(c)) {
            forms.shown.push_back(static_cast<char>(c));
            forms.checked.push_back(static_cast<char>(c));
        } else {
            return false;
        }
    }
    return true;
}

// The scheme and authority stay strict: a host is never made of escaped
// bytes, and brackets there only enclose an IP literal (GUri checks it).
std::optional<AddressForms> addressForms(std::string_view text) {
    const Authority span = authorityOf(text);
    const std::size_t restStart = span.end == 0 ? std::min(text.find(':'), text.size()) : span.end;
    const std::string_view head = text.substr(0, restStart);
    for (unsigned char c : head)
        if (!isUriCharacter(c)) return std::nullopt;
    if (head.find_first_of("[]") < span.begin) return std::nullopt;
    AddressForms forms{std::string(head), std::string(head)};
    if (!appendAfterAuthority(forms, text.substr(restStart))) return std::nullopt;
    return forms;
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
    auto forms = addressForms(candidate);
    if (!forms) return std::nullopt;
    UriPtr uri = parseStrict(forms->checked);
    if (!uri) return std::nullopt;
    Url url;
    url.m_absolute = std::move(forms->shown);  // as written: GUri's own rendering normalises escapes
    url.m_scheme = g_uri_get_scheme(uri.get());
    if (const char* host = g_uri_get_host(uri.get())) url.m_host = host;
    return url;
}

namespace {

// A host address's empty path as "/".
std::string withRootPath(const std::string& absolute) {
    const std::size_t authority = absolute.find("://");
    if (authority == std::string::npos) return absolute;
    const std::size_t pathStart = absolute.find_first_of("/?#", authority + 3);
    if (pathStart != std::string::npos && absolute[pathStart] == '/') return absolute;
    std::string rooted = absolute;
    rooted.insert(pathStart == std::string::npos ? rooted.size() : pathStart, "/");
    return rooted;
}

}  // namespace

bool Url::isSameAddress(const Url& other) const {
    return *this == other || withRootPath(m_absolute) == withRootPath(other.m_absolute);
}

}  // namespace sarvik
