#include "app/sarvik_browser_app.h"

int main(int argc, char* argv[]) {
    auto app = sarvik::SarvikBrowserApp::create();
    return app->run(argc, argv);
}
