#pragma once

#include "web/gobject_handle.h"

#include <filesystem>
#include <functional>

typedef struct _WebKitWebView WebKitWebView;
typedef struct _WebKitPrintOperation WebKitPrintOperation;
typedef struct _GtkWindow GtkWindow;

namespace sarvik {

// Printing a page through the engine's print operation.
namespace page_printing {

// A new print operation for the page shown in `view`.
GObjectRef<WebKitPrintOperation> createOperation(WebKitWebView* view);

// Shows the print dialog for the page over `parent` and prints what the
// user chose. Returns when the dialog is closed; printing goes on after.
void runDialog(WebKitWebView* view, GtkWindow* parent);

// Prints the page into a PDF file without a dialog. `done` runs on the main
// loop once the engine has finished, with whether the file was written.
void printToPdf(WebKitWebView* view, const std::filesystem::path& file, std::function<void(bool)> done);

}  // namespace page_printing
}  // namespace sarvik
