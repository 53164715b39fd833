#pragma once

#include "stores/bookmark.h"

#include <giomm/listmodel.h>
#include <glibmm/object.h>

#include <string>
#include <vector>

namespace sarvik {

// One line of the History panel: a day header or an entry.
struct HistoryRow {
    bool isHeader = false;
    std::string headerText;
    HistoryItem item;

    friend bool operator==(const HistoryRow&, const HistoryRow&) = default;
};

// The list item that a row widget is bound to: a copy of its row, so a widget
// shows and acts on what it was bound with even after the list moves on.
class HistoryRowObject : public Glib::Object {
public:
    static Glib::RefPtr<HistoryRowObject> create(const HistoryRow& row);
    const HistoryRow& row() const { return m_row; }

protected:
    explicit HistoryRowObject(const HistoryRow& row) : m_row(row) {}

private:
    HistoryRow m_row;
};

// A list model over rows held in a plain vector. Items are made only when
// the list view asks for one (the visible rows), and a new set of rows is
// announced as one change covering just the span between the unchanged head
// and tail, so a new visit or a deletion redraws a few rows of a long history.
class HistoryRowModel {
public:
    HistoryRowModel();
    ~HistoryRowModel();
    HistoryRowModel(const HistoryRowModel&) = delete;
    HistoryRowModel& operator=(const HistoryRowModel&) = delete;

    Glib::RefPtr<Gio::ListModel> listModel() const { return m_listModel; }
    const std::vector<HistoryRow>& rows() const { return m_rows; }
    void setRows(std::vector<HistoryRow> rows);

private:
    std::vector<HistoryRow> m_rows;
    GObject* m_model = nullptr;
    Glib::RefPtr<Gio::ListModel> m_listModel;
};

// Rows for the grouped history (a header before each day's entries) or for
// search results (entries only).
std::vector<HistoryRow> groupedRows(std::vector<std::pair<std::string, std::vector<HistoryItem>>> groups);
std::vector<HistoryRow> resultRows(std::vector<HistoryItem> items);

}  // namespace sarvik
