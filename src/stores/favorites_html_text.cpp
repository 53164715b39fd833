#include "stores/favorites_html_text.h"

#include "stores/store_text.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <utility>

namespace sarvik::favorites_html {
namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

char lowered(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool isNameCharacter(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }

// Where the tag that starts its attributes at `from` ends ('>'), quotes
// respected; an unbalanced quote falls back to the first '>'.
std::size_t tagEnd(std::string_view text, std::size_t from) {
    char quote = 0;
    for (std::size_t i = from; i < text.size(); ++i) {
        const char c = text[i];
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return i;
        }
    }
    return text.find('>', from);
}

void appendUtf8(std::string& out, std::uint32_t code) {
    if (code == 0 || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) code = 0xFFFD;
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// The character a numeric reference body ("#38", "#x26") names, or none
// when it is not one.
std::optional<std::uint32_t> numericReference(std::string_view body) {
    if (body.size() < 2 || body[0] != '#') return std::nullopt;
    const bool hex = body[1] == 'x' || body[1] == 'X';
    const auto digits = body.substr(hex ? 2 : 1);
    if (digits.empty()) return std::nullopt;
    std::uint32_t code = 0;
    for (const char c : digits) {
        int value;
        if (c >= '0' && c <= '9') value = c - '0';
        else if (hex && c >= 'a' && c <= 'f') value = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F') value = c - 'A' + 10;
        else return std::nullopt;
        code = code * (hex ? 16 : 10) + static_cast<std::uint32_t>(value);
        if (code > 0x10FFFF) code = 0x110000;  // stays out of range without overflowing
    }
    return code;
}

std::optional<std::string_view> namedReference(std::string_view name) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 6> kNames{
        {{"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"quot", "\""}, {"apos", "'"}, {"nbsp", "\xC2\xA0"}}};
    for (const auto& [known, replacement] : kNames)
        if (equalsIgnoringCase(name, known)) return replacement;
    return std::nullopt;
}

}  // namespace

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lowered(x) == lowered(y);
           });
}

void scanHtml(std::string_view text, const std::function<void(const Tag&)>& onTag,
              const std::function<void(std::string_view)>& onText) {
    std::size_t position = 0;
    while (position < text.size()) {
        const auto open = text.find('<', position);
        if (open == std::string_view::npos) {
            onText(text.substr(position));
            return;
        }
        if (open > position) onText(text.substr(position, open - position));
        if (text.substr(open).starts_with("<!--")) {
            const auto close = text.find("-->", open + 4);
            position = close == std::string_view::npos ? text.size() : close + 3;
            continue;
        }
        std::size_t i = open + 1;
        const bool closing = i < text.size() && text[i] == '/';
        if (closing) ++i;
        if (i < text.size() && !closing && (text[i] == '!' || text[i] == '?')) {
            const auto close = text.find('>', i);
            position = close == std::string_view::npos ? text.size() : close + 1;
            continue;
        }
        const std::size_t nameStart = i;
        while (i < text.size() && isNameCharacter(text[i])) ++i;
        if (i == nameStart) {
            onText(text.substr(open, 1));
            position = open + 1;
            continue;
        }
        Tag tag;
        tag.closing = closing;
        for (const char c : text.substr(nameStart, i - nameStart)) tag.name += lowered(c);
        const auto close = tagEnd(text, i);
        if (close == std::string_view::npos) return;  // cut off: what it held is not whole
        tag.attributes = text.substr(i, close - i);
        onTag(tag);
        position = close + 1;
    }
}

std::optional<std::string> attributeValue(std::string_view attributes, std::string_view name) {
    std::size_t i = 0;
    const auto skipSpace = [&] {
        while (i < attributes.size() && (isSpace(attributes[i]) || attributes[i] == '/')) ++i;
    };
    while (true) {
        skipSpace();
        if (i >= attributes.size()) return std::nullopt;
        const std::size_t nameStart = i;
        while (i < attributes.size() && !isSpace(attributes[i]) && attributes[i] != '=') ++i;
        const auto found = attributes.substr(nameStart, i - nameStart);
        while (i < attributes.size() && isSpace(attributes[i])) ++i;
        std::string_view value;
        if (i < attributes.size() && attributes[i] == '=') {
            ++i;
            while (i < attributes.size() && isSpace(attributes[i])) ++i;
            if (i < attributes.size() && (attributes[i] == '"' || attributes[i] == '\'')) {
                const char quote = attributes[i++];
                const auto close = attributes.find(quote, i);
                const auto end = close == std::string_view::npos ? attributes.size() : close;
                value = attributes.substr(i, end - i);
                i = close == std::string_view::npos ? attributes.size() : close + 1;
            } else {
                const std::size_t valueStart = i;
                while (i < attributes.size() && !isSpace(attributes[i])) ++i;
                value = attributes.substr(valueStart, i - valueStart);
            }
        }
        if (equalsIgnoringCase(found, name)) return decodedEntities(value);
    }
}

std::string decodedEntities(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto amp = text.find('&', i);
        if (amp == std::string_view::npos) {
            out.append(text.substr(i));
            break;
        }
        out.append(text.substr(i, amp - i));
        const auto semicolon = text.substr(amp + 1, 12).find(';');
        if (semicolon != std::string_view::npos) {
            const auto body = text.substr(amp + 1, semicolon);
            if (const auto code = numericReference(body)) {
                appendUtf8(out, *code);
                i = amp + semicolon + 2;
                continue;
            }
            if (const auto named = namedReference(body)) {
                out.append(*named);
                i = amp + semicolon + 2;
                continue;
            }
        }
        out += '&';
        i = amp + 1;
    }
    return out;
}

std::string collapsedText(std::string_view raw) { return collapsedWhitespace(validUtf8(decodedEntities(raw))); }

std::string collapsedWhitespace(std::string_view decoded) {
    std::string out;
    out.reserve(decoded.size());
    bool pendingSpace = false;
    for (const char c : decoded) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == ' ') {
            pendingSpace = !out.empty();
            continue;
        }
        if (pendingSpace) out += ' ';
        pendingSpace = false;
        out += c;
    }
    return out;
}

std::string trimmedAddress(std::string_view address) {
    const auto first = std::find_if_not(address.begin(), address.end(), isSpace);
    const auto last = std::find_if_not(address.rbegin(), address.rend(), isSpace).base();
    return first < last ? std::string(first, last) : std::string();
}

std::string escapedText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += c;
        }
    }
    return out;
}

}  // namespace sarvik::favorites_html
