#pragma once

#include <string>
#include <string_view>

namespace sarvik {

// A menu entry's label that shows `text` as it is. GTK takes an underscore
// in a menu label for the mark of a mnemonic and drops it, so labels made
// from what the user typed ("Move to my_folder") have each one doubled.
inline std::string literalMenuLabel(std::string_view text) {
    std::string label;
    label.reserve(text.size());
    for (char c : text) {
        if (c == '_') label += '_';
        label += c;
    }
    return label;
}

}  // namespace sarvik
