#pragma once

#include <gtkmm/dragsource.h>
#include <gtkmm/droptarget.h>
#include <gtkmm/listview.h>
#include <sigc++/trackable.h>

#include <optional>

namespace sarvik {

class FavoritesPanel;
class FavoriteRowWidget;
enum class DropPlace;

// Dragging rows of the favorites tree within it: a row is picked up by its
// record's id and let go over another row, into a folder (its middle) or
// beside a row (its upper or lower part), or below the last row (the end of
// the top level). The list's rows are recycled while it refills, so the
// source and the target sit on the list and find the row under the pointer.
// Only drags that started in this program are taken.
class FavoritesDragAndDrop : public sigc::trackable {
public:
    FavoritesDragAndDrop(Gtk::ListView& list, FavoritesPanel& panel);
    ~FavoritesDragAndDrop();
    FavoritesDragAndDrop(const FavoritesDragAndDrop&) = delete;
    FavoritesDragAndDrop& operator=(const FavoritesDragAndDrop&) = delete;

private:
    struct Spot {
        FavoriteRowWidget* row = nullptr;  // none: below the rows
        DropPlace place;
    };

    Spot spotAt(double x, double y) const;
    Glib::RefPtr<Gdk::ContentProvider> pickUp(double x, double y);
    void showIcon(const Glib::RefPtr<Gdk::Drag>& drag);
    bool acceptsDrop(const Glib::RefPtr<Gdk::Drop>& drop) const;
    Gdk::DragAction hover(double x, double y);
    bool letGo(const Glib::ValueBase& value, double x, double y);

    Gtk::ListView& m_list;
    FavoritesPanel& m_panel;
    Glib::RefPtr<Gtk::DragSource> m_source;
    Glib::RefPtr<Gtk::DropTarget> m_target;
    FavoriteRowWidget* m_pickedUp = nullptr;  // only between pickUp and showIcon
};

}  // namespace sarvik
