#pragma once

#include <gtkmm/application.h>
#include <gtkmm/button.h>
#include <gtkmm/checkbutton.h>
#include <gtkmm/entry.h>
#include <gtkmm/inscription.h>
#include <gtkmm/label.h>
#include <gtkmm/window.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

typedef struct _WebKitWebView WebKitWebView;

// Drives views as a user does: finds widgets by name or text, clicks and types
// through the X server, waits on the main loop for a condition, reads pages
// and saves screenshots. The display tests' main() starts GTK before any test.
namespace sarvik::testing {

// Registered, so GTK is initialised, but not run: tests turn the main loop themselves.
Glib::RefPtr<Gtk::Application> testApplication();
void drainMainLoop();
// Turns the main loop until `done` or the timeout (a bound, not a timing assertion); whether `done` came true.
bool runMainLoopUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(20));

Gtk::Widget* findDescendant(Gtk::Widget& root, const Glib::ustring& name);  // first named, root included
Gtk::Window* findWindow(const Glib::ustring& name);                         // a visible top-level window

template <typename T>
void collectWidgets(Gtk::Widget& root, const std::function<bool(T&)>& matches, std::vector<T*>& found) {
    if (auto* typed = dynamic_cast<T*>(&root); typed && matches(*typed)) found.push_back(typed);
    for (auto* child = root.get_first_child(); child; child = child->get_next_sibling())
        collectWidgets(*child, matches, found);
}

template <typename T>
std::vector<T*> findAll(Gtk::Widget& root, const std::function<bool(T&)>& matches = [](T&) { return true; }) {
    std::vector<T*> found;
    collectWidgets(root, matches, found);
    return found;
}
inline std::vector<Gtk::Widget*> allNamed(Gtk::Widget& root, const std::string& name) {
    return findAll<Gtk::Widget>(root, [&](Gtk::Widget& w) { return w.get_name().raw() == name; });
}

// The one widget with this name; throws unless there is exactly one.
template <typename W = Gtk::Widget>
W& named(Gtk::Widget& root, const std::string& name) {
    const auto found = allNamed(root, name);
    if (found.size() != 1) throw std::runtime_error(name + ": " + std::to_string(found.size()) + " widgets");
    return dynamic_cast<W&>(*found.front());
}

// The text a label or an inscription shows; nothing for other widgets.
inline std::optional<std::string> shownText(Gtk::Widget& widget) {
    if (auto* label = dynamic_cast<Gtk::Label*>(&widget)) return std::string(label->get_text());
    if (auto* inscription = dynamic_cast<Gtk::Inscription*>(&widget)) return std::string(inscription->get_text());
    return std::nullopt;
}
inline std::vector<Gtk::Widget*> textWidgets(Gtk::Widget& root) {
    return findAll<Gtk::Widget>(root, [](Gtk::Widget& w) { return shownText(w).has_value(); });
}
// Every label's and inscription's text, in tree order, joined with spaces.
std::string textOf(Gtk::Widget& widget);

template <typename T>
T* findOne(Gtk::Widget& root, const std::function<bool(T&)>& matches) {
    auto found = findAll<T>(root, matches);
    return found.size() == 1 ? found.front() : nullptr;
}
// The one button, check button or label with this text (null if none or several).
inline Gtk::Button* findButton(Gtk::Widget& root, const std::string& text) {
    return findOne<Gtk::Button>(root, [&](Gtk::Button& b) { return textOf(b) == text; });
}
inline Gtk::CheckButton* findCheckButton(Gtk::Widget& root, const std::string& text) {
    return findOne<Gtk::CheckButton>(root, [&](Gtk::CheckButton& c) { return c.get_label().raw() == text; });
}
inline Gtk::Label* findLabel(Gtk::Widget& root, const std::string& text) {
    return findOne<Gtk::Label>(root, [&](Gtk::Label& l) { return l.get_text().raw() == text; });
}

bool isShown(Gtk::Widget& widget);         // it and all its ancestors are visible
bool hasFocusWithin(Gtk::Widget& widget);  // its window's keyboard focus lies inside it

bool click(Gtk::Button* button);         // through its activation, as a user would; whether "clicked" came
void emitClicked(Gtk::Widget& button);  // at once, where the pressed look does not matter

// Real input through the X server (xdotool). A pointer action at the widget's
// centre (or that fraction of its height down): "click 1", "mousedown 1", or "" to move only.
void pointerAt(Gtk::Widget& widget, const std::string& action, double heightFraction = 0.5);
// With no window manager keys go to the window under the pointer: brings pointer and focus there.
void sendKeysTo(Gtk::Widget& widget);
void typeText(const std::string& text);  // where the focus is
void pressKeys(const std::string& keys);  // xdotool key names: "ctrl+l Return"

// Whether the entry's text was selected at the moment `focus` gave it the
// keyboard; none when it never got it. A text selected after its cursor
// started blinking makes GTK warn.
std::optional<bool> selectedWhenFocused(Gtk::Entry& entry, const std::function<void()>& focus);

// The script's answer as text, run in an isolated world of the page; none on an error.
std::optional<std::string> evaluateInPage(WebKitWebView* view, const std::string& script);
std::string pngImage(int width, int height);  // one colour, for pages with an image

// A web view of the default network session in a window of its own.
class LoopbackWebView {
public:
    LoopbackWebView();
    ~LoopbackWebView();
    LoopbackWebView(const LoopbackWebView&) = delete;
    LoopbackWebView& operator=(const LoopbackWebView&) = delete;
    bool load(const std::string& url);  // whether the load finished rather than failed
    WebKitWebView* webView() const { return m_webView; }

private:
    Gtk::Window m_window;
    WebKitWebView* m_webView = nullptr;  // owned by the window
};

// Rendering, with the window's own renderer as the screenshots use.
struct RenderedPixel {
    int red = 0, green = 0, blue = 0, alpha = 0;  // straight 0-255
};
std::optional<RenderedPixel> renderedPixelAt(Gtk::Widget& widget, int x, int y);
bool saveWidgetPng(Gtk::Widget& widget, const std::filesystem::path& file);  // a window's rendering leaves out its popovers
bool saveWindowPng(Gtk::Window& window, const std::filesystem::path& file);  // with its open popovers where they show
// SARVIK_SCREENSHOT_DIR, set by `make screenshots`; empty when no screenshots are wanted.
std::filesystem::path screenshotDirectory();
void saveScreenshotIfRequested(Gtk::Widget& widget, const std::string& name);

}  // namespace sarvik::testing
