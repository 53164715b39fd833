#include "core/json.h"

#include <rapidjson/error/en.h>

#include <cmath>
#include <limits>

namespace sarvik::json {

rapidjson::Document parse(std::string_view text) {
    rapidjson::Document document;
    // Iterative: a deeply nested file cannot exhaust the stack.
    constexpr unsigned kFlags =
        rapidjson::kParseValidateEncodingFlag | rapidjson::kParseFullPrecisionFlag | rapidjson::kParseIterativeFlag;
    document.Parse<kFlags>(text.data(), text.size());
    if (document.HasParseError())
        throw DecodeError(std::string("invalid JSON: ") + rapidjson::GetParseError_En(document.GetParseError()));
    return document;
}

ObjectReader::ObjectReader(const rapidjson::Value& value) : m_object(value) {
    if (!value.IsObject()) throw DecodeError("expected an object");
}

const rapidjson::Value* ObjectReader::present(const char* key) const {
    const auto member = m_object.FindMember(key);
    if (member == m_object.MemberEnd() || member->value.IsNull()) return nullptr;
    return &member->value;
}

const rapidjson::Value& ObjectReader::required(const char* key) const {
    const auto member = m_object.FindMember(key);
    if (member == m_object.MemberEnd()) throw DecodeError(std::string("missing key \"") + key + "\"");
    return member->value;
}

namespace {

DecodeError wrongType(const char* key, const char* expected) {
    return DecodeError(std::string("\"") + key + "\" is not " + expected);
}

std::string toString(const rapidjson::Value& v, const char* key) {
    if (!v.IsString()) throw wrongType(key, "a string");
    return std::string(v.GetString(), v.GetStringLength());
}

double toNumber(const rapidjson::Value& v, const char* key) {
    if (!v.IsNumber()) throw wrongType(key, "a number");
    return v.GetDouble();
}

// Accepts integers and whole doubles ("3.0") in the signed 64-bit range.
std::int64_t toInteger(const rapidjson::Value& v, const char* key) {
    if (v.IsInt64()) return v.GetInt64();
    if (v.IsDouble()) {
        const double d = v.GetDouble();
        constexpr double kLimit = 9223372036854775808.0;  // 2^63
        if (std::isfinite(d) && std::trunc(d) == d && d >= -kLimit && d < kLimit) return static_cast<std::int64_t>(d);
    }
    throw wrongType(key, "an integer");
}

Uuid toUuid(const rapidjson::Value& v, const char* key) {
    auto id = Uuid::parse(toString(v, key));
    if (!id) throw wrongType(key, "a UUID");
    return *id;
}

}  // namespace

std::string ObjectReader::string(const char* key) const { return toString(required(key), key); }
double ObjectReader::number(const char* key) const { return toNumber(required(key), key); }
std::int64_t ObjectReader::integer(const char* key) const { return toInteger(required(key), key); }
Uuid ObjectReader::uuid(const char* key) const { return toUuid(required(key), key); }
Date ObjectReader::date(const char* key) const { return Date{number(key)}; }

bool ObjectReader::boolean(const char* key) const {
    const auto& v = required(key);
    if (!v.IsBool()) throw wrongType(key, "a Boolean");
    return v.GetBool();
}

const rapidjson::Value& ObjectReader::array(const char* key) const {
    const auto& v = required(key);
    if (!v.IsArray()) throw wrongType(key, "an array");
    return v;
}

const rapidjson::Value& ObjectReader::object(const char* key) const {
    const auto& v = required(key);
    if (!v.IsObject()) throw wrongType(key, "an object");
    return v;
}

std::optional<std::string> ObjectReader::optionalString(const char* key) const {
    if (const auto* v = present(key)) return toString(*v, key);
    return std::nullopt;
}
std::optional<double> ObjectReader::optionalNumber(const char* key) const {
    if (const auto* v = present(key)) return toNumber(*v, key);
    return std::nullopt;
}
std::optional<std::int64_t> ObjectReader::optionalInteger(const char* key) const {
    if (const auto* v = present(key)) return toInteger(*v, key);
    return std::nullopt;
}
std::optional<Uuid> ObjectReader::optionalUuid(const char* key) const {
    if (const auto* v = present(key)) return toUuid(*v, key);
    return std::nullopt;
}
std::optional<Date> ObjectReader::optionalDate(const char* key) const {
    if (const auto* v = present(key)) return Date{toNumber(*v, key)};
    return std::nullopt;
}

Writer::Writer() : m_writer(m_buffer) {}

Writer& Writer::check(bool written) {
    if (!written) m_ok = false;
    return *this;
}

Writer& Writer::beginObject() { return check(m_writer.StartObject()); }
Writer& Writer::endObject() { return check(m_writer.EndObject()); }
Writer& Writer::beginArray() { return check(m_writer.StartArray()); }
Writer& Writer::endArray() { return check(m_writer.EndArray()); }

Writer& Writer::key(std::string_view name) {
    return check(m_writer.Key(name.data(), static_cast<rapidjson::SizeType>(name.size())));
}

Writer& Writer::value(std::string_view text) {
    return check(m_writer.String(text.data(), static_cast<rapidjson::SizeType>(text.size())));
}

Writer& Writer::value(double number) {
    if (!std::isfinite(number)) return check(false);
    return check(m_writer.Double(number));
}

Writer& Writer::value(std::int64_t number) { return check(m_writer.Int64(number)); }
Writer& Writer::value(bool flag) { return check(m_writer.Bool(flag)); }
Writer& Writer::value(const Uuid& id) { return value(std::string_view(id.toString())); }
Writer& Writer::value(Date date) { return value(date.secondsSinceReference); }

std::optional<std::string> Writer::finish() const {
    if (!m_ok || !m_writer.IsComplete()) return std::nullopt;
    return std::string(m_buffer.GetString(), m_buffer.GetSize());
}

}  // namespace sarvik::json
