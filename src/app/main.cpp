#include "app/accessibility_choice.h"
#include "app/renderer_choice.h"
#include "app/sarvik_browser_app.h"

int main(int argc, char* argv[]) {
    sarvik::choosePreferredRenderer();
    sarvik::leaveAccessibilityOffWithoutSessionBus();
    auto app = sarvik::SarvikBrowserApp::create();
    return app->exitStatus(app->run(argc, argv));
}
