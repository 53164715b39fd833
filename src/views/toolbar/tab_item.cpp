#include "views/toolbar/tab_item.h"

#include "views/toolbar/toolbar_symbols.h"

namespace sarvik {

TabItem::TabItem(const BrowserTab& tab) : Gtk::Box(Gtk::Orientation::HORIZONTAL, 4), m_id(tab.id) {
    set_name("tab-item");
    add_css_class("orvel-tab-item");
    set_valign(Gtk::Align::CENTER);
    m_spinner.set_name("tab-spinner");
    m_spinner.set_size_request(12, 12);
    m_title.set_name("tab-title");
    m_close.set_name("tab-close-button");
    m_close.add_css_class("orvel-tab-close");
    m_close.set_has_frame(false);
    m_close.set_focus_on_click(false);
    m_close.set_icon_name(symbols::kCloseTab);
    m_close.set_valign(Gtk::Align::CENTER);
    append(m_spinner);
    append(m_title);
    append(m_close);

    m_close.signal_clicked().connect([this] { m_closeRequested.emit(m_id); });
    m_click = Gtk::GestureClick::create();
    m_click->signal_released().connect([this](int presses, double, double) {
        if (presses == 1) m_selectRequested.emit(m_id);
    });
    add_controller(m_click);
    // A middle click closes the tab, as in every tabbed browser.
    m_middleClick = Gtk::GestureClick::create();
    m_middleClick->set_button(GDK_BUTTON_MIDDLE);
    m_middleClick->signal_released().connect([this](int, double, double) { m_closeRequested.emit(m_id); });
    add_controller(m_middleClick);
    show(tab, false);
}

void TabItem::show(const BrowserTab& tab, bool isActive) {
    if (m_title.get_text().raw() != tab.title) m_title.set_text(tab.title);
    m_title.set_tooltip_text(tab.title);
    if (m_spinner.get_visible() != tab.isLoading) {
        m_spinner.set_visible(tab.isLoading);
        m_spinner.set_spinning(tab.isLoading);
    }
    if (isActive)
        add_css_class("active");
    else
        remove_css_class("active");
}

}  // namespace sarvik
