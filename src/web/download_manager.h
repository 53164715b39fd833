#pragma once

#include "stores/download_list.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

typedef struct _WebKitDownload WebKitDownload;

namespace sarvik {

// The user's download folder: the XDG download folder, or ~/Downloads where
// none is configured.
std::filesystem::path defaultDownloadFolder();

// Saves the downloads of the web views' network session into one folder and
// records them in a DownloadList. Each is written under its partial name
// ("name.ext.part") and renamed to a free final name only once complete, so a
// failed or cancelled download leaves nothing under a final name; its partial
// file is removed. No existing file is ever replaced.
//
// One per application, main thread only. Downloads still running when it
// goes are cancelled; nothing they do afterwards reaches it.
class DownloadManager {
public:
    DownloadManager(DownloadList& list, std::filesystem::path folder);
    ~DownloadManager();
    DownloadManager(const DownloadManager&) = delete;
    DownloadManager& operator=(const DownloadManager&) = delete;

    const DownloadList& list() const { return m_list; }
    DownloadList& list() { return m_list; }
    const std::filesystem::path& folder() const { return m_folder; }

    // Stops a running download; the list then says it was cancelled.
    void cancel(std::uint64_t id);

    struct Transfer;

private:
    void adopt(WebKitDownload* download);
    void retire(Transfer* transfer);
    std::set<std::string> namesChosenBesides(const Transfer* transfer) const;

    DownloadList& m_list;
    const std::filesystem::path m_folder;
    std::vector<std::unique_ptr<Transfer>> m_transfers;
    // Work queued on the main loop holds this weakly and does nothing once the manager has gone.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
    struct SessionLink;
    std::unique_ptr<SessionLink> m_session;  // last: disconnected first
};

}  // namespace sarvik
