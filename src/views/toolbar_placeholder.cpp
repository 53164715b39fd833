#include "views/toolbar_placeholder.h"

namespace sarvik {

ToolbarPlaceholder::ToolbarPlaceholder(BrowserState& browserState) : m_browserState(browserState) {
    add_css_class("orvel-toolbar");
    set_hexpand(true);
    m_address.set_name("address-entry");
    m_address.set_hexpand(true);
    m_address.set_margin(6);
    m_address.set_text(browserState.addressBarText.get());
    append(m_address);

    m_address.signal_changed().connect([this] {
        if (m_writingText) return;
        m_writingText = true;
        m_browserState.addressBarText = std::string(m_address.get_text());
        m_writingText = false;
    });
    m_address.signal_activate().connect([this] { m_browserState.navigate(m_browserState.addressBarText.get()); });
    m_connections += browserState.addressBarText.changed().connect([this] {
        if (m_writingText) return;
        m_writingText = true;
        m_address.set_text(m_browserState.addressBarText.get());
        m_writingText = false;
    });
}

}  // namespace sarvik
