#pragma once

#include "core/scoped_connection.h"
#include "stores/download_list.h"
#include "views/common/record_object.h"

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>

#include <cstdint>
#include <functional>

namespace sarvik {

// What a row's buttons ask for.
struct DownloadRowActions {
    std::function<void(const DownloadRecord&)> open;
    std::function<void(const DownloadRecord&)> showInFolder;
    std::function<void(std::uint64_t id)> cancel;
};

// One line of the downloads list: the file's name, its state ("45%",
// "Finished", "Failed: ...", "Cancelled"), and the buttons that fit the
// state: Open and Show in Folder once finished, Cancel while running.
class DownloadRow : public Gtk::Box {
public:
    explicit DownloadRow(const DownloadRowActions& actions);

    void bind(const Glib::RefPtr<RecordObject<DownloadRecord>>& item);
    void unbind();

    const Gtk::Label& nameLabel() const { return m_name; }
    const Gtk::Label& stateLabel() const { return m_state; }
    Gtk::Button& openButton() { return m_open; }
    Gtk::Button& showButton() { return m_show; }
    Gtk::Button& cancelButton() { return m_cancel; }

private:
    void refresh();

    const DownloadRowActions& m_actions;
    Glib::RefPtr<RecordObject<DownloadRecord>> m_item;
    Gtk::Image m_icon;
    Gtk::Box m_texts{Gtk::Orientation::VERTICAL, 1};
    Gtk::Label m_name;
    Gtk::Label m_state;
    Gtk::Button m_open{"Open"};
    Gtk::Button m_show{"Show in Folder"};
    Gtk::Button m_cancel{"Cancel"};
    ScopedConnection m_itemConnection;
};

}  // namespace sarvik
