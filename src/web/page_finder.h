#pragma once

#include "web/find_match_position.h"
#include "web/gobject_handle.h"

#include <sigc++/signal.h>

#include <string>
#include <vector>

typedef struct _WebKitWebView WebKitWebView;
typedef struct _WebKitFindController WebKitFindController;

namespace sarvik {

// Find in page for one web view, through the engine's find controller: it
// highlights the matches, steps between them with wrap-around, and keeps the
// match position (FindMatchPosition) current from the engine's counted and
// found reports. Case-insensitive unless asked otherwise. Ending the search,
// or destroying the finder, removes the highlight from the page.
// A page loaded while a search is open is searched again.
// Main thread only; holds its own reference to the view.
class PageFinder {
public:
    explicit PageFinder(WebKitWebView* view);
    ~PageFinder();
    PageFinder(const PageFinder&) = delete;
    PageFinder& operator=(const PageFinder&) = delete;

    const std::string& text() const { return m_text; }
    const FindMatchPosition& position() const { return m_position; }

    // Starts a new search from the top of the page; an empty text ends it.
    void search(const std::string& text, bool matchCase = false);
    void next();
    void previous();
    void finish();

    // Emitted whenever position() changes.
    sigc::signal<void()>& changed() { return m_changed; }

    // The engine's reports, from its signal handlers.
    void engineCounted(unsigned count);
    void engineFound();
    void engineFailed();
    void pageLoaded();

private:
    friend class WebViewHost;  // tells whether a finder searches its page
    WebKitWebView* webView() const { return m_view.get(); }
    WebKitFindController* controller() const;

    GObjectRef<WebKitWebView> m_view;
    std::string m_text;
    bool m_matchCase = false;
    FindMatchPosition m_position;
    int m_pendingCounts = 0;
    int m_pendingSearches = 0;
    sigc::signal<void()> m_changed;
    std::vector<SignalHandler> m_handlers;
};

}  // namespace sarvik
