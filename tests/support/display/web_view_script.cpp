#include "support/display/web_view_script.h"

#include "support/display/gtk_test_environment.h"

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <webkit/webkit.h>

#include <cstdio>

namespace sarvik::testing {
namespace {

struct Answer {
    bool done = false;
    std::optional<std::string> text;
    std::string error;
};

void onEvaluated(GObject* source, GAsyncResult* result, gpointer data) {
    auto* answer = static_cast<Answer*>(data);
    GError* error = nullptr;
    JSCValue* value = webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(source), result, &error);
    if (value) {
        char* text = jsc_value_to_string(value);
        answer->text = text ? text : "";
        g_free(text);
        g_object_unref(value);
    }
    if (error) {
        answer->error = error->message;
        g_error_free(error);
    }
    answer->done = true;
}

}  // namespace

std::optional<std::string> evaluateInPage(WebKitWebView* view, const std::string& script) {
    // Heap-held: the engine may answer after a timed-out wait.
    auto* answer = new Answer;
    webkit_web_view_evaluate_javascript(view, script.c_str(), -1, "sarvik-test", nullptr, nullptr, onEvaluated,
                                        answer);
    runMainLoopUntil([&] { return answer->done; });
    if (!answer->done) return std::nullopt;  // left to the engine's callback
    auto text = answer->text;
    if (!text) std::fprintf(stderr, "script failed: %s\n", answer->error.c_str());
    delete answer;
    return text;
}

std::string pngImage(int width, int height) {
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, FALSE, 8, width, height);
    gdk_pixbuf_fill(pixbuf, 0x3366ccff);
    gchar* buffer = nullptr;
    gsize size = 0;
    gdk_pixbuf_save_to_buffer(pixbuf, &buffer, &size, "png", nullptr, nullptr);
    std::string bytes(buffer ? buffer : "", size);
    g_free(buffer);
    g_object_unref(pixbuf);
    return bytes;
}

}  // namespace sarvik::testing
