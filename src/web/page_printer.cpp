#include "web/page_printer.h"

#include <webkit/webkit.h>

#include <memory>

namespace sarvik::page_printing {
namespace {

// One running print-to-file job; it keeps its operation until the engine is done.
struct PdfJob {
    GObjectRef<WebKitPrintOperation> operation;
    std::function<void(bool)> done;
    bool failed = false;
};

void onFailed(WebKitPrintOperation*, GError*, gpointer data) { static_cast<PdfJob*>(data)->failed = true; }

// The engine emits "finished" last, after a failure too.
void onFinished(WebKitPrintOperation*, gpointer data) {
    std::unique_ptr<PdfJob> job(static_cast<PdfJob*>(data));
    g_signal_handlers_disconnect_by_data(job->operation.get(), job.get());
    if (job->done) job->done(!job->failed);
}

}  // namespace

GObjectRef<WebKitPrintOperation> createOperation(WebKitWebView* view) {
    return GObjectRef<WebKitPrintOperation>::adopt(webkit_print_operation_new(view));
}

void runDialog(WebKitWebView* view, GtkWindow* parent) {
    // The operation's own reference ends with this call; the engine keeps
    // what it needs for a print job that is still running.
    auto operation = createOperation(view);
    webkit_print_operation_run_dialog(operation.get(), parent);
}

void printToPdf(WebKitWebView* view, const std::filesystem::path& file, std::function<void(bool)> done) {
    auto* job = new PdfJob{createOperation(view), std::move(done)};
    GtkPrintSettings* settings = gtk_print_settings_new();
    gtk_print_settings_set_printer(settings, "Print to File");
    gtk_print_settings_set(settings, GTK_PRINT_SETTINGS_OUTPUT_FILE_FORMAT, "pdf");
    GError* error = nullptr;
    gchar* uri = g_filename_to_uri(std::filesystem::absolute(file).c_str(), nullptr, &error);
    if (!uri) {
        g_clear_error(&error);
        g_object_unref(settings);
        std::unique_ptr<PdfJob> dropped(job);
        if (dropped->done) dropped->done(false);
        return;
    }
    gtk_print_settings_set(settings, GTK_PRINT_SETTINGS_OUTPUT_URI, uri);
    g_free(uri);
    webkit_print_operation_set_print_settings(job->operation.get(), settings);
    g_object_unref(settings);
    g_signal_connect(job->operation.get(), "failed", G_CALLBACK(onFailed), job);
    g_signal_connect(job->operation.get(), "finished", G_CALLBACK(onFinished), job);
    webkit_print_operation_print(job->operation.get());
}

}  // namespace sarvik::page_printing
