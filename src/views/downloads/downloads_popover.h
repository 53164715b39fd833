#pragma once

#include "core/scoped_connection.h"
#include "stores/download_list.h"
#include "stores/download_list.h"
#include "views/common/record_object.h"
#include "views/downloads/download_row.h"

#include <giomm/liststore.h>
#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/label.h>
#include <gtkmm/listview.h>
#include <gtkmm/popover.h>
#include <gtkmm/scrolledwindow.h>
#include <gtkmm/signallistitemfactory.h>

namespace sarvik {

// The session's downloads, newest first, in a popover from the status bar,
// with "Clear List" for the ones that have ended.
class DownloadsPopover : public Gtk::Popover {
public:
    DownloadsPopover(DownloadList& list, DownloadRowActions actions);

    const Glib::RefPtr<Gio::ListStore<RecordObject<DownloadRecord>>>& model() const { return m_model; }
    Gtk::ListView& listView() { return m_listView; }
    Gtk::Button& clearButton() { return m_clear; }

private:
    void buildList();
    void follow();

    DownloadList& m_list;
    const DownloadRowActions m_actions;
    Glib::RefPtr<Gio::ListStore<RecordObject<DownloadRecord>>> m_model;
    Glib::RefPtr<Gtk::SignalListItemFactory> m_factory;
    Gtk::Box m_content{Gtk::Orientation::VERTICAL, 6};
    Gtk::Box m_header{Gtk::Orientation::HORIZONTAL, 6};
    Gtk::Label m_title{"Downloads"};
    Gtk::Button m_clear{"Clear List"};
    Gtk::ScrolledWindow m_scroller;
    Gtk::ListView m_listView;
    ScopedConnection m_listConnection;
};

}  // namespace sarvik
