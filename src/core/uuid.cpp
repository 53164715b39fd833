#include "core/uuid.h"

#include <array>
#include <cstring>
#include <random>

namespace sarvik {
namespace {

constexpr std::array<std::int8_t, 256> kHexValues = [] {
    std::array<std::int8_t, 256> values{};
    values.fill(-1);
    for (int c = 0; c < 10; ++c) values['0' + c] = static_cast<std::int8_t>(c);
    for (int c = 0; c < 6; ++c) values['a' + c] = values['A' + c] = static_cast<std::int8_t>(10 + c);
    return values;
}();

int hexValue(char c) { return kHexValues[static_cast<unsigned char>(c)]; }

std::mt19937_64& generator() {
    // Seeded once from the system's entropy source; identities only need to be unique.
    thread_local std::mt19937_64 engine{[] {
        std::random_device device;
        std::seed_seq seed{device(), device(), device(), device(), device(), device()};
        return std::mt19937_64{seed};
    }()};
    return engine;
}

}  // namespace

Uuid Uuid::random() {
    Uuid id;
    const std::uint64_t high = generator()();
    const std::uint64_t low = generator()();
    std::memcpy(id.m_bytes.data(), &high, 8);
    std::memcpy(id.m_bytes.data() + 8, &low, 8);
    id.m_bytes[6] = static_cast<std::uint8_t>((id.m_bytes[6] & 0x0F) | 0x40);  // version 4
    id.m_bytes[8] = static_cast<std::uint8_t>((id.m_bytes[8] & 0x3F) | 0x80);  // RFC 4122 variant
    return id;
}

// Straight-line over fixed positions: a large history file holds one UUID per entry.
std::optional<Uuid> Uuid::parse(std::string_view text) {
    static constexpr std::size_t kPairStarts[16] = {0, 2, 4, 6, 9, 11, 14, 16, 19, 21, 24, 26, 28, 30, 32, 34};
    if (text.size() != 36) return std::nullopt;
    for (std::size_t i : {8, 13, 18, 23})
        if (text[i] != '-') return std::nullopt;
    Uuid id;
    for (std::size_t byte = 0; byte < 16; ++byte) {
        const int high = hexValue(text[kPairStarts[byte]]);
        const int low = hexValue(text[kPairStarts[byte] + 1]);
        if ((high | low) < 0) return std::nullopt;
        id.m_bytes[byte] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return id;
}

std::string Uuid::toString() const {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(36);
    for (std::size_t i = 0; i < m_bytes.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) text.push_back('-');
        text.push_back(kDigits[m_bytes[i] >> 4]);
        text.push_back(kDigits[m_bytes[i] & 0x0F]);
    }
    return text;
}

bool Uuid::isNil() const {
    for (auto b : m_bytes)
        if (b != 0) return false;
    return true;
}

}  // namespace sarvik

std::size_t std::hash<sarvik::Uuid>::operator()(const sarvik::Uuid& id) const noexcept {
    std::uint64_t a, b;
    std::memcpy(&a, id.bytes().data(), 8);
    std::memcpy(&b, id.bytes().data() + 8, 8);
    return std::hash<std::uint64_t>{}(a ^ (b * 0x9E3779B97F4A7C15ULL));
}
