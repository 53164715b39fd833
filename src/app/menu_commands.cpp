#include "app/menu_commands.h"

#include "core/color_theme.h"
#include "core/notification_center.h"
#include "core/notification_names.h"

#include <giomm/simpleaction.h>

#include <string>
#include <vector>

namespace sarvik {
namespace {

namespace names = notifications;

struct MenuCommand {
    const char* label;
    const char* action;
    std::string_view notification;
    std::vector<Glib::ustring> accelerators;
};

const std::vector<MenuCommand>& fileCommands() {
    static const std::vector<MenuCommand> commands = {
        {"New Tab", "new-tab", names::kNewTab, {"<Primary>t"}},
        {"Close Tab", "close-tab", names::kCloseTab, {"<Primary>w"}},
        {"Reopen Closed Tab", "reopen-closed-tab", names::kReopenClosedTab, {"<Primary><Shift>t"}},
    };
    return commands;
}

const std::vector<MenuCommand>& favoritesFileCommands() {
    static const std::vector<MenuCommand> commands = {
        {"Import Favorites…", "import-favorites", names::kImportFavorites, {}},
        {"Export Favorites…", "export-favorites", names::kExportFavorites, {}},
        {"Restore Favorites…", "restore-favorites", names::kRestoreFavorites, {}},
    };
    return commands;
}

const std::vector<MenuCommand>& printCommands() {
    static const std::vector<MenuCommand> commands = {
        {"Print…", "print-page", names::kPrintPage, {"<Primary>p"}},
    };
    return commands;
}

const std::vector<MenuCommand>& editCommands() {
    static const std::vector<MenuCommand> commands = {
        {"Find", "find-in-page", names::kFindInPage, {"<Primary>f"}},
        {"Find Next", "find-next", names::kFindNext, {"<Primary>g"}},
        {"Find Previous", "find-previous", names::kFindPrevious, {"<Primary><Shift>g"}},
    };
    return commands;
}

const std::vector<MenuCommand>& explorerToggles() {
    static const std::vector<MenuCommand> commands = {
        {"Toggle Explorer Bar", "toggle-explorer-bar", names::kToggleExplorerBar, {"<Primary>e"}},
        {"Toggle Toolbar", "toggle-toolbar", names::kToggleToolbar, {"<Primary>b"}},
    };
    return commands;
}

const std::vector<MenuCommand>& explorerPanels() {
    static const std::vector<MenuCommand> commands = {
        {"Favorites", "show-favorites", names::kShowFavorites, {"<Primary><Alt>1"}},
        {"History", "show-history", names::kShowHistory, {"<Primary><Alt>2"}},
        {"Search", "show-search", names::kShowSearch, {"<Primary><Alt>3"}},
        {"Internet Scrapbook", "show-scrapbook", names::kShowScrapbook, {"<Primary><Alt>4"}},
        {"Auction Manager", "show-auction", names::kShowAuction, {"<Primary><Alt>5"}},
    };
    return commands;
}

const std::vector<MenuCommand>& zoomCommands() {
    // Ctrl+equal too: on most layouts "+" needs Shift, and the unshifted key should zoom in as well.
    static const std::vector<MenuCommand> commands = {
        {"Zoom In", "zoom-in", names::kZoomIn, {"<Primary>plus", "<Primary>equal", "<Primary>KP_Add"}},
        {"Zoom Out", "zoom-out", names::kZoomOut, {"<Primary>minus", "<Primary>KP_Subtract"}},
        {"Actual Size", "reset-zoom", names::kResetZoom, {"<Primary>0", "<Primary>KP_0"}},
    };
    return commands;
}

Glib::RefPtr<Gio::Menu> addCommands(Gtk::Application& application, const std::vector<MenuCommand>& commands) {
    auto section = Gio::Menu::create();
    for (const auto& command : commands) {
        auto action = Gio::SimpleAction::create(command.action);
        action->signal_activate().connect([name = std::string(command.notification)](const Glib::VariantBase&) {
            NotificationCenter::defaultCenter().post(name);
        });
        application.add_action(action);
        const std::string detailed = std::string("app.") + command.action;
        application.set_accels_for_action(detailed, command.accelerators);
        section->append(command.label, detailed);
    }
    return section;
}

Glib::RefPtr<Gio::Menu> themeMenu(Gtk::Application& application) {
    auto action = Gio::SimpleAction::create("change-theme", Glib::VARIANT_TYPE_STRING);
    action->signal_activate().connect([](const Glib::VariantBase& parameter) {
        const auto name = Glib::VariantBase::cast_dynamic<Glib::Variant<Glib::ustring>>(parameter).get();
        NotificationCenter::defaultCenter().post(names::kChangeTheme, std::string(name));
    });
    application.add_action(action);
    auto menu = Gio::Menu::create();
    for (const auto theme : kAllColorThemes) {
        const std::string name(rawValue(theme));
        auto item = Gio::MenuItem::create(name, "");
        item->set_action_and_target("app.change-theme", Glib::Variant<Glib::ustring>::create(name));
        menu->append_item(item);
    }
    return menu;
}

void addApplicationAction(Gtk::Application& application, const char* name, const Glib::ustring& accelerator,
                          std::function<void()> act) {
    auto action = Gio::SimpleAction::create(name);
    action->signal_activate().connect([act = std::move(act)](const Glib::VariantBase&) { act(); });
    application.add_action(action);
    application.set_accels_for_action(std::string("app.") + name, {accelerator});
}

Glib::RefPtr<Gio::Menu> windowMenu(Gtk::Application& application, std::function<void()> openPreferencesWindow) {
    addApplicationAction(application, "preferences", "<Primary>comma", std::move(openPreferencesWindow));
    application.set_accels_for_action("win.show-help-overlay", {"<Primary>question"});
    auto menu = Gio::Menu::create();
    menu->append("Preferences", "app.preferences");
    menu->append("Keyboard Shortcuts", "win.show-help-overlay");
    return menu;
}

Glib::RefPtr<Gio::Menu> quitSection(Gtk::Application& application, std::function<void()> quit) {
    addApplicationAction(application, "quit", "<Primary>q", std::move(quit));
    auto section = Gio::Menu::create();
    section->append("Quit", "app.quit");
    return section;
}

}  // namespace

Glib::RefPtr<Gio::Menu> installMenuCommands(Gtk::Application& application, ApplicationCommands commands) {
    auto explorer = Gio::Menu::create();
    explorer->append_section(addCommands(application, explorerToggles()));
    explorer->append_section(addCommands(application, explorerPanels()));

    auto file = Gio::Menu::create();
    file->append_section(addCommands(application, fileCommands()));
    file->append_section(addCommands(application, favoritesFileCommands()));
    file->append_section(addCommands(application, printCommands()));
    file->append_section(quitSection(application, std::move(commands.quit)));

    auto bar = Gio::Menu::create();
    bar->append_submenu("File", file);
    bar->append_submenu("Edit", addCommands(application, editCommands()));
    bar->append_submenu("Explorer", explorer);
    bar->append_submenu("Zoom", addCommands(application, zoomCommands()));
    bar->append_submenu("Theme", themeMenu(application));
    bar->append_submenu("Window", windowMenu(application, std::move(commands.openPreferencesWindow)));
    return bar;
}

}  // namespace sarvik
