// Encodes "history.json". Every visit rewrites the whole file, so this is
// written out by hand for speed: the same compact text as the JSON writer of
// the other files (keys in field order, the same string escapes and shortest
// round-trip numbers), at a fraction of the cost per entry.
#include "stores/browser_data_json.h"

#include <rapidjson/internal/dtoa.h>

#include <charconv>
#include <cmath>

namespace sarvik::json {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

bool needsEscape(unsigned char c) { return c < 0x20 || c == '"' || c == '\\'; }

void appendEscaped(std::string& out, char c) {
    switch (c) {
        case '"': out += "\\\""; return;
        case '\\': out += "\\\\"; return;
        case '\b': out += "\\b"; return;
        case '\f': out += "\\f"; return;
        case '\n': out += "\\n"; return;
        case '\r': out += "\\r"; return;
        case '\t': out += "\\t"; return;
        default: {
            const auto byte = static_cast<unsigned char>(c);
            const char escape[] = {'\\', 'u', '0', '0', kHexDigits[byte >> 4], kHexDigits[byte & 0x0F]};
            out.append(escape, sizeof escape);
        }
    }
}

void appendString(std::string& out, std::string_view text) {
    out += '"';
    std::size_t runStart = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!needsEscape(static_cast<unsigned char>(text[i]))) continue;
        out.append(text.data() + runStart, i - runStart);
        appendEscaped(out, text[i]);
        runStart = i + 1;
    }
    out.append(text.data() + runStart, text.size() - runStart);
    out += '"';
}

void appendUuid(std::string& out, const Uuid& id) {
    char text[38];
    std::size_t n = 0;
    text[n++] = '"';
    const auto& bytes = id.bytes();
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) text[n++] = '-';
        text[n++] = kHexDigits[bytes[i] >> 4];
        text[n++] = kHexDigits[bytes[i] & 0x0F];
    }
    text[n++] = '"';
    out.append(text, n);
}

void appendNumber(std::string& out, double number) {
    char text[32];
    const char* end = rapidjson::internal::dtoa(number, text);
    out.append(text, static_cast<std::size_t>(end - text));
}

void appendInteger(std::string& out, std::int64_t number) {
    char text[24];
    const auto result = std::to_chars(text, text + sizeof text, number);
    out.append(text, static_cast<std::size_t>(result.ptr - text));
}

void appendItem(std::string& out, const HistoryItem& item) {
    out += "{\"id\":";
    appendUuid(out, item.id);
    out += ",\"title\":";
    appendString(out, item.title);
    out += ",\"url\":";
    appendString(out, item.url);
    out += ",\"visitedAt\":";
    appendNumber(out, item.visitedAt.secondsSinceReference);
    out += ",\"visitCount\":";
    appendInteger(out, item.visitCount);
    out += '}';
}

}  // namespace

std::optional<std::string> encodeHistoryItems(const HistoryItem* first, std::size_t count) {
    constexpr std::size_t kFixedSizePerItem = 128;  // keys, identifier, numbers
    std::size_t size = 0;
    for (const HistoryItem* item = first; item != first + count; ++item) {
        if (!std::isfinite(item->visitedAt.secondsSinceReference)) return std::nullopt;
        size += kFixedSizePerItem + item->title.size() + item->url.size();
    }
    std::string out;
    out.reserve(size);
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) out += ',';
        appendItem(out, first[i]);
    }
    return out;
}

std::optional<std::string> encodeHistory(const std::vector<HistoryItem>& history) {
    auto items = encodeHistoryItems(history.data(), history.size());
    if (!items) return std::nullopt;
    return '[' + *items + ']';
}

}  // namespace sarvik::json
