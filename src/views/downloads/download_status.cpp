#include "views/downloads/download_status.h"

namespace sarvik {
namespace {

constexpr int kProgressWidth = 90;
constexpr int kNameCharacters = 28;

}  // namespace

DownloadStatus::DownloadStatus(DownloadManager& manager)
    : Gtk::Box(Gtk::Orientation::HORIZONTAL, 8), m_manager(manager), m_popover(manager.list(), rowActions()) {
    set_name("download-status");
    add_css_class("orvel-download-status");
    set_valign(Gtk::Align::CENTER);
    m_running.set_name("download-running");
    m_progress.set_name("download-progress");
    m_progress.set_size_request(kProgressWidth, -1);
    m_progress.set_hexpand(false);
    m_progress.set_valign(Gtk::Align::CENTER);
    m_runningLabel.set_name("download-running-name");
    m_runningLabel.add_css_class("orvel-download-running-name");
    m_runningLabel.set_ellipsize(Pango::EllipsizeMode::MIDDLE);
    m_runningLabel.set_max_width_chars(kNameCharacters);
    m_running.append(m_progress);
    m_running.append(m_runningLabel);
    m_button.set_name("downloads-button");
    m_button.add_css_class("orvel-downloads-button");
    m_button.set_icon_name("folder-download-symbolic");
    m_button.set_tooltip_text("Downloads");
    m_button.set_has_frame(false);
    m_button.set_popover(m_popover);
    append(m_running);
    append(m_button);
    m_listConnection = manager.list().downloads().changed().connect([this] { refresh(); });
    refresh();
}

DownloadStatus::~DownloadStatus() { m_button.unset_popover(); }

// The actions reach the manager and the launcher through this status, which outlives its popover's rows.
DownloadRowActions DownloadStatus::rowActions() {
    return {[this](const DownloadRecord& record) {
                if (m_launcher.open) m_launcher.open(record.file);
            },
            [this](const DownloadRecord& record) {
                if (m_launcher.showInFolder) m_launcher.showInFolder(record.file);
            },
            [this](std::uint64_t id) { m_manager.cancel(id); }};
}

void DownloadStatus::refresh() {
    const DownloadList& list = m_manager.list();
    const auto progress = list.runningProgress();
    m_running.set_visible(progress.has_value());
    if (progress) {
        m_progress.setProgress(*progress);
        m_runningLabel.set_text(runningDownloadsText(list.downloads()));
    }
    m_button.set_visible(!list.downloads()->empty());
}

}  // namespace sarvik
