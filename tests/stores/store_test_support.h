#pragma once

#include "core/json.h"
#include "core/uuid.h"

#include <filesystem>
#include <set>
#include <string>
#include <vector>

// Helpers for the store tests: reading a written file back as JSON.
namespace sarvik::testing {

inline rapidjson::Document parseFile(const std::string& text) { return json::parse(text); }

// The keys of every object in a top-level JSON array, in order of the array.
inline std::vector<std::set<std::string>> keysOfRecords(const rapidjson::Document& array) {
    std::vector<std::set<std::string>> keys;
    for (const auto& record : array.GetArray()) {
        std::set<std::string> names;
        for (const auto& member : record.GetObject()) names.insert(member.name.GetString());
        keys.push_back(std::move(names));
    }
    return keys;
}

inline std::vector<std::filesystem::path> damagedCopies(const std::filesystem::path& file) {
    std::vector<std::filesystem::path> copies;
    for (int n = 1; std::filesystem::exists(file.string() + ".damaged-" + std::to_string(n)); ++n)
        copies.push_back(file.string() + ".damaged-" + std::to_string(n));
    return copies;
}

inline const char* kFolderId = "6A1D2E3F-4B5C-4D6E-8F70-8192A3B4C5D6";
inline const char* kOtherId = "0F8E1A2B-3C4D-4E5F-8A9B-0C1D2E3F4A5B";

}  // namespace sarvik::testing
