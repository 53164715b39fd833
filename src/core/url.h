#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sarvik {

// A parsed absolute URL (strict RFC 3986, through GLib's GUri). Its absolute
// string is the text that tabs, the address field and history show.
// A host written in non-ASCII letters is converted to its IDNA form, and
// non-ASCII bytes elsewhere are percent-encoded, so typed international
// addresses load instead of being dropped.
class Url {
public:
    static std::optional<Url> parse(std::string_view text);

    const std::string& absoluteString() const { return m_absolute; }
    const std::string& scheme() const { return m_scheme; }
    const std::string& host() const { return m_host; }

    friend bool operator==(const Url& a, const Url& b) { return a.m_absolute == b.m_absolute; }
    // Equal, or the same but for an empty path where the engine reports "/" ("http://a.example"
    // as typed and "http://a.example/" as loaded).
    bool isSameAddress(const Url& other) const;

private:
    std::string m_absolute;
    std::string m_scheme;
    std::string m_host;
};

}  // namespace sarvik
