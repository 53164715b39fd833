#include "core/json.h"

#include <rapidjson/encodedstream.h>
#include <rapidjson/error/en.h>
#include <rapidjson/memorystream.h>
#include <rapidjson/reader.h>

#include <locale.h>

#include <charconv>
#include <cstring>
#include <string>

#include <cmath>
#include <limits>

namespace sarvik::json {

namespace {

// RapidJSON turns a "\uDC00".."\uDFFF" escape with no high surrogate ahead
// into the surrogate's three bytes, which are no UTF-8: written back, the file
// could not be read again. Each of its bytes becomes U+FFFD, as the stores
// mend other text that is not UTF-8. The text itself was checked to be UTF-8,
// so such bytes can only come from an escape.
std::string withoutLoneSurrogates(const char* text, rapidjson::SizeType length) {
    std::string checked(text, length);
    for (std::size_t at = 0; (at = checked.find('\xED', at)) != std::string::npos;) {
        const bool surrogate = at + 2 < checked.size() && static_cast<unsigned char>(checked[at + 1]) >= 0xA0;
        if (surrogate) checked.replace(at, 3, "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
        at += surrogate ? 9 : 3;
    }
    return checked;
}

// Forwards a parse to the document, numbers converted by numberFromText.
class NumberConvertingHandler {
public:
    explicit NumberConvertingHandler(rapidjson::Document& document) : m_document(document) {}
    bool Null() { return m_document.Null(); }
    bool Bool(bool b) { return m_document.Bool(b); }
    bool Int(int i) { return m_document.Int(i); }
    bool Uint(unsigned u) { return m_document.Uint(u); }
    bool Int64(std::int64_t i) { return m_document.Int64(i); }
    bool Uint64(std::uint64_t u) { return m_document.Uint64(u); }
    bool Double(double d) { return m_document.Double(d); }
    bool RawNumber(const char* text, rapidjson::SizeType length, bool) { return forwardNumber(*this, text, length); }
    bool String(const char* text, rapidjson::SizeType length, bool) {
        if (!std::memchr(text, '\xED', length)) return m_document.String(text, length, true);
        const std::string checked = withoutLoneSurrogates(text, length);
        return m_document.String(checked.data(), static_cast<rapidjson::SizeType>(checked.size()), true);
    }
    bool Key(const char* text, rapidjson::SizeType length, bool) {
        if (!std::memchr(text, '\xED', length)) return m_document.Key(text, length, true);
        const std::string checked = withoutLoneSurrogates(text, length);
        return m_document.Key(checked.data(), static_cast<rapidjson::SizeType>(checked.size()), true);
    }
    bool StartObject() { return m_document.StartObject(); }
    bool EndObject(rapidjson::SizeType members) { return m_document.EndObject(members); }
    bool StartArray() { return m_document.StartArray(); }
    bool EndArray(rapidjson::SizeType elements) { return m_document.EndArray(elements); }

private:
    rapidjson::Document& m_document;
};

locale_t cLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

}  // namespace

std::optional<Number> numberFromText(std::string_view text) {
    const char* first = text.data();
    const char* last = first + text.size();
    if (text.find_first_of(".eE") == std::string_view::npos) {
        std::int64_t i = 0;
        if (auto [end, error] = std::from_chars(first, last, i); error == std::errc() && end == last) return i;
        std::uint64_t u = 0;
        if (auto [end, error] = std::from_chars(first, last, u); error == std::errc() && end == last) return u;
    }
    const std::string terminated(text);  // strtod needs a NUL; the C locale reads "." whatever the user's is
    const double d = strtod_l(terminated.c_str(), nullptr, cLocale());
    if (!std::isfinite(d)) return std::nullopt;
    return d;
}

rapidjson::Document parse(std::string_view text) {
    // Iterative: a deeply nested file cannot exhaust the stack.
    constexpr unsigned kFlags = rapidjson::kParseValidateEncodingFlag | rapidjson::kParseNumbersAsStringsFlag |
                                rapidjson::kParseIterativeFlag;
    rapidjson::Document document;
    rapidjson::ParseResult result;
    const auto generator = [&](rapidjson::Document& target) {
        rapidjson::MemoryStream bytes(text.data(), text.size());
        rapidjson::EncodedInputStream<rapidjson::UTF8<>, rapidjson::MemoryStream> stream(bytes);
        NumberConvertingHandler handler(target);
        rapidjson::Reader reader;
        result = reader.Parse<kFlags>(stream, handler);
        return !result.IsError();
    };
    document.Populate(generator);
    if (result.IsError())
        throw DecodeError(std::string("invalid JSON: ") + rapidjson::GetParseError_En(result.Code()));
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
