#pragma once

#include "core/browser_state.h"
#include "core/notification_center.h"
#include "core/scoped_connection.h"
#include "stores/scrapbook_store.h"

namespace sarvik {

// The answer to "loadScrapbookArchive" (open()): the archive's bytes are shown in the active
// tab, offline, at the item's own "scrapbook:" address (never the page's
// original address, which the notification also carries), the same at every
// opening. While it lives, the window's scrapbook also answers such addresses
// when they are typed or bookmarked. Nothing happens without an active tab or
// without bytes.
class ScrapbookArchiveOpener {
public:
    ScrapbookArchiveOpener(BrowserState& browserState, const ScrapbookStore& store);

    void open(const Notification& notification);

private:
    BrowserState& m_browserState;
    ScopedConnection m_store;
};

}  // namespace sarvik
