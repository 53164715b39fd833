#pragma once

#include <string_view>
#include <vector>

namespace sarvik {

// A key of the main window that no menu item carries: what it does, as the Keyboard Shortcuts window
// lists it, and its triggers in GTK's trigger syntax ("|" between alternatives). One table, so the
// window's keys and their list cannot drift apart.
struct WindowKey {
    std::string_view title;
    std::string_view triggers;
};

namespace window_keys {
inline constexpr WindowKey kNextTab{"Next tab", "<Control>Tab|<Control>Page_Down"};
inline constexpr WindowKey kPreviousTab{"Previous tab", "<Control><Shift>ISO_Left_Tab|<Control><Shift>Tab|<Control>Page_Up"};
inline constexpr WindowKey kMoveTabRight{"Move the tab right", "<Control><Shift>Page_Down"};
inline constexpr WindowKey kMoveTabLeft{"Move the tab left", "<Control><Shift>Page_Up"};
inline constexpr WindowKey kLastTab{"Last tab", "<Alt>9"};
inline constexpr WindowKey kAddressField{"Go to the address field", "<Control>l|F6"};
}  // namespace window_keys

// In the order the Keyboard Shortcuts window lists them; Alt+1 to 8 is one row of its own there.
inline const std::vector<WindowKey>& windowKeys() {
    using namespace window_keys;
    static const std::vector<WindowKey> keys{kNextTab,    kPreviousTab, kMoveTabRight,   kMoveTabLeft,
                                             {"Tab 1 to 8", "<Alt>1...8"}, kLastTab, kAddressField};
    return keys;
}

}  // namespace sarvik
