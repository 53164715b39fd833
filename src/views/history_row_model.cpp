#include "views/history_row_model.h"

#include <gio/gio.h>

#include <algorithm>

namespace {

struct SarvikRowList {
    GObject parentInstance;
    const std::vector<sarvik::HistoryRow>* rows;
};
struct SarvikRowListClass {
    GObjectClass parentClass;
};

GType sarvik_row_list_get_type();
void sarvik_row_list_iface_init(GListModelInterface* iface);

G_DEFINE_TYPE_WITH_CODE(SarvikRowList, sarvik_row_list, G_TYPE_OBJECT,
                        G_IMPLEMENT_INTERFACE(G_TYPE_LIST_MODEL, sarvik_row_list_iface_init))

void sarvik_row_list_init(SarvikRowList* self) { self->rows = nullptr; }
void sarvik_row_list_class_init(SarvikRowListClass*) {}

GType rowListItemType(GListModel*) { return G_TYPE_OBJECT; }

guint rowListCount(GListModel* model) {
    auto* self = reinterpret_cast<SarvikRowList*>(model);
    return self->rows ? static_cast<guint>(self->rows->size()) : 0;
}

gpointer rowListItem(GListModel* model, guint position) {
    auto* self = reinterpret_cast<SarvikRowList*>(model);
    if (!self->rows || position >= self->rows->size()) return nullptr;
    auto object = sarvik::HistoryRowObject::create((*self->rows)[position]);
    return g_object_ref(object->gobj());
}

void sarvik_row_list_iface_init(GListModelInterface* iface) {
    iface->get_item_type = rowListItemType;
    iface->get_n_items = rowListCount;
    iface->get_item = rowListItem;
}

}  // namespace

namespace sarvik {

Glib::RefPtr<HistoryRowObject> HistoryRowObject::create(const HistoryRow& row) {
    return Glib::make_refptr_for_instance(new HistoryRowObject(row));
}

HistoryRowModel::HistoryRowModel() {
    auto* list = static_cast<SarvikRowList*>(g_object_new(sarvik_row_list_get_type(), nullptr));
    list->rows = &m_rows;
    m_model = G_OBJECT(list);
    m_listModel = Glib::wrap(G_LIST_MODEL(g_object_ref(m_model)));
}

HistoryRowModel::~HistoryRowModel() {
    // Views may still hold the model; from now on it is empty and reads nothing of ours.
    const auto count = static_cast<guint>(m_rows.size());
    reinterpret_cast<SarvikRowList*>(m_model)->rows = nullptr;
    if (count != 0) g_list_model_items_changed(G_LIST_MODEL(m_model), 0, count, 0);
    g_object_unref(m_model);
}

void HistoryRowModel::setRows(std::vector<HistoryRow> rows) {
    const std::size_t oldCount = m_rows.size();
    const std::size_t newCount = rows.size();
    const std::size_t shorter = std::min(oldCount, newCount);
    std::size_t head = 0;
    while (head < shorter && m_rows[head] == rows[head]) ++head;
    std::size_t tail = 0;
    while (tail < shorter - head && m_rows[oldCount - 1 - tail] == rows[newCount - 1 - tail]) ++tail;
    m_rows = std::move(rows);
    const auto removed = static_cast<guint>(oldCount - head - tail);
    const auto added = static_cast<guint>(newCount - head - tail);
    if (removed != 0 || added != 0)
        g_list_model_items_changed(G_LIST_MODEL(m_model), static_cast<guint>(head), removed, added);
}

std::vector<HistoryRow> groupedRows(std::vector<std::pair<std::string, std::vector<HistoryItem>>> groups) {
    std::size_t count = groups.size();
    for (const auto& group : groups) count += group.second.size();
    std::vector<HistoryRow> rows;
    rows.reserve(count);
    for (auto& [day, items] : groups) {
        rows.push_back(HistoryRow{true, std::move(day), {}});
        for (auto& item : items) rows.push_back(HistoryRow{false, {}, std::move(item)});
    }
    return rows;
}

std::vector<HistoryRow> resultRows(std::vector<HistoryItem> items) {
    std::vector<HistoryRow> rows;
    rows.reserve(items.size());
    for (auto& item : items) rows.push_back(HistoryRow{false, {}, std::move(item)});
    return rows;
}

}  // namespace sarvik
