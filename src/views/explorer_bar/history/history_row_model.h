#pragma once

#include "stores/bookmark.h"
#include "stores/browser_data_store.h"

#include <giomm/listmodel.h>
#include <glibmm/object.h>

#include <sigc++/signal.h>

#include <string>
#include <unordered_map>
#include <utility>
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
    HistoryRowObject(HistoryRowModel* model, guint position, HistoryRow row)
        : m_model(model), m_position(position), m_row(std::move(row)) {}
    void setRow(HistoryRow row);

    HistoryRowModel* m_model;  // none once the model has let go of this object
    guint m_position;
    HistoryRow m_row;
    sigc::signal<void()> m_changed;
};

// Which row a position shows, without a copy of it: an entry by its position
// in the history (and its id, to tell entries apart when positions shift) or
// a day header by its number.
struct HistoryRowKey {
    Uuid id;
    std::size_t index = 0;
    bool isHeader = false;
};

// The rows of the panel as keys, with the header texts they name.
struct HistoryRowList {
    std::vector<HistoryRowKey> keys;
    std::vector<std::string> headers;
};

// A list model over keyed rows that read the entries from the history they
// came from. Items are made only when the list view asks for one (the rows
// on screen). A new set of rows is compared with the old at both ends. A new
// visit, a deletion or an entry moved up by a revisit is announced as the
// insertions and removals it is, so GTK keeps the rows on screen where they
// stand; otherwise (a new search) the rows between the unchanged head and
// tail are replaced in place and only a difference in length is announced,
// so a new search rebinds just the rows on screen. Every object GTK holds
// then takes the row now at its place; its widget hears of it only when what
// it shows is different.
class HistoryRowModel {
public:
    explicit HistoryRowModel(const std::vector<HistoryItem>& history);
    ~HistoryRowModel();
    HistoryRowModel(const HistoryRowModel&) = delete;
    HistoryRowModel& operator=(const HistoryRowModel&) = delete;

    Glib::RefPtr<Gio::ListModel> listModel() const { return m_listModel; }
    std::size_t size() const { return m_rows.keys.size(); }
    // A copy of the row at a position (an empty entry past the end).
    HistoryRow rowAt(std::size_t position) const;
    // Keys read the history this model was made with, as it is now.
    void setRows(HistoryRowList rows);

    // The row object for a position (the one already handed out, if GTK still
    // holds it); null past the end.
    Glib::RefPtr<HistoryRowObject> objectAt(guint position);

private:
    friend class HistoryRowObject;
    bool isSameRow(const HistoryRowList& old, std::size_t oldPosition, const HistoryRowList& now,
                   std::size_t nowPosition) const;
    std::size_t rowsMovedAhead(const HistoryRowList& now, std::size_t head, std::size_t removed,
                               std::size_t added) const;
    HistoryRowList withRowsInserted(const HistoryRowList& now, std::size_t head, std::size_t count) const;
    void announce(HistoryRowList rows, std::size_t position, std::size_t removed, std::size_t added);

    const std::vector<HistoryItem>& m_history;
    HistoryRowList m_rows;
    std::unordered_map<guint, HistoryRowObject*> m_live;
    GObject* m_model = nullptr;
    Glib::RefPtr<Gio::ListModel> m_listModel;
};

// Rows for the grouped history (a header before each day's entries) or for
// search results (entries only), from positions in `history`.
HistoryRowList groupedRows(const std::vector<HistoryItem>& history, std::vector<BrowserDataStore::HistoryDay> days);
HistoryRowList resultRows(const std::vector<HistoryItem>& history, const std::vector<std::size_t>& positions);

}  // namespace sarvik
