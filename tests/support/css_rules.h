#pragma once

#include <string>

namespace sarvik::testing {

// The text between the braces of the first rule whose selector is exactly
// `selector` (at the start of a line), or empty if there is none.
inline std::string cssRuleBody(const std::string& css, const std::string& selector) {
    const std::string head = selector + " {";
    for (auto start = css.find(head); start != std::string::npos; start = css.find(head, start + 1)) {
        if (start != 0 && css[start - 1] != '\n') continue;
        const auto open = start + head.size() - 1;
        return css.substr(open + 1, css.find('}', open) - open - 1);
    }
    return {};
}

}  // namespace sarvik::testing
