#pragma once

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/checkbutton.h>
#include <gtkmm/entry.h>
#include <gtkmm/label.h>
#include <gtkmm/window.h>

#include <functional>
#include <string>

namespace sarvik {

// What a page asks with alert(), confirm() or prompt().
struct JavaScriptPanelRequest {
    enum class Kind { alert, confirm, prompt };
    Kind kind = Kind::alert;
    std::string message;
    std::string defaultText;  // prompt only
    std::string origin;       // scheme, host and port of the asking page
    bool offerToStop = false;  // the page keeps asking: offer to stop its dialogs
};

struct JavaScriptPanelAnswer {
    bool accepted = false;     // "OK" closed the panel
    std::string text;          // the field's text, for an accepted prompt
    bool stopDialogs = false;  // the user chose to stop this page's dialogs
};

// A modal window over the browser window that asks the page's question. It
// does not block the main loop: the answer arrives through the callback,
// exactly once, when a button or the window's close control ends it. The
// origin line names the site that asked, so a page cannot pass its panel
// off as the browser's or another site's.
class JavaScriptPanel : public Gtk::Window {
public:
    using AnswerHandler = std::function<void(const JavaScriptPanelAnswer&)>;

    JavaScriptPanel(Gtk::Window* parent, const JavaScriptPanelRequest& request, AnswerHandler onAnswer);

    // Ends the panel as "Cancel" would, if it is still open.
    void cancel() { finish(false); }

private:
    void buildTexts(const JavaScriptPanelRequest& request);
    void buildButtons(const JavaScriptPanelRequest& request);
    void finish(bool accepted);

    AnswerHandler m_onAnswer;
    bool m_answered = false;
    bool m_hasField = false;
    Gtk::Box m_layout{Gtk::Orientation::VERTICAL, 8};
    Gtk::Label m_originLabel;
    Gtk::Label m_messageLabel;
    Gtk::Label m_informativeLabel;
    Gtk::Entry m_field;
    Gtk::CheckButton m_stopCheck{"Prevent this page from creating more dialogs"};
    Gtk::Box m_buttons{Gtk::Orientation::HORIZONTAL, 8};
    Gtk::Button m_okButton{"OK"};
    Gtk::Button m_cancelButton{"Cancel"};
};

}  // namespace sarvik
