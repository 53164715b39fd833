#pragma once

#include "core/date.h"
#include "core/uuid.h"

#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// Helpers for the data files' JSON conventions. Decoding is strict: a missing
// required key, a value of the wrong type or an enumeration text that names
// no case throws DecodeError, which rejects the whole file. Unknown keys are
// ignored; optional keys may be absent (or null). Encoding is compact, UUIDs
// upper case, dates as seconds since 2001-01-01, absent optionals left out.
namespace sarvik::json {

struct DecodeError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Parses a whole document (UTF-8 validated, numbers converted exactly by
// numberFromText, nesting of any depth without recursion).
rapidjson::Document parse(std::string_view text);

// The value of a JSON number's text (its syntax already checked by the
// reader): a whole number that fits as std::int64_t, else std::uint64_t, else
// the nearest double; none for a number too large for a double. RapidJSON
// 1.1's own exact conversion turns zero mantissas with large exponents
// ("0e300") into garbage, so the readers take numbers as text and use this.
using Number = std::variant<std::int64_t, std::uint64_t, double>;
std::optional<Number> numberFromText(std::string_view text);

// Hands a number's text to a SAX handler as Int64, Uint64 or Double; false
// (stop: invalid) for a number no double holds.
template <typename Handler>
bool forwardNumber(Handler& handler, const char* text, std::size_t length) {
    const auto number = numberFromText(std::string_view(text, length));
    if (!number) return false;
    if (const auto* i = std::get_if<std::int64_t>(&*number)) return handler.Int64(*i);
    if (const auto* u = std::get_if<std::uint64_t>(&*number)) return handler.Uint64(*u);
    return handler.Double(std::get<double>(*number));
}

// Reads the fields of one JSON object.
class ObjectReader {
public:
    explicit ObjectReader(const rapidjson::Value& value);

    std::string string(const char* key) const;
    double number(const char* key) const;
    std::int64_t integer(const char* key) const;
    bool boolean(const char* key) const;
    Uuid uuid(const char* key) const;
    Date date(const char* key) const;
    const rapidjson::Value& array(const char* key) const;
    const rapidjson::Value& object(const char* key) const;

    std::optional<std::string> optionalString(const char* key) const;
    std::optional<double> optionalNumber(const char* key) const;
    std::optional<std::int64_t> optionalInteger(const char* key) const;
    std::optional<Uuid> optionalUuid(const char* key) const;
    std::optional<Date> optionalDate(const char* key) const;

    // An enumeration stored as its raw text; fromRaw returns an optional case.
    template <typename FromRaw>
    auto enumeration(const char* key, FromRaw&& fromRaw) const {
        const std::string text = string(key);
        auto value = fromRaw(std::string_view(text));
        if (!value) throw DecodeError(std::string("unknown value for \"") + key + "\"");
        return *value;
    }

private:
    const rapidjson::Value& required(const char* key) const;
    const rapidjson::Value* present(const char* key) const;

    const rapidjson::Value& m_object;
};

// Decodes every element of a JSON array with decodeOne(const rapidjson::Value&).
template <typename T, typename DecodeOne>
std::vector<T> decodeArray(const rapidjson::Value& array, DecodeOne&& decodeOne) {
    if (!array.IsArray()) throw DecodeError("expected an array");
    std::vector<T> result;
    result.reserve(array.Size());
    for (const auto& element : array.GetArray()) result.push_back(decodeOne(element));
    return result;
}

// Compact writer. Non-finite numbers cannot be written as JSON: they mark the
// output as failed (ok() false) instead of producing an invalid file.
class Writer {
public:
    Writer();

    Writer& beginObject();
    Writer& endObject();
    Writer& beginArray();
    Writer& endArray();
    Writer& key(std::string_view name);

    Writer& value(std::string_view text);
    Writer& value(const char* text) { return value(std::string_view(text)); }
    Writer& value(const std::string& text) { return value(std::string_view(text)); }
    Writer& value(double number);
    Writer& value(std::int64_t number);
    Writer& value(bool flag);
    Writer& value(const Uuid& id);
    Writer& value(Date date);

    template <typename T>
    Writer& field(std::string_view name, const T& v) {
        key(name);
        return value(v);
    }
    template <typename T>
    Writer& field(std::string_view name, const std::optional<T>& v) {
        if (v) field(name, *v);
        return *this;
    }

    bool ok() const { return m_ok; }
    // The text written so far, or nothing when any value could not be written.
    std::optional<std::string> finish() const;

private:
    Writer& check(bool written);

    rapidjson::StringBuffer m_buffer;
    rapidjson::Writer<rapidjson::StringBuffer> m_writer;
    bool m_ok = true;
};

}  // namespace sarvik::json
