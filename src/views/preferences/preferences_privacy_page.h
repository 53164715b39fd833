#pragma once

#include "views/preferences/preferences_page.h"
#include "web/website_data_cleaner.h"

#include <sigc++/signal.h>

#include <memory>

namespace sarvik {

// The Privacy & Security page: three buttons that clear the web engine's
// cookies, its caches, or all its website data (nothing asked before, nothing
// shown after), and two information lines. The browser's own files are never
// touched.
class PreferencesPrivacyPage : public PreferencesPage {
public:
    PreferencesPrivacyPage();

    // Emitted when a clearing this page started has finished, if the page is
    // still there; the page itself shows nothing.
    sigc::signal<void(WebsiteDataKind)>& signalClearingFinished() { return m_clearingFinished; }

private:
    void addClearButton(Gtk::Box& content, const char* label, const char* iconName, WebsiteDataKind kind);
    void clear(WebsiteDataKind kind);

    sigc::signal<void(WebsiteDataKind)> m_clearingFinished;
    // Clearings outlive the page; they check this before reporting back.
    std::shared_ptr<bool> m_lifetime = std::make_shared<bool>(true);
};

}  // namespace sarvik
