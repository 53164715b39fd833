#include "web/imported_stylesheets.h"

#include <glib.h>

#include <optional>
#include <set>
#include <string_view>
#include <utility>
#include <vector>

namespace sarvik {
namespace {

struct Header {
    std::string name;   // lower case
    std::string value;  // unfolded
    std::string_view raw;
};

struct Part {
    std::size_t begin = 0;      // first header line
    std::size_t bodyBegin = 0;
    std::size_t end = 0;        // the line break ahead of the next delimiter
    std::vector<Header> headers;
    std::string type;           // lower case, without parameters
    std::string encoding;       // lower case
    std::string location;
};

struct Archive {
    std::string lineBreak;
    std::string boundary;
    std::vector<Part> parts;
    std::size_t closing = 0;    // where the closing delimiter's line break starts
};

std::string lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = g_ascii_tolower(c);
    return out;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && g_ascii_isspace(text.front())) text.remove_prefix(1);
    while (!text.empty() && g_ascii_isspace(text.back())) text.remove_suffix(1);
    return text;
}

std::size_t findCaseless(std::string_view text, std::string_view what, std::size_t from) {
    for (std::size_t at = from; at + what.size() <= text.size(); ++at)
        if (g_ascii_strncasecmp(text.data() + at, what.data(), what.size()) == 0) return at;
    return std::string_view::npos;
}

// A header block's fields, folded lines joined.
std::vector<Header> headersOf(std::string_view block, std::string_view lineBreak) {
    std::vector<Header> headers;
    std::size_t at = 0;
    while (at < block.size()) {
        std::size_t end = block.find(lineBreak, at);
        while (end != std::string_view::npos && end + lineBreak.size() < block.size() &&
               (block[end + lineBreak.size()] == ' ' || block[end + lineBreak.size()] == '\t'))
            end = block.find(lineBreak, end + lineBreak.size());
        if (end == std::string_view::npos) end = block.size();
        const std::string_view raw = block.substr(at, end - at);
        at = end + lineBreak.size();
        const std::size_t colon = raw.find(':');
        if (colon == std::string_view::npos) continue;
        std::string value;
        for (char c : raw.substr(colon + 1)) value += (c == '\r' || c == '\n' || c == '\t') ? ' ' : c;
        headers.push_back({lowered(trimmed(raw.substr(0, colon))), std::string(trimmed(value)), raw});
    }
    return headers;
}

std::string headerValue(const std::vector<Header>& headers, std::string_view name) {
    for (const Header& header : headers)
        if (header.name == name) return header.value;
    return {};
}

std::string boundaryOf(std::string_view contentType) {
    std::size_t at = findCaseless(contentType, "boundary=", 0);
    if (at == std::string_view::npos) return {};
    at += 9;
    if (at < contentType.size() && contentType[at] == '"') {
        const std::size_t end = contentType.find('"', at + 1);
        return end == std::string_view::npos ? std::string() : std::string(contentType.substr(at + 1, end - at - 1));
    }
    const std::size_t end = contentType.find_first_of("; \t", at);
    return std::string(contentType.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at));
}

std::optional<Archive> parse(std::string_view text) {
    Archive archive;
    archive.lineBreak = text.find("\r\n") != std::string_view::npos ? "\r\n" : "\n";
    const std::string& lb = archive.lineBreak;
    const std::size_t headersEnd = text.find(lb + lb);
    if (headersEnd == std::string_view::npos) return std::nullopt;
    archive.boundary = boundaryOf(headerValue(headersOf(text.substr(0, headersEnd), lb), "content-type"));
    if (archive.boundary.empty()) return std::nullopt;
    const std::string delimiter = lb + "--" + archive.boundary;
    std::size_t at = text.find(delimiter, headersEnd);
    while (at != std::string_view::npos) {
        const std::size_t after = at + delimiter.size();
        if (text.substr(after, 2) == "--") {
            archive.closing = at;
            return archive;
        }
        const std::size_t begin = text.find(lb, after);
        if (begin == std::string_view::npos) return std::nullopt;
        Part part;
        part.begin = begin + lb.size();
        at = text.find(delimiter, part.begin - lb.size());
        if (at == std::string_view::npos || at < part.begin) return std::nullopt;
        part.end = at;
        const std::size_t blank = text.substr(part.begin, part.end - part.begin).find(lb + lb);
        const std::size_t headerLength = text.substr(part.begin, lb.size()) == lb ? 0 : blank;
        if (headerLength == std::string_view::npos) return std::nullopt;
        part.bodyBegin = part.begin + headerLength + (headerLength == 0 ? lb.size() : 2 * lb.size());
        part.headers = headersOf(text.substr(part.begin, headerLength), lb);
        const std::string type = headerValue(part.headers, "content-type");
        part.type = lowered(trimmed(std::string_view(type).substr(0, type.find(';'))));
        part.encoding = lowered(headerValue(part.headers, "content-transfer-encoding"));
        part.location = headerValue(part.headers, "content-location");
        archive.parts.push_back(std::move(part));
    }
    return std::nullopt;
}

std::string decodedBody(std::string_view body, std::string_view encoding) {
    if (encoding == "base64") {
        const std::string text(body);
        gsize length = 0;
        guchar* bytes = g_base64_decode(text.c_str(), &length);
        std::string decoded(reinterpret_cast<const char*>(bytes), length);
        g_free(bytes);
        return decoded;
    }
    if (encoding != "quoted-printable") return std::string(body);
    std::string decoded;
    decoded.reserve(body.size());
    for (std::size_t i = 0; i < body.size(); ++i) {
        if (body[i] != '=') {
            decoded += body[i];
        } else if (i + 1 < body.size() && (body[i + 1] == '\r' || body[i + 1] == '\n')) {
            i += body[i + 1] == '\r' && i + 2 < body.size() && body[i + 2] == '\n' ? 2 : 1;  // a soft line break
        } else if (i + 2 < body.size() && g_ascii_isxdigit(body[i + 1]) && g_ascii_isxdigit(body[i + 2])) {
            decoded += static_cast<char>(g_ascii_xdigit_value(body[i + 1]) * 16 + g_ascii_xdigit_value(body[i + 2]));
            i += 2;
        } else {
            decoded += body[i];
        }
    }
    return decoded;
}

// The addresses of a stylesheet's @import rules, as written.
std::vector<std::string> importedAddresses(std::string_view css) {
    std::vector<std::string> found;
    std::size_t at = 0;
    while ((at = findCaseless(css, "@import", at)) != std::string_view::npos) {
        at += 7;
        while (at < css.size() && g_ascii_isspace(css[at])) ++at;
        const bool isUrl = findCaseless(css, "url(", at) == at;
        if (isUrl) at += 4;
        while (isUrl && at < css.size() && g_ascii_isspace(css[at])) ++at;
        std::string address;
        if (at < css.size() && (css[at] == '"' || css[at] == '\'')) {
            const char quote = css[at++];
            for (; at < css.size() && css[at] != quote; ++at) address += css[at];
        } else if (isUrl) {
            for (; at < css.size() && css[at] != ')' && !g_ascii_isspace(css[at]); ++at) address += css[at];
        }
        if (!address.empty()) found.push_back(std::move(address));
    }
    return found;
}

std::string resolved(const std::string& address, const std::string& base) {
    gchar* uri = g_uri_resolve_relative(base.c_str(), address.c_str(), G_URI_FLAGS_NONE, nullptr);
    std::string result = uri ? uri : "";
    g_free(uri);
    return result;
}

struct Import {
    std::string address;
    std::string againstPage;  // where the writer filed it
};

std::string copyAt(std::string_view text, const Archive& archive, const Part& part, const std::string& location) {
    const std::string& lb = archive.lineBreak;
    std::string copy = lb + "--" + archive.boundary + lb;
    for (const Header& header : part.headers)
        if (header.name != "content-location") copy.append(header.raw).append(lb);
    copy += "Content-Location: " + location + lb + lb;
    copy.append(text.substr(part.bodyBegin, part.end - part.bodyBegin));
    return copy;
}

}  // namespace

std::string placeImportedStylesheets(std::string text) {
    const std::optional<Archive> archive = parse(text);
    if (!archive || archive->parts.empty()) return text;
    const std::vector<Part>& parts = archive->parts;
    const std::string& page = parts.front().location;
    std::vector<std::vector<Import>> imports(parts.size());
    std::set<std::string> locations;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        locations.insert(parts[i].location);
        if (parts[i].type != "text/css") continue;
        const std::string css = decodedBody(std::string_view(text).substr(parts[i].bodyBegin, parts[i].end - parts[i].bodyBegin),
                                            parts[i].encoding);
        for (std::string& address : importedAddresses(css))
            imports[i].push_back({address, resolved(address, page)});
    }
    // From the back: a part's importer comes after it, so its own place is known by then.
    std::vector<std::string> placeOf(parts.size());
    std::string copies;
    for (std::size_t i = parts.size(); i-- > 0;) {
        placeOf[i] = parts[i].location;
        if (parts[i].type != "text/css" || parts[i].location.empty()) continue;
        bool found = false;
        for (std::size_t j = i + 1; j < parts.size() && !found; ++j)
            for (const Import& import : imports[j])
                if (import.againstPage == parts[i].location) {
                    placeOf[i] = resolved(import.address, placeOf[j]);
                    found = true;
                    break;
                }
        if (!placeOf[i].empty() && locations.insert(placeOf[i]).second)
            copies += copyAt(text, *archive, parts[i], placeOf[i]);
    }
    if (!copies.empty()) text.insert(archive->closing, copies);
    return text;
}

}  // namespace sarvik
