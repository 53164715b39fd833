#include "web/javascript_panel.h"

#include <gtkmm/eventcontrollerkey.h>

namespace sarvik {
namespace {

constexpr int kFieldWidth = 300;
constexpr int kFieldHeight = 24;
constexpr int kPanelMargin = 16;

}  // namespace

JavaScriptPanel::JavaScriptPanel(Gtk::Window* parent, const JavaScriptPanelRequest& request, AnswerHandler onAnswer)
    : m_onAnswer(std::move(onAnswer)) {
    set_name("javascript-panel");
    set_modal(true);
    set_resizable(false);
    if (parent) set_transient_for(*parent);
    set_title(request.origin);
    m_layout.set_margin(kPanelMargin);
    set_child(m_layout);
    buildTexts(request);
    buildButtons(request);
    // Escape cancels, as in every dialog; an alert is dismissed.
    auto keys = Gtk::EventControllerKey::create();
    keys->signal_key_pressed().connect(
        [this](guint key, guint, Gdk::ModifierType) {
            if (key != GDK_KEY_Escape) return false;
            finish(false);
            return true;
        },
        false);
    add_controller(keys);
    signal_close_request().connect(
        [this] {
            finish(false);
            return true;
        },
        false);
}

void JavaScriptPanel::buildTexts(const JavaScriptPanelRequest& request) {
    m_originLabel.set_name("javascript-panel-origin");
    m_originLabel.set_text(request.origin);
    m_originLabel.set_xalign(0);
    m_layout.append(m_originLabel);

    const bool isPrompt = request.kind == JavaScriptPanelRequest::Kind::prompt;
    const char* heading = request.kind == JavaScriptPanelRequest::Kind::alert ? "JavaScript Alert" : "Confirm";
    m_messageLabel.set_name("javascript-panel-message");
    m_messageLabel.set_text(isPrompt ? request.message : heading);
    m_messageLabel.set_xalign(0);
    m_messageLabel.set_wrap(true);
    m_messageLabel.add_css_class("heading");
    m_layout.append(m_messageLabel);

    if (!isPrompt) {
        m_informativeLabel.set_name("javascript-panel-informative");
        m_informativeLabel.set_text(request.message);
        m_informativeLabel.set_xalign(0);
        m_informativeLabel.set_wrap(true);
        m_layout.append(m_informativeLabel);
        return;
    }
    m_hasField = true;
    m_field.set_name("javascript-panel-field");
    m_field.set_text(request.defaultText);
    m_field.set_size_request(kFieldWidth, kFieldHeight);
    m_field.signal_activate().connect([this] { finish(true); });
    m_layout.append(m_field);
}

void JavaScriptPanel::buildButtons(const JavaScriptPanelRequest& request) {
    if (request.offerToStop) {
        m_stopCheck.set_name("javascript-panel-stop");
        m_layout.append(m_stopCheck);
    }
    m_buttons.set_halign(Gtk::Align::END);
    m_okButton.set_name("javascript-panel-ok");
    m_okButton.signal_clicked().connect([this] { finish(true); });
    m_cancelButton.set_name("javascript-panel-cancel");
    m_cancelButton.signal_clicked().connect([this] { finish(false); });
    if (request.kind != JavaScriptPanelRequest::Kind::alert) m_buttons.append(m_cancelButton);
    m_buttons.append(m_okButton);
    m_layout.append(m_buttons);
    set_default_widget(m_okButton);
    // Return answers OK: the focus starts on OK, or in the prompt's field, whose Return is OK too.
    if (m_hasField) m_field.grab_focus();
    else m_okButton.grab_focus();
}

void JavaScriptPanel::finish(bool accepted) {
    if (m_answered) return;
    m_answered = true;
    set_visible(false);
    JavaScriptPanelAnswer answer{accepted, accepted && m_hasField ? std::string(m_field.get_text()) : std::string(),
                                 m_stopCheck.get_parent() && m_stopCheck.get_active()};
    if (m_onAnswer) m_onAnswer(answer);
}

}  // namespace sarvik
