#include "views/explorer_bar/history/history_row_model.h"

#include <gio/gio.h>

#include <algorithm>

namespace {

struct SarvikRowList {
    GObject parentInstance;
    sarvik::HistoryRowModel* model;
};
struct SarvikRowListClass {
    GObjectClass parentClass;
};

GType sarvik_row_list_get_type();
void sarvik_row_list_iface_init(GListModelInterface* iface);

G_DEFINE_TYPE_WITH_CODE(SarvikRowList, sarvik_row_list, G_TYPE_OBJECT,
                        G_IMPLEMENT_INTERFACE(G_TYPE_LIST_MODEL, sarvik_row_list_iface_init))

void sarvik_row_list_init(SarvikRowList* self) { self->model = nullptr; }
void sarvik_row_list_class_init(SarvikRowListClass*) {}

GType rowListItemType(GListModel*) { return G_TYPE_OBJECT; }

guint rowListCount(GListModel* model) {
    auto* self = reinterpret_cast<SarvikRowList*>(model);
    return self->model ? static_cast<guint>(self->model->size()) : 0;
}

gpointer rowListItem(GListModel* model, guint position) {
    auto* self = reinterpret_cast<SarvikRowList*>(model);
    if (!self->model) return nullptr;
    auto object = self->model->objectAt(position);
    return object ? g_object_ref(object->gobj()) : nullptr;
}

void sarvik_row_list_iface_init(GListModelInterface* iface) {
    iface->get_item_type = rowListItemType;
    iface->get_n_items = rowListCount;
    iface->get_item = rowListItem;
}

}  // namespace

namespace sarvik {

HistoryRowObject::~HistoryRowObject() {
    if (m_model) m_model->m_live.erase(m_position);
}

void HistoryRowObject::setRow(HistoryRow row) {
    if (m_row == row) return;
    m_row = std::move(row);
    m_changed.emit();
}

HistoryRowModel::HistoryRowModel(const std::vector<HistoryItem>& history) : m_history(history) {
    auto* list = static_cast<SarvikRowList*>(g_object_new(sarvik_row_list_get_type(), nullptr));
    list->model = this;
    m_model = G_OBJECT(list);
    m_listModel = Glib::wrap(G_LIST_MODEL(g_object_ref(m_model)));
}

HistoryRowModel::~HistoryRowModel() {
    // Views may still hold the model and its objects; from now on they read nothing of ours.
    const auto count = static_cast<guint>(size());
    for (auto& [position, object] : m_live) object->m_model = nullptr;
    m_live.clear();
    reinterpret_cast<SarvikRowList*>(m_model)->model = nullptr;
    if (count != 0) g_list_model_items_changed(G_LIST_MODEL(m_model), 0, count, 0);
    g_object_unref(m_model);
}

// A key whose entry is no longer where it was (the history changed and the
// rows are not yet renewed) shows an empty entry until they are.
HistoryRow HistoryRowModel::rowAt(std::size_t position) const {
    if (position >= size()) return {};
    const HistoryRowKey& key = m_rows.keys[position];
    if (key.isHeader) return HistoryRow{true, m_rows.headers[key.index], {}};
    if (key.index < m_history.size() && m_history[key.index].id == key.id)
        return HistoryRow{false, {}, m_history[key.index]};
    return {};
}

Glib::RefPtr<HistoryRowObject> HistoryRowModel::objectAt(guint position) {
    if (position >= size()) return {};
    if (auto found = m_live.find(position); found != m_live.end()) {
        found->second->reference();
        return Glib::make_refptr_for_instance(found->second);
    }
    auto* object = new HistoryRowObject(this, position, rowAt(position));
    m_live.emplace(position, object);
    return Glib::make_refptr_for_instance(object);
}

// The same entry (by id, as positions shift) or a header with the same text.
bool HistoryRowModel::isSameRow(const HistoryRowList& old, std::size_t oldPosition, const HistoryRowList& now,
                                std::size_t nowPosition) const {
    const HistoryRowKey& a = old.keys[oldPosition];
    const HistoryRowKey& b = now.keys[nowPosition];
    if (a.isHeader != b.isHeader) return false;
    return a.isHeader ? old.headers[a.index] == now.headers[b.index] : a.id == b.id;
}

void HistoryRowModel::setRows(HistoryRowList rows) {
    const std::size_t oldCount = size();
    const std::size_t newCount = rows.keys.size();
    const std::size_t shorter = std::min(oldCount, newCount);
    std::size_t head = 0;
    while (head < shorter && isSameRow(m_rows, head, rows, head)) ++head;
    std::size_t tail = 0;
    while (tail < shorter - head && isSameRow(m_rows, oldCount - 1 - tail, rows, newCount - 1 - tail)) ++tail;
    const std::size_t removed = oldCount - head - tail;
    const std::size_t added = newCount - head - tail;
    if (const std::size_t ahead = rowsMovedAhead(rows, head, removed, added)) {
        const std::size_t kept = added - ahead;
        announce(withRowsInserted(rows, head, ahead), head, 0, ahead);
        announce(std::move(rows), head + added, removed - kept, 0);
    } else {
        // Of any other change (a new search), as many rows as both lists have
        // are replaced in place, so GTK neither drops those widgets nor looks
        // through the new rows for the objects it tracks, which on a long list
        // costs more than the rest together. Only the difference in length is
        // announced; the unchanged tail moves with its rows.
        const std::size_t replaced = std::min(removed, added);
        announce(std::move(rows), head + replaced, removed - replaced, added - replaced);
    }
    // An entry that stayed may still have new contents (a revisit of the newest).
    for (auto& [position, object] : m_live) object->setRow(rowAt(position));
}

// A revisit moves an entry up: the changed span then holds a few new rows
// (the entry, perhaps its day's header) followed by the old span's rows in
// their order, less those after them that moved away. Told to GTK as an
// insertion and a removal, the rows between keep their widgets and the
// list its place on screen. How many rows come first; 0 for another change.
std::size_t HistoryRowModel::rowsMovedAhead(const HistoryRowList& now, std::size_t head, std::size_t removed,
                                            std::size_t added) const {
    if (removed == 0 || added < 2) return 0;
    std::size_t first = head + 1;
    while (first < head + added && !isSameRow(m_rows, head, now, first)) ++first;
    const std::size_t kept = head + added - first;
    if (kept == 0 || kept > removed) return 0;
    for (std::size_t i = 1; i < kept; ++i)
        if (!isSameRow(m_rows, head + i, now, first + i)) return 0;
    return first - head;
}

// The old rows with the first `count` new rows of the changed span put in at `head`.
HistoryRowList HistoryRowModel::withRowsInserted(const HistoryRowList& now, std::size_t head, std::size_t count) const {
    HistoryRowList rows;
    rows.headers = m_rows.headers;
    rows.headers.insert(rows.headers.end(), now.headers.begin(), now.headers.end());
    rows.keys.reserve(m_rows.keys.size() + count);
    rows.keys.insert(rows.keys.end(), m_rows.keys.begin(), m_rows.keys.begin() + static_cast<std::ptrdiff_t>(head));
    for (std::size_t i = head; i < head + count; ++i) {
        HistoryRowKey key = now.keys[i];
        if (key.isHeader) key.index += m_rows.headers.size();
        rows.keys.push_back(key);
    }
    rows.keys.insert(rows.keys.end(), m_rows.keys.begin() + static_cast<std::ptrdiff_t>(head), m_rows.keys.end());
    return rows;
}

// The rows become `rows`, which differ from the old ones by the one change
// given; objects GTK holds past it move with their rows, those inside go.
void HistoryRowModel::announce(HistoryRowList rows, std::size_t position, std::size_t removed, std::size_t added) {
    m_rows = std::move(rows);
    if (removed == 0 && added == 0) return;
    std::unordered_map<guint, HistoryRowObject*> moved;
    moved.reserve(m_live.size());
    for (auto& [at, object] : m_live) {
        if (at < position) {
            moved.emplace(at, object);
        } else if (at >= position + removed) {
            object->m_position = static_cast<guint>(at - removed + added);
            moved.emplace(object->m_position, object);
        } else {
            object->m_model = nullptr;
        }
    }
    m_live = std::move(moved);
    g_list_model_items_changed(G_LIST_MODEL(m_model), static_cast<guint>(position), static_cast<guint>(removed),
                               static_cast<guint>(added));
}

HistoryRowList groupedRows(const std::vector<HistoryItem>& history, std::vector<BrowserDataStore::HistoryDay> days) {
    HistoryRowList rows;
    std::size_t count = days.size();
    for (const auto& day : days) count += day.positions.size();
    rows.keys.reserve(count);
    rows.headers.reserve(days.size());
    for (auto& day : days) {
        rows.keys.push_back({Uuid(), rows.headers.size(), true});
        rows.headers.push_back(std::move(day.title));
        for (std::size_t i : day.positions) rows.keys.push_back({history[i].id, i, false});
    }
    return rows;
}

HistoryRowList resultRows(const std::vector<HistoryItem>& history, const std::vector<std::size_t>& positions) {
    HistoryRowList rows;
    rows.keys.reserve(positions.size());
    for (std::size_t i : positions) rows.keys.push_back({history[i].id, i, false});
    return rows;
}

}  // namespace sarvik
