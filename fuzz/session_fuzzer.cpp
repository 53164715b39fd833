// The session file loader on arbitrary bytes: load, save, load gives equal data, and the tabs it holds
// open in a fresh window as they were kept, the kept active one active.
#include "fuzz_support.h"

#include "core/browser_state.h"
#include "core/json.h"
#include "stores/session_data.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    sarvik::SessionData loaded;
    try {
        loaded = sarvik::decodeSessionData(bytesOf(data, size));
    } catch (const sarvik::json::DecodeError&) {
        return 0;
    }
    const auto saved = sarvik::encodeSessionData(loaded);
    if (!saved) return 0;
    FUZZ_CHECK(sarvik::decodeSessionData(*saved) == loaded);
    if (loaded.tabs.empty()) return 0;
    sarvik::BrowserState state;
    state.restoreTabs(sarvik::tabsOf(loaded), static_cast<std::size_t>(loaded.activePosition));
    const sarvik::SessionData reopened = sarvik::sessionOf(state.tabs.get(), state.activeTabId.get(), false);
    FUZZ_CHECK(reopened.tabs.size() == loaded.tabs.size());
    FUZZ_CHECK(reopened.activePosition == loaded.activePosition);
    for (std::size_t i = 0; i < loaded.tabs.size(); ++i) FUZZ_CHECK(reopened.tabs[i].title == loaded.tabs[i].title);
    return 0;
}
