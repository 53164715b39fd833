#include "views/scrapbook_archive_opener.h"

#include "core/notification_center.h"
#include "core/notification_names.h"
#include "web/scrapbook_scheme.h"

namespace sarvik {

ScrapbookArchiveOpener::ScrapbookArchiveOpener(BrowserState& browserState) : m_browserState(browserState) {
    m_subscription = NotificationCenter::defaultCenter().subscribe(
        notifications::kLoadScrapbookArchive, [this](const Notification& notification) {
            const auto data = notification.userInfo.find("data");
            if (data == notification.userInfo.end() || data->second.empty() || !m_browserState.activeTab()) return;
            // Each opening is an address of its own, so the engine never shows a stale copy.
            const Url address = ScrapbookScheme::shared().publish(Uuid::random(), data->second);
            m_browserState.navigationCommand = NavigationCommand::load(address);
        });
}

}  // namespace sarvik
