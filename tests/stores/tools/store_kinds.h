#pragma once

#include "core/atomic_file.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace sarvik::testing {

// One store of any kind, seen as a list of titles "item-0", "item-1", ...
// that grows by one whole save at a time.
class StoreKind {
public:
    virtual ~StoreKind() = default;
    // The titles of the entries this test added, in list order.
    virtual std::vector<std::string> itemTitles() const = 0;
    // Adds "item-N" (N = the number already there) and saves.
    virtual void addNext() = 0;
    virtual std::filesystem::path file() const = 0;
};

inline const std::vector<std::string> kStoreKinds{"favorites", "history", "scrapbook", "auctions"};

// kind: "favorites", "history", "scrapbook" or "auctions"; nothing for others.
// Saves go through `files`.
std::unique_ptr<StoreKind> openStoreKind(const std::string& kind, const std::filesystem::path& dir,
                                         FileLayer& files = FileLayer::system());

// The name of the file a kind keeps its list in, inside the data folder.
std::string storeFileName(const std::string& kind);

// "item-0" .. "item-(count-1)".
inline std::vector<std::string> itemTitles(std::size_t count) {
    std::vector<std::string> list;
    for (std::size_t i = 0; i < count; ++i) list.push_back("item-" + std::to_string(i));
    return list;
}

// Whether a file whose name contains `part` is anywhere under `dir`.
inline bool hasFileNamed(const std::filesystem::path& dir, const std::string& part) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir))
        if (entry.path().filename().string().find(part) != std::string::npos) return true;
    return false;
}

}  // namespace sarvik::testing
