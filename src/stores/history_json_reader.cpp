// Decodes "history.json" in one streaming pass, straight into records, with
// the same rules as the document reader of the other files (every key
// required and type-checked, integers also as whole doubles, unknown keys of
// any shape ignored, invalid UTF-8 rejected). A history of 100,000 entries is
// tens of megabytes, and building a document tree first doubled the time to
// open the store.
#include "stores/browser_data_json.h"

#include "core/json.h"
#include "stores/store_text.h"

#include <rapidjson/reader.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace sarvik::json {
namespace {

enum class Field { id, title, url, visitedAt, visitCount, unknown };
constexpr unsigned kAllFields = 0b11111;

Field fieldNamed(std::string_view key) {
    if (key == "id") return Field::id;
    if (key == "title") return Field::title;
    if (key == "url") return Field::url;
    if (key == "visitedAt") return Field::visitedAt;
    if (key == "visitCount") return Field::visitCount;
    return Field::unknown;
}

// SAX handler: [ {record}, ... ]. Returning false stops the parse as an error.
class HistoryHandler {
public:
    std::vector<HistoryItem> items;

    bool StartArray() { return container(m_depth == 0); }
    bool EndArray(rapidjson::SizeType) { return leave(); }
    bool StartObject() {
        if (m_depth == 1) {
            m_item = HistoryItem{};
            m_seen = 0;
        }
        return container(m_depth == 1);
    }
    bool Key(const char* text, rapidjson::SizeType length, bool) {
        if (m_depth == 2) m_field = fieldNamed(std::string_view(text, length));
        return true;
    }
    bool EndObject(rapidjson::SizeType) {
        if (m_depth == 2 && m_seen != kAllFields) return false;
        if (m_depth == 2) items.push_back(std::move(m_item));
        return leave();
    }

    bool String(const char* text, rapidjson::SizeType length, bool) {
        const std::string_view value(text, length);
        switch (fieldFor()) {
            case Field::id: {
                const auto id = Uuid::parse(value);
                return id && (m_item.id = *id, set(Field::id));
            }
            case Field::title: return (m_item.title = validUtf8(value), set(Field::title));
            case Field::url: return (m_item.url = validUtf8(value), set(Field::url));
            case Field::unknown: return m_depth >= 2;
            default: return false;
        }
    }
    bool Double(double d) {
        if (fieldFor() == Field::visitCount) {
            constexpr double kLimit = 9223372036854775808.0;  // 2^63
            if (!(std::trunc(d) == d && d >= -kLimit && d < kLimit)) return false;
            return integer(static_cast<std::int64_t>(d));
        }
        return number(d);
    }
    bool Int(int i) { return integer(i); }
    bool Uint(unsigned u) { return integer(u); }
    bool Int64(std::int64_t i) { return integer(i); }
    bool Uint64(std::uint64_t u) {
        if (u <= static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
            return integer(static_cast<std::int64_t>(u));
        return fieldFor() != Field::visitCount && number(static_cast<double>(u));
    }
    bool Null() { return other(); }
    bool Bool(bool) { return other(); }
    bool RawNumber(const char* text, rapidjson::SizeType length, bool) { return forwardNumber(*this, text, length); }

private:
    // The record field a scalar belongs to; values nested inside an unknown key count as unknown.
    Field fieldFor() const { return m_depth == 2 ? m_field : Field::unknown; }
    bool set(Field field) {
        m_seen |= 1u << static_cast<unsigned>(field);
        return true;
    }
    bool container(bool expected) {
        if (!expected && !(m_depth >= 2 && fieldFor() == Field::unknown)) return false;
        ++m_depth;
        return true;
    }
    bool leave() {
        --m_depth;
        return true;
    }
    bool other() { return m_depth >= 2 && fieldFor() == Field::unknown; }
    bool number(double d) {
        if (fieldFor() == Field::visitedAt) return (m_item.visitedAt = Date{d}, set(Field::visitedAt));
        return other();
    }
    bool integer(std::int64_t i) {
        if (fieldFor() == Field::visitCount) return (m_item.visitCount = i, set(Field::visitCount));
        return number(static_cast<double>(i));
    }

    HistoryItem m_item;
    unsigned m_seen = 0;
    int m_depth = 0;
    Field m_field = Field::unknown;
};

}  // namespace

std::vector<HistoryItem> decodeHistory(std::string text) {
    // In-place parsing stops at a NUL byte, which valid JSON never holds raw.
    if (std::memchr(text.data(), '\0', text.size()) || !isValidUtf8(text)) throw DecodeError("invalid JSON text");
    HistoryHandler handler;
    rapidjson::Reader reader;
    rapidjson::InsituStringStream stream(text.data());
    // Iterative: a deeply nested file cannot exhaust the stack.
    constexpr unsigned kFlags =
        rapidjson::kParseInsituFlag | rapidjson::kParseNumbersAsStringsFlag | rapidjson::kParseIterativeFlag;
    if (!reader.Parse<kFlags>(stream, handler)) throw DecodeError("invalid history file");
    return std::move(handler.items);
}

}  // namespace sarvik::json
