#include "views/downloads/downloads_popover.h"

#include <gtkmm/listitem.h>
#include <gtkmm/noselection.h>

#include <algorithm>

namespace sarvik {
namespace {

constexpr int kListWidth = 380;
constexpr int kMaximumListHeight = 320;

}  // namespace

DownloadsPopover::DownloadsPopover(DownloadList& list, DownloadRowActions actions)
    : m_list(list), m_actions(std::move(actions)), m_model(Gio::ListStore<RecordObject<DownloadRecord>>::create()) {
    set_name("downloads-popover");
    add_css_class("orvel-downloads-popover");
    m_title.add_css_class("orvel-downloads-title");
    m_title.set_hexpand(true);
    m_title.set_xalign(0);
    m_clear.set_name("downloads-clear");
    m_clear.add_css_class("orvel-download-action");
    m_clear.signal_clicked().connect([this] { m_list.clearEnded(); });
    m_header.append(m_title);
    m_header.append(m_clear);
    m_content.append(m_header);
    buildList();
    set_child(m_content);
    m_listConnection = m_list.downloads().changed().connect([this] { follow(); });
    follow();
}

void DownloadsPopover::buildList() {
    m_factory = Gtk::SignalListItemFactory::create();
    m_factory->signal_setup().connect([this](const Glib::RefPtr<Gtk::ListItem>& listItem) {
        listItem->set_child(*Gtk::make_managed<DownloadRow>(m_actions));
        listItem->set_activatable(false);
    });
    m_factory->signal_bind().connect([](const Glib::RefPtr<Gtk::ListItem>& listItem) {
        if (auto* row = dynamic_cast<DownloadRow*>(listItem->get_child()))
            row->bind(std::dynamic_pointer_cast<RecordObject<DownloadRecord>>(listItem->get_item()));
    });
    m_factory->signal_unbind().connect([](const Glib::RefPtr<Gtk::ListItem>& listItem) {
        if (auto* row = dynamic_cast<DownloadRow*>(listItem->get_child())) row->unbind();
    });
    m_listView.set_name("downloads-list");
    m_listView.add_css_class("orvel-downloads-list");
    m_listView.set_model(Gtk::NoSelection::create(m_model));
    m_listView.set_factory(m_factory);
    m_scroller.set_child(m_listView);
    m_scroller.set_policy(Gtk::PolicyType::NEVER, Gtk::PolicyType::AUTOMATIC);
    m_scroller.set_propagate_natural_height(true);
    m_scroller.set_max_content_height(kMaximumListHeight);
    m_scroller.set_size_request(kListWidth, -1);
    m_content.append(m_scroller);
}

// Keeps one object per listed download: the same ones in the same order take
// their new states in place; any other change replaces the model's items,
// reusing the objects of the downloads still listed.
void DownloadsPopover::follow() {
    const auto& records = m_list.downloads().get();
    m_clear.set_sensitive(std::any_of(records.begin(), records.end(),
                                      [](const DownloadRecord& r) { return r.state != DownloadState::running; }));
    const guint count = m_model->get_n_items();
    bool sameDownloads = count == records.size();
    for (guint i = 0; sameDownloads && i < count; ++i)
        sameDownloads = m_model->get_item(i)->record().id == records[records.size() - 1 - i].id;
    if (sameDownloads) {
        for (guint i = 0; i < count; ++i) m_model->get_item(i)->update(records[records.size() - 1 - i]);
        return;
    }
    std::vector<Glib::RefPtr<RecordObject<DownloadRecord>>> items;
    items.reserve(records.size());
    for (auto record = records.rbegin(); record != records.rend(); ++record) {
        Glib::RefPtr<RecordObject<DownloadRecord>> item;
        for (guint i = 0; i < count && !item; ++i)
            if (m_model->get_item(i)->record().id == record->id) item = m_model->get_item(i);
        if (item) item->update(*record);
        else item = RecordObject<DownloadRecord>::create(*record);
        items.push_back(std::move(item));
    }
    m_model->splice(0, count, items);
}

}  // namespace sarvik
