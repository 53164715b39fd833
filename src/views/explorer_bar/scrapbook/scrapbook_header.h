#pragma once

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/image.h>
#include <gtkmm/revealer.h>
#include <gtkmm/spinner.h>
#include <sigc++/signal.h>

#include <optional>

namespace sarvik {

// The Scrapbook panel's top row: the save button (a spinner while a save
// runs), the new-folder button and, after a save, its result icon.
class ScrapbookHeader : public Gtk::Box {
public:
    ScrapbookHeader();

    void setSaving(bool isSaving);
    // none hides the result icon.
    void setSaveResult(std::optional<bool> success);

    Gtk::Button& saveButton() { return m_save; }
    Gtk::Button& newFolderButton() { return m_newFolder; }
    Gtk::Spinner& spinner() { return m_spinner; }
    Gtk::Image& resultIcon() { return m_result; }
    Gtk::Revealer& resultRevealer() { return m_resultRevealer; }

    sigc::signal<void()>& signalSave() { return m_saveClicked; }
    sigc::signal<void()>& signalNewFolder() { return m_newFolderClicked; }

private:
    Gtk::Button m_save;
    Gtk::Image m_saveIcon;
    Gtk::Spinner m_spinner;
    Gtk::Button m_newFolder;
    Gtk::Box m_spacer;
    Gtk::Revealer m_resultRevealer;
    Gtk::Image m_result;
    sigc::signal<void()> m_saveClicked;
    sigc::signal<void()> m_newFolderClicked;
};

}  // namespace sarvik
