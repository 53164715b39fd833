#pragma once

#include <string_view>

typedef struct _WebKitWebView WebKitWebView;

namespace sarvik {

// Keeps a saved page (a "scrapbook:" address) where it is. While a view shows
// one, the page may not move the view by itself: an automatic refresh or any
// other navigation that the user did not start by clicking, going back or
// forward, or reloading is refused, unless the browser asked for that load
// (allowLoad). Forms are refused too. And since the engine leaves the load of
// a subresource that the archive lacks pending for ever, a saved page that is
// still loading a second after it has been shown is stopped.
//
// Attach before any other "decide-policy" handler; once per view, more calls
// do nothing. The guard lives as long as the view.
void guardSavedPages(WebKitWebView* view);

// The browser itself is about to load `uri` in the view.
void allowLoad(WebKitWebView* view, std::string_view uri);

}  // namespace sarvik
