#include "app/renderer_choice.h"
#include "app/sarvik_browser_app.h"

int main(int argc, char* argv[]) {
    sarvik::choosePreferredRenderer();
    auto app = sarvik::SarvikBrowserApp::create();
    return app->run(argc, argv);
}
