#include "views/preferences/preferences_privacy_page.h"

#include <gtkmm/button.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>

namespace sarvik {

PreferencesPrivacyPage::PreferencesPrivacyPage() : PreferencesPage(PreferencesTab::privacy) {
    auto& data = addSection("Browsing Data");
    // One under the other: side by side they would not fit the page's width.
    auto* buttons = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::VERTICAL, 8);
    buttons->add_css_class("preferences-clear-buttons");
    addClearButton(*buttons, "Clear Cookies", "user-trash-symbolic", WebsiteDataKind::cookies);
    addClearButton(*buttons, "Clear Cache", "edit-clear-all-symbolic", WebsiteDataKind::cache);
    addClearButton(*buttons, "Clear All Browsing Data", "dialog-warning-symbolic", WebsiteDataKind::all);
    data.append(*buttons);

    auto& information = addSection("Information");
    for (const char* line : {"SarvikBrowser uses WebKit (WebKitGTK) for rendering.",
                             "Cookies and cache are managed by the system WebKit framework."}) {
        auto* label = Gtk::make_managed<Gtk::Label>(line);
        label->add_css_class("preferences-info");
        label->set_halign(Gtk::Align::FILL);
        // Wrapped at the page's width, not at GTK's default line length.
        label->set_wrap(true);
        label->set_max_width_chars(80);
        label->set_xalign(0);
        information.append(*label);
    }
}

void PreferencesPrivacyPage::addClearButton(Gtk::Box& content, const char* label, const char* iconName,
                                            WebsiteDataKind kind) {
    auto* row = Gtk::make_managed<Gtk::Box>(Gtk::Orientation::HORIZONTAL, 4);
    auto* icon = Gtk::make_managed<Gtk::Image>();
    icon->set_from_icon_name(iconName);
    row->append(*icon);
    row->append(*Gtk::make_managed<Gtk::Label>(label));
    auto* button = Gtk::make_managed<Gtk::Button>();
    button->set_child(*row);
    button->add_css_class("orvel-button");
    button->add_css_class("small");
    button->set_halign(Gtk::Align::START);
    button->signal_clicked().connect([this, kind] { clear(kind); });
    content.append(*button);
}

void PreferencesPrivacyPage::clear(WebsiteDataKind kind) {
    std::weak_ptr<bool> lifetime = m_lifetime;
    clearWebsiteData(kind, [this, lifetime, kind](bool) {
        if (lifetime.lock()) m_clearingFinished.emit(kind);
    });
}

}  // namespace sarvik
