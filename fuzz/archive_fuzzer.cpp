// The saved-page archive readers on arbitrary bytes: the stylesheet placing
// only ever inserts whole parts in one place and keeps every other byte, and
// the header reading of lost archives gives one line of valid UTF-8.
#include "fuzz_support.h"

#include "stores/scrapbook_store.h"
#include "stores/store_text.h"
#include "web/imported_stylesheets.h"

#include <algorithm>
#include <string>

namespace {

// True when `after` is `before` with one run of bytes inserted somewhere (or none).
bool isOneInsertion(std::string_view before, std::string_view after) {
    if (after.size() < before.size()) return false;
    const auto prefix = static_cast<std::size_t>(
        std::mismatch(before.begin(), before.end(), after.begin()).first - before.begin());
    const auto suffix = static_cast<std::size_t>(
        std::mismatch(before.rbegin(), before.rend(), after.rbegin()).first - before.rbegin());
    return prefix + suffix >= before.size();
}

void checkHeaderValue(std::string_view head, std::string_view name) {
    const std::string value = sarvik::archiveHeaderValue(head, name);
    FUZZ_CHECK(sarvik::isValidUtf8(value));
    FUZZ_CHECK(value.find('\n') == std::string::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view archive = bytesOf(data, size);
    const std::string placed = sarvik::placeImportedStylesheets(std::string(archive));
    FUZZ_CHECK(isOneInsertion(archive, placed));
    checkHeaderValue(archive, "Subject");
    checkHeaderValue(archive, "Content-Location");
    return 0;
}
