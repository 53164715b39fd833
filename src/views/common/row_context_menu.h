#pragma once

#include <giomm/menu.h>
#include <giomm/simpleactiongroup.h>
#include <gtkmm/gestureclick.h>
#include <gtkmm/popovermenu.h>
#include <gtkmm/widget.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace sarvik {

// A secondary-click menu on a list row. Each item is an action in the row's
// "row" group ("row.<name>"), so the menu and keyboard or test callers run the
// same handler; "row.open-menu" opens the menu. Owned by the row it is
// attached to. A list makes and drops many rows while it scrolls or refills,
// so the menu and its popover are only built when the menu is first opened.
class RowContextMenu {
public:
    // An item with an empty label and action name is a separator: the items
    // after it form a section of their own. An item with entries in `submenu`
    // opens those (their actions are in the same group) and runs nothing itself.
    struct Item {
        Item() = default;
        Item(std::string label, std::string actionName, std::function<void()> run)
            : label(std::move(label)), actionName(std::move(actionName)), run(std::move(run)) {}
        Item(std::string label, std::vector<Item> submenu) : label(std::move(label)), submenu(std::move(submenu)) {}

        std::string label;
        std::string actionName;
        std::function<void()> run;
        std::vector<Item> submenu;
    };

    RowContextMenu(Gtk::Widget& row, const std::vector<Item>& items);
    ~RowContextMenu();
    RowContextMenu(const RowContextMenu&) = delete;
    RowContextMenu& operator=(const RowContextMenu&) = delete;

    // Rebuilds the menu with other items (folders and pages differ).
    void setItems(const std::vector<Item>& items);
    bool hasItems() const { return !m_labels.empty(); }
    // Asked each time the menu is about to open, so the row can note what the
    // menu is for; false keeps it shut (a row with nothing to offer).
    void setOpening(std::function<bool()> opening) { m_opening = std::move(opening); }
    bool isOpen() const { return m_popover && m_popover->get_visible(); }
    // The entries' labels in order, separators left out.
    const std::vector<std::string>& labels() const { return m_labels; }
    // The labels of the submenu entries under that label, in order.
    std::vector<std::string> submenuLabels(const std::string& label) const;
    // Runs the entry with that label as choosing it would; false when there is none.
    bool activate(const std::string& label);
    bool activateInSubmenu(const std::string& submenu, const std::string& label);
    Gtk::PopoverMenu* popover() { return m_popover.get(); }

private:
    void popupAt(double x, double y);
    void buildPopover();

    Gtk::Widget& m_row;
    Glib::RefPtr<Gio::SimpleActionGroup> m_actions;
    std::unique_ptr<Gtk::PopoverMenu> m_popover;
    Glib::RefPtr<Gtk::GestureClick> m_click;
    std::vector<std::string> m_actionNames;
    std::vector<std::string> m_labels;
    std::vector<std::size_t> m_sectionStarts;  // label positions a separator comes before
    std::vector<std::vector<Item>> m_submenus;  // by label position; empty for a plain entry
    std::vector<std::string> m_submenuActionNames;
    std::function<bool()> m_opening;
};

}  // namespace sarvik
