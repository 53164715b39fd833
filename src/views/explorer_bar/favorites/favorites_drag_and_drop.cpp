#include "views/explorer_bar/favorites/favorites_drag_and_drop.h"

#include "views/explorer_bar/favorites/favorite_row_widget.h"
#include "views/explorer_bar/favorites/favorites_panel.h"

#include <gdkmm/contentformats.h>
#include <gdkmm/drag.h>
#include <gdkmm/drop.h>
#include <gtkmm/widgetpaintable.h>

namespace sarvik {

FavoritesDragAndDrop::FavoritesDragAndDrop(Gtk::ListView& list, FavoritesPanel& panel)
    : m_list(list), m_panel(panel), m_source(Gtk::DragSource::create()),
      m_target(Gtk::DropTarget::create(G_TYPE_STRING, Gdk::DragAction::MOVE)) {
    m_source->set_actions(Gdk::DragAction::MOVE);
    m_source->signal_prepare().connect(sigc::mem_fun(*this, &FavoritesDragAndDrop::pickUp), false);
    m_source->signal_drag_begin().connect(sigc::mem_fun(*this, &FavoritesDragAndDrop::showIcon));
    m_source->signal_drag_end().connect([this](const Glib::RefPtr<Gdk::Drag>&, bool) {
        m_panel.showDropPlace(nullptr, std::nullopt);
    });
    m_list.add_controller(m_source);
    m_target->signal_accept().connect(sigc::mem_fun(*this, &FavoritesDragAndDrop::acceptsDrop), false);
    m_target->signal_motion().connect(sigc::mem_fun(*this, &FavoritesDragAndDrop::hover), false);
    m_target->signal_leave().connect([this] { m_panel.showDropPlace(nullptr, std::nullopt); });
    m_target->signal_drop().connect(sigc::mem_fun(*this, &FavoritesDragAndDrop::letGo), false);
    m_list.add_controller(m_target);
}

FavoritesDragAndDrop::~FavoritesDragAndDrop() {
    m_list.remove_controller(m_source);
    m_list.remove_controller(m_target);
}

// A folder takes the middle half of its row; the edges, like a page's halves, place beside it.
FavoritesDragAndDrop::Spot FavoritesDragAndDrop::spotAt(double x, double y) const {
    auto* row = m_panel.rowAt(x, y);
    auto* item = row ? row->get_parent() : nullptr;
    double itemX = 0, itemY = 0;
    if (!item || !m_list.translate_coordinates(*item, x, y, itemX, itemY)) return {nullptr, DropPlace::after};
    const double height = std::max(1, item->get_height());
    if (row->bookmark().isFolder && itemY > height / 4 && itemY < height * 3 / 4) return {row, DropPlace::into};
    return {row, itemY < height / 2 ? DropPlace::before : DropPlace::after};
}

// A row being renamed keeps the pointer for selecting its text.
Glib::RefPtr<Gdk::ContentProvider> FavoritesDragAndDrop::pickUp(double x, double y) {
    m_pickedUp = m_panel.rowAt(x, y);
    if (!m_pickedUp || m_pickedUp->isEditing()) return {};
    Glib::Value<Glib::ustring> id;
    id.init(id.value_type());
    id.set(m_pickedUp->bookmark().id.toString());
    return Gdk::ContentProvider::create(id);
}

// Without an icon GTK would show the dragged text, an id nobody reads.
void FavoritesDragAndDrop::showIcon(const Glib::RefPtr<Gdk::Drag>&) {
    if (m_pickedUp) m_source->set_icon(Gtk::WidgetPaintable::create(*m_pickedUp), 0, 0);
    m_pickedUp = nullptr;
}

bool FavoritesDragAndDrop::acceptsDrop(const Glib::RefPtr<Gdk::Drop>& drop) const {
    return drop->get_drag() && drop->get_formats()->contain_gtype(G_TYPE_STRING);
}

Gdk::DragAction FavoritesDragAndDrop::hover(double x, double y) {
    const Spot spot = spotAt(x, y);
    m_panel.showDropPlace(spot.row, spot.place);
    return Gdk::DragAction::MOVE;
}

bool FavoritesDragAndDrop::letGo(const Glib::ValueBase& value, double x, double y) {
    m_panel.showDropPlace(nullptr, std::nullopt);
    if (!G_VALUE_HOLDS_STRING(value.gobj())) return false;
    const char* text = g_value_get_string(value.gobj());
    const auto dragged = Uuid::parse(text ? text : "");
    if (!dragged) return false;
    const Spot spot = spotAt(x, y);
    // Copied: the move refills the list and may rebind the row.
    const std::optional<Bookmark> onto = spot.row ? std::optional<Bookmark>(spot.row->bookmark()) : std::nullopt;
    return m_panel.drop(*dragged, onto, spot.place);
}

}  // namespace sarvik
