#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Text helpers of the stores.
namespace sarvik {

// Unicode lower case (ICU's full case mapping with root-locale rules, so
// "İ" and "Σ" lower the same way in every locale). ASCII text takes a fast path.
std::string lowerCased(std::string_view text);
void appendLowerCased(std::string& out, std::string_view text);

// True when lowerCased(text) would return the text unchanged.
bool isLowerCased(std::string_view text);

// The text with every byte that is not part of well-formed UTF-8 replaced by
// U+FFFD. The files must hold valid UTF-8 or they cannot be read back, so text
// from outside (page titles, addresses) goes through this before it is kept.
std::string validUtf8(std::string_view text);

// Titles come from pages and files and can be any length; what is shown and
// kept holds at most this many characters (code points).
inline constexpr std::size_t kMaximumTitleCharacters = 1000;

// The title as every store keeps it and every tab shows it: validUtf8(), then
// cut after kMaximumTitleCharacters characters, never inside one.
std::string storedTitle(std::string_view title);

// True when the text is well-formed UTF-8 (no overlong forms, surrogates or
// code points above U+10FFFF).
bool isValidUtf8(std::string_view text);

}  // namespace sarvik
