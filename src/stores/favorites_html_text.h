#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

// The HTML pieces the bookmark file reader and writer need: a forgiving tag
// scanner, entity decoding and escaping.
namespace sarvik::favorites_html {

struct Tag {
    std::string name;  // lower case
    bool closing = false;
    std::string_view attributes;  // the raw text after the name
};

// Calls onTag for each tag and onText for each run of text between them, in
// order. Comments, declarations and processing instructions are skipped; a
// '<' that begins no tag is text. A tag or comment cut off by the end of the
// text is dropped.
void scanHtml(std::string_view text, const std::function<void(const Tag&)>& onTag,
              const std::function<void(std::string_view)>& onText);

// The entity-decoded value of an attribute (name in lower case), if present.
std::optional<std::string> attributeValue(std::string_view attributes, std::string_view name);

// &amp; &lt; &gt; &quot; &apos; &#39; &nbsp; and numeric references; a
// reference to no character (0, a surrogate, beyond U+10FFFF) becomes U+FFFD;
// unknown names stay as written.
std::string decodedEntities(std::string_view text);

// Entities decoded, invalid UTF-8 replaced, control characters and runs of
// white space made one space, trimmed.
std::string collapsedText(std::string_view raw);
// Only the control characters and white space of that.
std::string collapsedWhitespace(std::string_view text);

// An address with surrounding white space removed.
std::string trimmedAddress(std::string_view address);

// & < > " and ' as entities, for text and attribute values alike.
std::string escapedText(std::string_view text);

bool equalsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace sarvik::favorites_html
