#include "app/keyboard_shortcuts.h"

#include "views/common/row_keys.h"
#include "views/window/window_keys.h"

#include <giomm/menumodel.h>
#include <giomm/simpleaction.h>
#include <glib.h>

#include <memory>
#include <sstream>
#include <vector>

namespace sarvik {
namespace {

struct ShortcutRow {
    std::string title;
    std::string accelerators;  // space between alternatives
};
struct ShortcutGroup {
    std::string title;
    std::vector<ShortcutRow> rows;
};

std::string escaped(const std::string& text) {
    std::unique_ptr<gchar, decltype(&g_free)> markup(g_markup_escape_text(text.c_str(), -1), &g_free);
    return markup.get();
}

std::string itemAttribute(const Glib::RefPtr<Gio::MenuModel>& menu, int item, Gio::MenuModel::Attribute attribute) {
    const auto value = menu->get_item_attribute(item, attribute, Glib::VARIANT_TYPE_STRING);
    return value ? Glib::VariantBase::cast_dynamic<Glib::Variant<Glib::ustring>>(value).get() : "";
}

// Every item of a menu and its sections that has keys, in the menu's order.
void collectRows(Gtk::Application& application, const Glib::RefPtr<Gio::MenuModel>& menu, std::vector<ShortcutRow>& rows) {
    for (int item = 0; item < menu->get_n_items(); ++item) {
        if (const auto section = menu->get_item_link(item, Gio::MenuModel::Link::SECTION)) {
            collectRows(application, section, rows);
            continue;
        }
        const std::string action = itemAttribute(menu, item, Gio::MenuModel::Attribute::ACTION);
        std::string keys;
        for (const auto& accelerator : application.get_accels_for_action(action))
            keys += (keys.empty() ? "" : " ") + accelerator;
        if (!keys.empty()) rows.push_back({itemAttribute(menu, item, Gio::MenuModel::Attribute::LABEL), keys});
    }
}

std::vector<ShortcutGroup> menuGroups(Gtk::Application& application) {
    std::vector<ShortcutGroup> groups;
    const auto bar = application.get_menubar();
    if (!bar) return groups;
    for (int item = 0; item < bar->get_n_items(); ++item) {
        const auto submenu = bar->get_item_link(item, Gio::MenuModel::Link::SUBMENU);
        if (!submenu) continue;
        ShortcutGroup group{itemAttribute(bar, item, Gio::MenuModel::Attribute::LABEL), {}};
        collectRows(application, submenu, group.rows);
        if (!group.rows.empty()) groups.push_back(std::move(group));
    }
    return groups;
}

// X reports Shift+Tab as ISO_Left_Tab; the list shows the keys as a user presses them.
ShortcutGroup windowGroup() {
    ShortcutGroup group{"Tabs and the address field", {}};
    for (const WindowKey& key : windowKeys()) {
        std::string keys;
        std::istringstream alternatives{std::string(key.triggers)};
        for (std::string trigger; std::getline(alternatives, trigger, '|');)
            if (trigger.find("ISO_") == std::string::npos) keys += (keys.empty() ? "" : " ") + trigger;
        group.rows.push_back({std::string(key.title), keys});
    }
    return group;
}

ShortcutGroup listGroup() {
    ShortcutGroup group{"Lists in the Explorer Bar", {}};
    for (const ListKey& key : listKeys()) group.rows.push_back({std::string(key.title), std::string(key.accelerators)});
    return group;
}

}  // namespace

// Rows enough per column that everything fits on one page: GTK 4.8's page buttons measure below zero.
std::string keyboardShortcutsUi(Gtk::Application& application) {
    std::vector<ShortcutGroup> groups = menuGroups(application);
    groups.push_back(windowGroup());
    groups.push_back(listGroup());
    std::ostringstream ui;
    ui << "<interface><object class=\"GtkShortcutsWindow\" id=\"shortcuts\"><property name=\"modal\">1</property>"
          "<child><object class=\"GtkShortcutsSection\"><property name=\"section-name\">shortcuts</property>"
          "<property name=\"max-height\">21</property>";
    for (const auto& group : groups) {
        ui << "<child><object class=\"GtkShortcutsGroup\"><property name=\"title\">" << escaped(group.title)
           << "</property>";
        for (const auto& row : group.rows)
            ui << "<child><object class=\"GtkShortcutsShortcut\"><property name=\"title\">" << escaped(row.title)
               << "</property><property name=\"accelerator\">" << escaped(row.accelerators) << "</property></object></child>";
        ui << "</object></child>";
    }
    ui << "</object></child></object></interface>";
    return ui.str();
}

// Built when first asked for, not at start-up; the window then holds it and destroys it with itself.
void addKeyboardShortcutsWindow(Gtk::Application& application, Gtk::ApplicationWindow& window) {
    auto show = Gio::SimpleAction::create("show-help-overlay");
    show->signal_activate().connect([&application, &window](const Glib::VariantBase&) {
        if (!gtk_application_window_get_help_overlay(window.gobj())) {
            const std::string ui = keyboardShortcutsUi(application);
            std::unique_ptr<GtkBuilder, decltype(&g_object_unref)> builder(gtk_builder_new_from_string(ui.c_str(), -1),
                                                                           &g_object_unref);
            auto* shortcuts = GTK_SHORTCUTS_WINDOW(gtk_builder_get_object(builder.get(), "shortcuts"));
            gtk_application_window_set_help_overlay(window.gobj(), shortcuts);
        }
        gtk_window_present(GTK_WINDOW(gtk_application_window_get_help_overlay(window.gobj())));
    });
    window.add_action(show);
}

}  // namespace sarvik
