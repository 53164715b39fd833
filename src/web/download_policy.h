#pragma once

typedef struct _WebKitWebView WebKitWebView;

namespace sarvik {

// Makes the view download the responses it cannot show (the engine would
// otherwise drop them silently); attachments the engine downloads already.
// Lasts as long as the view.
void downloadResponsesNotShown(WebKitWebView* view);

}  // namespace sarvik
