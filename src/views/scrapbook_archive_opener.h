#pragma once

#include "core/browser_state.h"
#include "core/scoped_connection.h"

namespace sarvik {

// Answers "loadScrapbookArchive": the archive's bytes are shown in the active
// tab, offline, at a "scrapbook:" address of their own (never the page's
// original address, which the notification also carries). Nothing happens
// without an active tab or without bytes. Subscribed while it lives.
class ScrapbookArchiveOpener {
public:
    explicit ScrapbookArchiveOpener(BrowserState& browserState);

private:
    BrowserState& m_browserState;
    ScopedConnection m_subscription;
};

}  // namespace sarvik
