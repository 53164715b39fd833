#pragma once

#include "core/url.h"

#include <filesystem>
#include <string>
#include <vector>

namespace sarvik {

// Turns the words given on the command line into addresses to open, in order.
// A word naming an existing file or folder (relative to `workingDirectory`)
// opens as its file:// address; a word with a scheme opens as written; any
// other word goes through the address field's rule (so "example.com" opens
// https://example.com). Words that start with "-" are options, which the
// browser has none of: they are skipped, so nothing on the command line
// changes a setting. After "--" every word is an address.
std::vector<Url> commandLineAddresses(const std::vector<std::string>& words,
                                      const std::filesystem::path& workingDirectory, std::string_view searchPrefix);

}  // namespace sarvik
