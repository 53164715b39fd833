#include "views/explorer_bar/scrapbook/scrapbook_header.h"

namespace sarvik {
namespace {

constexpr int kSpinnerSize = 14;
constexpr unsigned kResultTransitionMs = 200;

}  // namespace

ScrapbookHeader::ScrapbookHeader() : Gtk::Box(Gtk::Orientation::HORIZONTAL, 6) {
    set_name("scrapbook-header");
    add_css_class("scrapbook-header");
    set_valign(Gtk::Align::CENTER);

    m_saveIcon.set_from_icon_name("document-save-symbolic");
    m_spinner.set_size_request(kSpinnerSize, kSpinnerSize);
    m_spinner.set_name("scrapbook-save-spinner");
    m_save.set_name("scrapbook-save");
    m_save.set_tooltip_text("Save Current Page");
    m_save.add_css_class("orvel-button");
    m_save.add_css_class("small");
    m_save.add_css_class("scrapbook-header-button");
    m_save.set_child(m_saveIcon);
    m_save.signal_clicked().connect([this] { m_saveClicked.emit(); });
    append(m_save);

    m_newFolder.set_name("scrapbook-new-folder");
    m_newFolder.set_icon_name("folder-new-symbolic");
    m_newFolder.add_css_class("orvel-button");
    m_newFolder.add_css_class("small");
    m_newFolder.add_css_class("scrapbook-header-button");
    m_newFolder.signal_clicked().connect([this] { m_newFolderClicked.emit(); });
    append(m_newFolder);

    m_spacer.set_hexpand(true);
    append(m_spacer);

    m_result.set_name("scrapbook-save-result");
    m_result.add_css_class("scrapbook-save-result");
    m_resultRevealer.set_transition_type(Gtk::RevealerTransitionType::CROSSFADE);
    m_resultRevealer.set_transition_duration(kResultTransitionMs);
    m_resultRevealer.set_child(m_result);
    m_resultRevealer.set_reveal_child(false);
    append(m_resultRevealer);
}

void ScrapbookHeader::setSaving(bool isSaving) {
    m_save.set_sensitive(!isSaving);
    if (isSaving) {
        m_save.set_child(m_spinner);
        m_spinner.start();
    } else {
        m_spinner.stop();
        m_save.set_child(m_saveIcon);
    }
}

void ScrapbookHeader::setSaveResult(std::optional<bool> success) {
    if (success) {
        const bool ok = *success;
        m_result.set_from_icon_name(ok ? "emblem-ok-symbolic" : "window-close-symbolic");
        m_result.remove_css_class(ok ? "failure" : "success");
        m_result.add_css_class(ok ? "success" : "failure");
        m_result.set_tooltip_text(ok ? "Saved" : "Not saved");
    }
    m_resultRevealer.set_reveal_child(success.has_value());
}

}  // namespace sarvik
