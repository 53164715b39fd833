#include "views/explorer_bar/scrapbook/scrapbook_archive_opener.h"

#include "core/notification_center.h"
#include "web/scrapbook_scheme.h"

namespace sarvik {
namespace {

std::string entry(const Notification& notification, const std::string& key) {
    const auto found = notification.userInfo.find(key);
    return found == notification.userInfo.end() ? std::string() : found->second;
}

}  // namespace

ScrapbookArchiveOpener::ScrapbookArchiveOpener(BrowserState& browserState, const ScrapbookStore& store)
    : m_browserState(browserState), m_store(ScrapbookScheme::shared().addStore(store)) {}

void ScrapbookArchiveOpener::open(const Notification& notification) {
    std::string data = entry(notification, "data");
    if (data.empty() || !m_browserState.activeTab()) return;
    // Bytes that name no item still open, at an address of their own.
    const Uuid id = Uuid::parse(entry(notification, "id")).value_or(Uuid::random());
    const Url address = ScrapbookScheme::shared().publish(id, {std::move(data), entry(notification, "url")});
    m_browserState.navigationCommand = NavigationCommand::load(address);
}

}  // namespace sarvik
