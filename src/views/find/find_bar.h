#pragma once

#include "core/browser_state.h"
#include "core/scoped_connection.h"
#include "views/common/nav_button.h"
#include "web/web_view_host.h"

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/checkbutton.h>
#include <gtkmm/entry.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>
#include <gtkmm/revealer.h>

#include <functional>
#include <memory>
#include <vector>

namespace sarvik {

// The find bar under the toolbar: a search field, previous and next buttons,
// the match count ("3 of 12") and a "Match Case" switch (off: matches ignore
// case). Edit → Find (Ctrl+F) opens it with the field focused; typing searches
// the active tab's page; Enter, Ctrl+G and the next button go to the next
// match, Shift+Enter, Ctrl+Shift+G and the previous button to the one before;
// Escape or the close button closes it, clears the highlight and gives the
// keyboard back to the page. The search follows the active tab: switching
// tabs ends it in the old page and runs the same text in the new one.
class FindBar : public Gtk::Revealer {
public:
    // The host of the active tab's page, or none.
    using ActiveHost = std::function<WebViewHost*()>;

    FindBar(BrowserState& browserState, ActiveHost activeHost);
    ~FindBar() override;

    void open();
    void close();
    void findNext();
    void findPrevious();
    bool isOpen() const { return get_reveal_child(); }

    // For tests and screenshots.
    Gtk::Entry& field() { return m_field; }
    Gtk::Label& countLabel() { return m_count; }
    Gtk::CheckButton& matchCaseSwitch() { return m_matchCase; }
    Gtk::Button& nextButton() { return m_next; }
    Gtk::Button& previousButton() { return m_previous; }
    const PageFinder* finder() const { return m_finder.get(); }

private:
    void build();
    void connectKeys();
    // The finder for the active tab's page, made when first needed.
    PageFinder* activeFinder();
    void searchTyped();
    void followActiveTab();
    void showPosition();

    BrowserState& m_browserState;
    ActiveHost m_activeHost;
    Gtk::Box m_row{Gtk::Orientation::HORIZONTAL, 6};
    Gtk::Image m_icon;
    Gtk::Box m_fieldFrame{Gtk::Orientation::HORIZONTAL, 0};
    Gtk::Entry m_field;
    NavButton m_previous{"go-up-symbolic", 22, "find-previous"};
    NavButton m_next{"go-down-symbolic", 22, "find-next"};
    Gtk::Label m_count;
    Gtk::CheckButton m_matchCase{"Match Case"};
    Gtk::Box m_space;
    Gtk::Button m_close;
    std::unique_ptr<PageFinder> m_finder;
    ScopedConnection m_finderConnection;
    ScopedConnection m_pendingFollow;
    ConnectionSet m_connections;
};

}  // namespace sarvik
