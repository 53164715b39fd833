#include "web/page_finder.h"

#include <webkit/webkit.h>

namespace sarvik {
namespace {

void onCountedMatches(WebKitFindController*, guint count, gpointer data) {
    static_cast<PageFinder*>(data)->engineCounted(count);
}

void onFoundText(WebKitFindController*, guint, gpointer data) { static_cast<PageFinder*>(data)->engineFound(); }

void onFailedToFindText(WebKitFindController*, gpointer data) { static_cast<PageFinder*>(data)->engineFailed(); }

void onLoadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer data) {
    if (event == WEBKIT_LOAD_FINISHED) static_cast<PageFinder*>(data)->pageLoaded();
}

guint32 optionsFor(bool matchCase) {
    guint32 options = WEBKIT_FIND_OPTIONS_WRAP_AROUND;
    if (!matchCase) options |= WEBKIT_FIND_OPTIONS_CASE_INSENSITIVE;
    return options;
}

// Asking for one more than the limit tells "exactly the limit" from "more".
constexpr guint kEngineMaxCount = FindMatchPosition::kMaxCount + 1;

}  // namespace

PageFinder::PageFinder(WebKitWebView* view) : m_view(GObjectRef<WebKitWebView>::adopt(WEBKIT_WEB_VIEW(g_object_ref(view)))) {
    WebKitFindController* find = controller();
    m_handlers.emplace_back(find, g_signal_connect(find, "counted-matches", G_CALLBACK(onCountedMatches), this));
    m_handlers.emplace_back(find, g_signal_connect(find, "found-text", G_CALLBACK(onFoundText), this));
    m_handlers.emplace_back(find, g_signal_connect(find, "failed-to-find-text", G_CALLBACK(onFailedToFindText), this));
    m_handlers.emplace_back(view, g_signal_connect(view, "load-changed", G_CALLBACK(onLoadChanged), this));
}

// A new page has new matches: the open search starts again on it.
void PageFinder::pageLoaded() {
    if (!m_text.empty()) search(std::string(m_text), m_matchCase);
}

PageFinder::~PageFinder() {
    m_handlers.clear();
    if (!m_text.empty()) webkit_find_controller_search_finish(controller());
}

WebKitFindController* PageFinder::controller() const { return webkit_web_view_get_find_controller(m_view.get()); }

void PageFinder::search(const std::string& text, bool matchCase) {
    if (text.empty()) {
        finish();
        return;
    }
    m_text = text;
    m_matchCase = matchCase;
    m_position.startSearch();
    ++m_pendingCounts;
    ++m_pendingSearches;
    webkit_find_controller_count_matches(controller(), text.c_str(), optionsFor(matchCase), kEngineMaxCount);
    webkit_find_controller_search(controller(), text.c_str(), optionsFor(matchCase), kEngineMaxCount);
    m_changed.emit();
}

void PageFinder::next() {
    if (m_text.empty() || m_position.total() == 0u) return;
    m_position.stepForward();
    ++m_pendingSearches;
    webkit_find_controller_search_next(controller());
    m_changed.emit();
}

void PageFinder::previous() {
    if (m_text.empty() || m_position.total() == 0u) return;
    m_position.stepBack();
    ++m_pendingSearches;
    webkit_find_controller_search_previous(controller());
    m_changed.emit();
}

void PageFinder::finish() {
    const bool wasSearching = !m_text.empty();
    m_text.clear();
    m_position.clear();
    m_pendingCounts = 0;
    m_pendingSearches = 0;
    if (wasSearching) webkit_find_controller_search_finish(controller());
    m_changed.emit();
}

// Answers arrive in the order of the requests; only the answer to the
// latest search counts, the ones before it belong to texts typed over since.
void PageFinder::engineCounted(unsigned count) {
    if (m_pendingCounts > 0) --m_pendingCounts;
    if (m_text.empty() || m_pendingCounts > 0) return;
    m_position.countArrived(count);
    m_changed.emit();
}

void PageFinder::engineFound() {
    if (m_pendingSearches > 0) --m_pendingSearches;
}

void PageFinder::engineFailed() {
    if (m_pendingSearches > 0) --m_pendingSearches;
    if (m_text.empty() || m_pendingSearches > 0) return;
    m_position.notFound();
    m_changed.emit();
}

}  // namespace sarvik
