#pragma once

#include <string>
#include <string_view>

namespace sarvik {

// Trims the Unicode whitespace-and-newline set from both ends of UTF-8 text.
std::string trimWhitespaceAndNewlines(std::string_view text);

// Percent-encodes everything outside the URL-query-allowed set (ASCII letters,
// digits and -._~!$&'()*+,;=:@/?), one %XX (upper-case hex) per UTF-8 byte.
std::string percentEncodeQuery(std::string_view text);

// The address field's rule: text with a full stop and no space is an address
// (https:// is put in front unless it starts with http:// or https://);
// anything else is a search, appended encoded to searchPrefix. Returns the URL text.
std::string resolveAddressText(std::string_view typed, std::string_view searchPrefix);

}  // namespace sarvik
