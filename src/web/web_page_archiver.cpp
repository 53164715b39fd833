#include "web/web_page_archiver.h"

#include <gio/gio.h>
#include <webkit/webkit.h>

#include <memory>
#include <utility>

namespace sarvik {
namespace {

struct SaveRequest {
    PageArchiver::Completion completion;
};

// The engine hands back a stream; an archive is small enough to collect at once.
std::optional<std::string> readAll(GInputStream* stream, GError** error) {
    auto sink = GObjectRef<GOutputStream>::adopt(g_memory_output_stream_new_resizable());
    const gssize copied = g_output_stream_splice(
        sink.get(), stream,
        static_cast<GOutputStreamSpliceFlags>(G_OUTPUT_STREAM_SPLICE_CLOSE_SOURCE | G_OUTPUT_STREAM_SPLICE_CLOSE_TARGET),
        nullptr, error);
    if (copied < 0) return std::nullopt;
    auto* memory = G_MEMORY_OUTPUT_STREAM(sink.get());
    const auto* data = static_cast<const char*>(g_memory_output_stream_get_data(memory));
    return std::string(data ? data : "", g_memory_output_stream_get_data_size(memory));
}

void onSaved(GObject* source, GAsyncResult* result, gpointer data) {
    std::unique_ptr<SaveRequest> request(static_cast<SaveRequest*>(data));
    GError* error = nullptr;
    auto stream = GObjectRef<GInputStream>::adopt(webkit_web_view_save_finish(WEBKIT_WEB_VIEW(source), result, &error));
    std::optional<std::string> bytes;
    if (stream) bytes = readAll(stream.get(), &error);
    if (bytes && bytes->empty()) bytes.reset();
    std::string description;
    if (!bytes) description = error ? error->message : "The engine returned no archive.";
    if (error) g_error_free(error);
    request->completion(std::move(bytes), std::move(description));
}

}  // namespace

WebPageArchiver::WebPageArchiver(WebKitWebView* view)
    : m_view(GObjectRef<WebKitWebView>::retain(view)) {}

void WebPageArchiver::createArchive(Completion completion) {
    if (!m_view) {
        completion(std::nullopt, "There is no page to archive.");
        return;
    }
    // The engine's task holds the view until it reports; the request holds the rest.
    webkit_web_view_save(m_view.get(), WEBKIT_SAVE_MODE_MHTML, nullptr, onSaved,
                         new SaveRequest{std::move(completion)});
}

}  // namespace sarvik
