#pragma once

namespace sarvik {

// GTK 4.8 publishes its accessibility tree under the application's path on the
// session bus. With no session bus that path is null, and once an
// accessibility bus is found anyway (another program's, through the display)
// hiding a window crashes. So without a session bus accessibility stays off,
// unless the user chose GTK_A11Y. Must run before GTK starts.
void leaveAccessibilityOffWithoutSessionBus();

}  // namespace sarvik
