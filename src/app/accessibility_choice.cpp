#include "app/accessibility_choice.h"

#include <gio/gio.h>

#include <cstdlib>

namespace sarvik {

void leaveAccessibilityOffWithoutSessionBus() {
    if (std::getenv("GTK_A11Y")) return;
    // The connection is shared: the application registers on this one, so nothing is paid twice.
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    if (bus) {
        g_object_unref(bus);
        return;
    }
    setenv("GTK_A11Y", "none", 1);
}

}  // namespace sarvik
