#include "views/common/row_context_menu.h"

#include "views/common/menu_label.h"

namespace sarvik {

RowContextMenu::RowContextMenu(Gtk::Widget& row, const std::vector<Item>& items)
    : m_row(row), m_actions(Gio::SimpleActionGroup::create()), m_click(Gtk::GestureClick::create()) {
    m_row.insert_action_group("row", m_actions);
    m_click->set_button(3);
    m_click->signal_pressed().connect([this](int, double x, double y) { popupAt(x, y); });
    m_row.add_controller(m_click);
    // From the keyboard the menu opens at the row's start, where its title is.
    m_actions->add_action("open-menu", [this] { popupAt(16, m_row.get_height() / 2.0); });
    setItems(items);
}

// A row may go before its menu (a list's row widgets are destroyed by GTK),
// and then its controller and actions have gone with it.
RowContextMenu::~RowContextMenu() {
    if (m_popover && m_popover->get_parent()) m_popover->unparent();
    if (!m_row.gobj() || !GTK_IS_WIDGET(m_row.gobj())) return;
    m_row.remove_controller(m_click);
    m_row.remove_action_group("row");
}

void RowContextMenu::setItems(const std::vector<Item>& items) {
    for (const auto& name : m_actionNames)
        if (!name.empty()) m_actions->remove_action(name);
    for (const auto& name : m_submenuActionNames) m_actions->remove_action(name);
    m_actionNames.clear();
    m_submenuActionNames.clear();
    m_labels.clear();
    m_sectionStarts.clear();
    m_submenus.clear();
    for (const auto& item : items) {
        if (item.label.empty() && item.actionName.empty() && item.submenu.empty()) {
            m_sectionStarts.push_back(m_labels.size());
            continue;
        }
        if (item.submenu.empty()) m_actions->add_action(item.actionName, item.run);
        for (const auto& entry : item.submenu) {
            m_actions->add_action(entry.actionName, entry.run);
            m_submenuActionNames.push_back(entry.actionName);
        }
        m_actionNames.push_back(item.submenu.empty() ? item.actionName : std::string());
        m_labels.push_back(item.label);
        m_submenus.push_back(item.submenu);
    }
    if (m_popover) buildPopover();
}

std::vector<std::string> RowContextMenu::submenuLabels(const std::string& label) const {
    std::vector<std::string> labels;
    for (std::size_t index = 0; index < m_labels.size(); ++index)
        if (m_labels[index] == label)
            for (const auto& entry : m_submenus[index]) labels.push_back(entry.label);
    return labels;
}

bool RowContextMenu::activate(const std::string& label) {
    for (std::size_t index = 0; index < m_labels.size(); ++index) {
        if (m_labels[index] != label || m_actionNames[index].empty()) continue;
        m_actions->activate_action(m_actionNames[index]);
        return true;
    }
    return false;
}

bool RowContextMenu::activateInSubmenu(const std::string& submenu, const std::string& label) {
    for (std::size_t index = 0; index < m_labels.size(); ++index) {
        if (m_labels[index] != submenu) continue;
        for (const auto& entry : m_submenus[index]) {
            if (entry.label != label) continue;
            m_actions->activate_action(entry.actionName);
            return true;
        }
    }
    return false;
}

void RowContextMenu::buildPopover() {
    auto menu = Gio::Menu::create();
    auto section = Gio::Menu::create();
    auto nextStart = m_sectionStarts.begin();
    for (std::size_t i = 0; i < m_labels.size(); ++i) {
        for (; nextStart != m_sectionStarts.end() && *nextStart == i; ++nextStart) {
            if (section->get_n_items() > 0) menu->append_section(section);
            section = Gio::Menu::create();
        }
        if (m_submenus[i].empty()) {
            section->append(literalMenuLabel(m_labels[i]), "row." + m_actionNames[i]);
            continue;
        }
        auto submenu = Gio::Menu::create();
        for (const auto& entry : m_submenus[i]) submenu->append(literalMenuLabel(entry.label), "row." + entry.actionName);
        section->append_submenu(literalMenuLabel(m_labels[i]), submenu);
    }
    if (section->get_n_items() > 0) menu->append_section(section);
    if (!m_popover) {
        m_popover = std::make_unique<Gtk::PopoverMenu>();
        m_popover->set_has_arrow(false);
        m_popover->set_parent(m_row);
    }
    m_popover->set_menu_model(menu);
}

void RowContextMenu::popupAt(double x, double y) {
    if ((m_opening && !m_opening()) || m_labels.empty()) return;
    if (!m_popover) buildPopover();
    Gdk::Rectangle where(static_cast<int>(x), static_cast<int>(y), 1, 1);
    m_popover->set_pointing_to(where);
    m_popover->popup();
}

}  // namespace sarvik
