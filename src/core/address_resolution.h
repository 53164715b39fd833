#pragma once

#include <string>
#include <string_view>

namespace sarvik {

// Trims the Unicode whitespace-and-newline set from both ends of UTF-8 text.
std::string trimWhitespaceAndNewlines(std::string_view text);

// Percent-encodes everything outside the URL-query-allowed set (ASCII letters,
// digits and -._~!$&'()*+,;=:@/?), one %XX (upper-case hex) per UTF-8 byte.
std::string percentEncodeQuery(std::string_view text);

// The address field's rule, for text without a space: a "scheme://" or
// "about:" address is used as written; "host:port", localhost and IP
// literals get http:// in front; other text with a full stop gets https://.
// Anything else is a search, appended encoded to searchPrefix. Returns the URL text.
std::string resolveAddressText(std::string_view typed, std::string_view searchPrefix);

}  // namespace sarvik
