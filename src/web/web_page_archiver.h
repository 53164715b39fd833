#pragma once

#include "stores/page_archiver.h"
#include "web/gobject_handle.h"

typedef struct _WebKitWebView WebKitWebView;

namespace sarvik {

// Archives the page a web view shows as MHTML (a multipart/related document
// holding the page and its subresources), through the engine's asynchronous
// save. Each request keeps its own reference to the view and its completion,
// so the archiver may go at once and the view may be closed meanwhile: the
// completion still runs exactly once, on the main loop, with an error then.
class WebPageArchiver : public PageArchiver {
public:
    explicit WebPageArchiver(WebKitWebView* view);

    void createArchive(Completion completion) override;

private:
    GObjectRef<WebKitWebView> m_view;
};

}  // namespace sarvik
