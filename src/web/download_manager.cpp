#include "web/download_manager.h"

#include "core/data_directory.h"
#include "stores/download_files.h"
#include "stores/download_names.h"
#include "web/gobject_handle.h"
#include "core/main_loop_hop.h"

#include <webkit/webkit.h>

#include <algorithm>
#include <optional>

namespace sarvik {

namespace fs = std::filesystem;

std::filesystem::path defaultDownloadFolder() {
    if (const char* folder = g_get_user_special_dir(G_USER_DIRECTORY_DOWNLOAD); folder && *folder) return folder;
    return fs::path(g_get_home_dir()) / "Downloads";
}

struct DownloadManager::SessionLink {
    static void onDownloadStarted(WebKitNetworkSession*, WebKitDownload* download, gpointer data) {
        static_cast<DownloadManager*>(data)->adopt(download);
    }

    GObjectRef<WebKitNetworkSession> session;
    SignalHandler started;  // after the session it is connected to
};

// One download from the moment the session starts it until it has ended.
struct DownloadManager::Transfer {
    Transfer(DownloadManager& owner, WebKitDownload* webDownload)
        : manager(owner), download(GObjectRef<WebKitDownload>::retain(webDownload)) {}

    void connectSignals();
    void decideDestination(const char* suggested);
    void progressChanged();
    void failed(const GError* error);
    void finished();
    void requestCancel();
    void abandon();
    std::optional<std::string> shortfall() const;
    void removePartialFile() const;
    std::string nameFromAddress() const;

    DownloadManager& manager;
    GObjectRef<WebKitDownload> download;
    std::uint64_t id = 0;  // in the list once its destination is decided
    std::string name;      // the final name chosen, before the move re-checks it
    fs::path partial;
    bool createdPartial = false;  // only a partial file the engine created for this download is ever removed
    bool hasFailed = false;
    bool cancelRequested = false;
    bool cancelled = false;
    bool ended = false;
    std::string failure;
    std::vector<SignalHandler> handlers;  // last: disconnected before the download is released
};

namespace {

using Transfer = DownloadManager::Transfer;

Transfer* transferOf(gpointer data) { return static_cast<Transfer*>(data); }

gboolean onDecideDestination(WebKitDownload*, gchar* suggested, gpointer data) {
    transferOf(data)->decideDestination(suggested);
    return TRUE;
}

void onCreatedDestination(WebKitDownload*, gchar*, gpointer data) { transferOf(data)->createdPartial = true; }

void onProgress(GObject*, GParamSpec*, gpointer data) { transferOf(data)->progressChanged(); }

void onFailed(WebKitDownload*, GError* error, gpointer data) { transferOf(data)->failed(error); }

void onFinished(WebKitDownload*, gpointer data) { transferOf(data)->finished(); }

template <typename Callback>
SignalHandler connect(gpointer instance, const char* signal, Callback callback, gpointer data) {
    return SignalHandler(instance, g_signal_connect(instance, signal, G_CALLBACK(callback), data));
}

}  // namespace

void Transfer::connectSignals() {
    gpointer d = download.get();
    // Never the engine's own overwrite: a name that turns out taken fails instead.
    webkit_download_set_allow_overwrite(download.get(), FALSE);
    handlers.push_back(connect(d, "decide-destination", onDecideDestination, this));
    handlers.push_back(connect(d, "created-destination", onCreatedDestination, this));
    handlers.push_back(connect(d, "notify::estimated-progress", onProgress, this));
    handlers.push_back(connect(d, "failed", onFailed, this));
    handlers.push_back(connect(d, "finished", onFinished, this));
}

void Transfer::decideDestination(const char* suggested) {
    const fs::path& folder = manager.m_folder;
    ensureDirectory(folder);
    name = chooseDownloadName(suggested ? suggested : nameFromAddress(), folder, manager.namesChosenBesides(this));
    partial = folder / partialDownloadName(name);
    webkit_download_set_destination(download.get(), partial.c_str());
    id = manager.m_list.start(name, folder / name);
}

void Transfer::progressChanged() {
    if (id != 0) manager.m_list.setProgress(id, webkit_download_get_estimated_progress(download.get()));
}

void Transfer::failed(const GError* error) {
    hasFailed = true;
    cancelled = cancelRequested || g_error_matches(error, WEBKIT_DOWNLOAD_ERROR, WEBKIT_DOWNLOAD_ERROR_CANCELLED_BY_USER);
    failure = error && error->message ? error->message : "";
}

// The engine ends every download here, a failed one right after "failed".
void Transfer::finished() {
    if (ended) return;
    ended = true;
    DownloadList& list = manager.m_list;
    if (id == 0) id = list.start(sanitizedDownloadName(nameFromAddress()), {});
    if (!hasFailed && !partial.empty()) {
        if (auto missing = shortfall()) {
            hasFailed = true;
            failure = std::move(*missing);
        }
    }
    if (hasFailed || partial.empty()) {
        removePartialFile();
        if (cancelled) list.cancel(id);
        else list.fail(id, failure);
    } else if (const auto file = moveDownloadIntoPlace(partial, manager.m_folder, name, manager.namesChosenBesides(this))) {
        list.finish(id, *file);
    } else {
        list.fail(id, "could not be named " + name + ", kept as " + partial.filename().string());
    }
    manager.retire(this);
}

// The engine reports a body cut short by a closed connection as a success;
// fewer bytes than the response announced is a failure all the same.
std::optional<std::string> Transfer::shortfall() const {
    WebKitURIResponse* response = webkit_download_get_response(download.get());
    if (!response) return std::nullopt;
    const guint64 announced = webkit_uri_response_get_content_length(response);
    SoupMessageHeaders* headers = webkit_uri_response_get_http_headers(response);
    const char* encoding = headers ? soup_message_headers_get_one(headers, "Content-Encoding") : nullptr;
    // A compressed body's announced length is not the length of what was saved.
    if (announced == 0 || (encoding && g_ascii_strcasecmp(encoding, "identity") != 0)) return std::nullopt;
    const guint64 received = webkit_download_get_received_data_length(download.get());
    if (received >= announced) return std::nullopt;
    return "the connection closed after " + std::to_string(received) + " of " + std::to_string(announced) + " bytes";
}

void Transfer::requestCancel() {
    if (ended || cancelRequested) return;
    cancelRequested = true;
    webkit_download_cancel(download.get());
}

void Transfer::abandon() {
    handlers.clear();
    if (ended) return;
    ended = true;
    if (!cancelRequested) webkit_download_cancel(download.get());
    removePartialFile();
    if (id != 0) manager.m_list.cancel(id);
}

void Transfer::removePartialFile() const {
    if (!createdPartial || partial.empty()) return;
    std::error_code ignored;
    fs::remove(partial, ignored);
}

std::string Transfer::nameFromAddress() const {
    WebKitURIRequest* request = webkit_download_get_request(download.get());
    const char* uri = request ? webkit_uri_request_get_uri(request) : nullptr;
    std::string text = uri ? uri : "";
    text = text.substr(0, text.find_first_of("?#"));
    const auto slash = text.rfind('/');
    return slash == std::string::npos ? text : text.substr(slash + 1);
}

DownloadManager::DownloadManager(DownloadList& list, std::filesystem::path folder)
    : m_list(list), m_folder(std::move(folder)), m_session(std::make_unique<SessionLink>()) {
    // The session every web view of the browser uses.
    m_session->session = GObjectRef<WebKitNetworkSession>::retain(webkit_network_session_get_default());
    m_session->started = connect(m_session->session.get(), "download-started", SessionLink::onDownloadStarted, this);
}

DownloadManager::~DownloadManager() {
    m_session.reset();
    m_alive.reset();
    for (auto& transfer : m_transfers) transfer->abandon();
    m_transfers.clear();
}

void DownloadManager::cancel(std::uint64_t id) {
    for (auto& transfer : m_transfers)
        if (transfer->id == id) transfer->requestCancel();
}

void DownloadManager::adopt(WebKitDownload* download) {
    auto transfer = std::make_unique<Transfer>(*this, download);
    transfer->connectSignals();
    m_transfers.push_back(std::move(transfer));
}

void DownloadManager::retire(Transfer* transfer) {
    // Released once the engine's signal has returned, not from inside it.
    transfer->handlers.clear();
    runSoon([this, transfer, token = std::weak_ptr<bool>(m_alive)] {
        if (token.expired()) return;
        std::erase_if(m_transfers, [&](const std::unique_ptr<Transfer>& t) { return t.get() == transfer; });
    });
}

std::set<std::string> DownloadManager::namesChosenBesides(const Transfer* transfer) const {
    std::set<std::string> names;
    for (const auto& other : m_transfers)
        if (other.get() != transfer && !other->ended && !other->name.empty()) names.insert(other->name);
    return names;
}

}  // namespace sarvik
