#pragma once

#include "stores/bookmark.h"

#include <giomm/listmodel.h>
#include <glibmm/object.h>

#include <sigc++/signal.h>

#include <string>
#include <unordered_map>
#include <vector>

namespace sarvik {

// One line of the History panel: a day header or an entry.
struct HistoryRow {
    bool isHeader = false;
    std::string headerText;
    HistoryItem item;

    friend bool operator==(const HistoryRow&, const HistoryRow&) = default;
};

class HistoryRowModel;

// The list item that a row widget is bound to: a copy of its row, so a widget
// shows and acts on what it was bound with even after the list moves on. The
// model hands out one object per position while GTK holds it, and when new
// rows arrive it gives that object the row now at its place (changed() tells
// the bound widget): GTK then keeps the object's widget instead of making a
// new one, which is most of the cost of refilling a list.
class HistoryRowObject : public Glib::Object {
public:
    ~HistoryRowObject() override;
    const HistoryRow& row() const { return m_row; }
    sigc::signal<void()>& changed() { return m_changed; }

private:
    friend class HistoryRowModel;
    HistoryRowObject(HistoryRowModel* model, guint position, const HistoryRow& row)
        : m_model(model), m_position(position), m_row(row) {}
    void setRow(const HistoryRow& row);

    HistoryRowModel* m_model;  // none once the model has let go of this object
    guint m_position;
    HistoryRow m_row;
    sigc::signal<void()> m_changed;
};

// A list model over rows held in a plain vector. Items are made only when
// the list view asks for one (the visible rows). A new set of rows is
// compared with the old at both ends: between the unchanged head and tail the
// rows are replaced in place and only a difference in length is announced, in
// one change, so a new visit or a deletion redraws a few rows of a long
// history and a new search rebinds just the rows on screen.
class HistoryRowModel {
public:
    HistoryRowModel();
    ~HistoryRowModel();
    HistoryRowModel(const HistoryRowModel&) = delete;
    HistoryRowModel& operator=(const HistoryRowModel&) = delete;

    Glib::RefPtr<Gio::ListModel> listModel() const { return m_listModel; }
    const std::vector<HistoryRow>& rows() const { return m_rows; }
    void setRows(std::vector<HistoryRow> rows);

    // The row object for a position (the one already handed out, if GTK still
    // holds it); null past the end.
    Glib::RefPtr<HistoryRowObject> objectAt(guint position);

private:
    friend class HistoryRowObject;
    void moveLiveObjects(std::size_t head, std::size_t removed, std::size_t added);

    std::vector<HistoryRow> m_rows;
    std::unordered_map<guint, HistoryRowObject*> m_live;
    GObject* m_model = nullptr;
    Glib::RefPtr<Gio::ListModel> m_listModel;
};

// Rows for the grouped history (a header before each day's entries) or for
// search results (entries only).
std::vector<HistoryRow> groupedRows(std::vector<std::pair<std::string, std::vector<HistoryItem>>> groups);
std::vector<HistoryRow> resultRows(std::vector<HistoryItem> items);

}  // namespace sarvik
