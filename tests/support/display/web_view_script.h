#pragma once

#include <optional>
#include <string>

typedef struct _WebKitWebView WebKitWebView;

namespace sarvik::testing {

// Runs `script` in the page from outside it (an isolated world, so the page's
// own policy does not stop it), waits for the answer and returns it as text;
// none on an error or after the wait.
std::optional<std::string> evaluateInPage(WebKitWebView* view, const std::string& script);

// A PNG of the given size in one colour, for pages with an image.
std::string pngImage(int width, int height);

}  // namespace sarvik::testing
