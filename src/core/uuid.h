#pragma once

#include <array>
#include <compare>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace sarvik {

// A record identity: a random (version 4) UUID, written as 36 upper-case
// hexadecimal characters with hyphens. Parsing accepts either letter case.
class Uuid {
public:
    Uuid() = default;  // the nil UUID

    static Uuid random();
    static std::optional<Uuid> parse(std::string_view text);

    std::string toString() const;
    bool isNil() const;
    const std::array<std::uint8_t, 16>& bytes() const { return m_bytes; }

    friend auto operator<=>(const Uuid&, const Uuid&) = default;

private:
    std::array<std::uint8_t, 16> m_bytes{};
};

}  // namespace sarvik

template <>
struct std::hash<sarvik::Uuid> {
    std::size_t operator()(const sarvik::Uuid& id) const noexcept;
};
