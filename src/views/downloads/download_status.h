#pragma once

#include "core/scoped_connection.h"
#include "views/common/orvel_progress_bar.h"
#include "views/downloads/download_file_launcher.h"
#include "views/downloads/downloads_popover.h"
#include "web/download_manager.h"

#include <gtkmm/box.h>
#include <gtkmm/label.h>
#include <gtkmm/menubutton.h>

namespace sarvik {

// The downloads' place in the status bar: while any runs, a progress bar
// (the running ones' mean progress) and the running file's name ("+N" for
// more); once the session has any download, a "Downloads" button that opens
// the list of them.
class DownloadStatus : public Gtk::Box {
public:
    explicit DownloadStatus(DownloadManager& manager);
    ~DownloadStatus() override;

    const OrvelProgressBar& progressBar() const { return m_progress; }
    const Gtk::Label& runningLabel() const { return m_runningLabel; }
    const Gtk::Box& runningBox() const { return m_running; }
    Gtk::MenuButton& button() { return m_button; }
    DownloadsPopover& popover() { return m_popover; }
    // Replaces what Open and Show in Folder do (the desktop's by default).
    void setFileLauncher(DownloadFileLauncher launcher) { m_launcher = std::move(launcher); }

private:
    DownloadRowActions rowActions();
    void refresh();

    DownloadManager& m_manager;
    DownloadFileLauncher m_launcher = DownloadFileLauncher::desktop();
    Gtk::Box m_running{Gtk::Orientation::HORIZONTAL, 6};
    OrvelProgressBar m_progress;
    Gtk::Label m_runningLabel;
    Gtk::MenuButton m_button;
    DownloadsPopover m_popover;
    ScopedConnection m_listConnection;
};

}  // namespace sarvik
