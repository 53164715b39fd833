#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace sarvik {

// The name a download is saved under, made safe from whatever the server or
// page suggested: only the last path component (no '/' or '\' survives, so no
// "../" leads out of the folder), no control characters, no leading dots (no
// hidden file, no "." or ".."), no trailing dots or spaces, valid UTF-8, at
// most kMaximumDownloadNameBytes bytes with the extension kept. Nothing usable
// left gives "download".
std::string sanitizedDownloadName(std::string_view suggested);

inline constexpr std::size_t kMaximumDownloadNameBytes = 200;  // leaves room for " (N)" and ".part"

// "name.ext" when `taken` says it is free, else the first free of
// "name (1).ext", "name (2).ext", ... ("name (N)" without an extension).
std::string uniqueDownloadName(const std::string& name, const std::function<bool(const std::string&)>& taken);

// The name a download is written to while it runs.
std::string partialDownloadName(const std::string& name);

}  // namespace sarvik
