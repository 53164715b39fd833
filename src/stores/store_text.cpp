#include "stores/store_text.h"

#include <unicode/bytestream.h>
#include <unicode/casemap.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace sarvik {
namespace {

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Length of the well-formed UTF-8 sequence at the start of `text`, or 0.
std::size_t sequenceLength(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
    const std::uint8_t lead = byte(0);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    std::uint8_t low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // no overlong forms
        if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
    return length;
}

}  // namespace

std::string lowerCased(std::string_view text) {
    std::string lowered;
    appendLowerCased(lowered, text);
    return lowered;
}

void appendLowerCased(std::string& out, std::string_view text) {
    if (isAscii(text)) {
        const std::size_t start = out.size();
        out.append(text);
        for (std::size_t i = start; i < out.size(); ++i)
            if (out[i] >= 'A' && out[i] <= 'Z') out[i] = static_cast<char>(out[i] - 'A' + 'a');
        return;
    }
    const std::size_t start = out.size();
    icu::StringByteSink<std::string> sink(&out, static_cast<int32_t>(text.size()));
    UErrorCode status = U_ZERO_ERROR;
    icu::CaseMap::utf8ToLower("", 0, icu::StringPiece(text.data(), static_cast<int32_t>(text.size())), sink, nullptr,
                              status);
    if (U_FAILURE(status)) out.replace(start, std::string::npos, text);
}

bool isLowerCased(std::string_view text) {
    bool isAsciiText = true;
    for (char c : text) {
        if (c >= 'A' && c <= 'Z') return false;
        if (static_cast<unsigned char>(c) >= 0x80) isAsciiText = false;
    }
    return isAsciiText || lowerCased(text) == text;
}

bool isValidUtf8(std::string_view text) {
    while (!text.empty()) {
        // Whole words of ASCII at a time: almost all of a history file is ASCII.
        std::uint64_t word;
        if (text.size() >= sizeof word) {
            std::memcpy(&word, text.data(), sizeof word);
            if ((word & 0x8080808080808080ULL) == 0) {
                text.remove_prefix(sizeof word);
                continue;
            }
        }
        const std::size_t length = sequenceLength(text);
        if (length == 0) return false;
        text.remove_prefix(length);
    }
    return true;
}

std::string validUtf8(std::string_view text) {
    if (isValidUtf8(text)) return std::string(text);
    std::string result;
    result.reserve(text.size());
    while (!text.empty()) {
        const std::size_t length = sequenceLength(text);
        if (length == 0) {
            result += "\xEF\xBF\xBD";
            text.remove_prefix(1);
        } else {
            result.append(text.substr(0, length));
            text.remove_prefix(length);
        }
    }
    return result;
}

std::string storedTitle(std::string_view title) {
    std::string text = validUtf8(title);
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool startsCharacter = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
        if (startsCharacter && ++characters > kMaximumTitleCharacters) {
            text.resize(i);
            break;
        }
    }
    return text;
}

}  // namespace sarvik
