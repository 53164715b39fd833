#include "views/downloads/download_file_launcher.h"

#include <gio/gio.h>

#include <iostream>
#include <memory>
#include <string>

namespace sarvik {
namespace {

constexpr int kFileManagerTimeoutMs = 5000;

void openUri(const std::string& uri) {
    GError* error = nullptr;
    if (!g_app_info_launch_default_for_uri(uri.c_str(), nullptr, &error)) {
        std::cerr << "Cannot open " << uri << ": " << (error ? error->message : "unknown error") << '\n';
        g_clear_error(&error);
    }
}

std::string uriOf(const std::filesystem::path& path) {
    gchar* uri = g_filename_to_uri(path.c_str(), nullptr, nullptr);
    std::string text = uri ? uri : "";
    g_free(uri);
    return text;
}

void openFile(const std::filesystem::path& file) { openUri(uriOf(file)); }

// Without a file manager that answers, the folder itself is opened.
void onShown(GObject* bus, GAsyncResult* result, gpointer data) {
    std::unique_ptr<std::string> folderUri(static_cast<std::string*>(data));
    GError* error = nullptr;
    if (GVariant* reply = g_dbus_connection_call_finish(G_DBUS_CONNECTION(bus), result, &error)) {
        g_variant_unref(reply);
        return;
    }
    g_clear_error(&error);
    openUri(*folderUri);
}

void showFileInFolder(const std::filesystem::path& file) {
    auto folderUri = std::make_unique<std::string>(uriOf(file.parent_path()));
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    if (!bus) {
        openUri(*folderUri);
        return;
    }
    const std::string fileUri = uriOf(file);
    const gchar* uris[] = {fileUri.c_str(), nullptr};
    g_dbus_connection_call(bus, "org.freedesktop.FileManager1", "/org/freedesktop/FileManager1",
                           "org.freedesktop.FileManager1", "ShowItems", g_variant_new("(^ass)", uris, ""), nullptr,
                           G_DBUS_CALL_FLAGS_NONE, kFileManagerTimeoutMs, nullptr, onShown, folderUri.release());
    g_object_unref(bus);
}

}  // namespace

DownloadFileLauncher DownloadFileLauncher::desktop() { return {openFile, showFileInFolder}; }

}  // namespace sarvik
