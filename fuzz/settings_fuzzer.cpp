// The settings file reader on arbitrary bytes; read, write, read gives the same settings, and writing those
// gives the same text again.
#include "fuzz_support.h"

#include "stores/settings_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto loaded = sarvik::readSettingsText(bytesOf(data, size));
    if (!loaded) return 0;
    FUZZ_CHECK(loaded->pageZoom >= sarvik::kMinimumZoom && loaded->pageZoom <= sarvik::kMaximumZoom);
    const std::string saved = sarvik::settingsText(*loaded);
    const auto reloaded = sarvik::readSettingsText(saved);
    FUZZ_CHECK(reloaded && *reloaded == *loaded);
    FUZZ_CHECK(sarvik::settingsText(*reloaded) == saved);
    return 0;
}
