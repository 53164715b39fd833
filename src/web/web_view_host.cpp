#include "web/web_view_host.h"

#include "web/page_printer.h"
#include "web/web_page_archiver.h"
#include "web/web_view_host_test_access.h"

#include "web/download_policy.h"
#include "web/error_page.h"
#include "web/gobject_handle.h"
#include "web/javascript_panel.h"
#include "core/main_loop_hop.h"
#include "web/new_window_policy.h"
#include "web/saved_page_guard.h"
#include "web/script_dialog_handle.h"
#include "web/script_dialog_limiter.h"
#include "web/tab_coordinator.h"

#include <glibmm/main.h>
#include <gtkmm/window.h>
#include <webkit/webkit.h>

#include <functional>
#include <type_traits>
#include <utility>
#include <vector>

namespace sarvik {

// The page shown for a failed load: asked for, then loading (its load is no visit).
enum class ErrorPage { none, requested, loading };

struct WebViewHost::Engine {
    Engine(BrowserState& browserState, BrowserDataStore& dataStore, const Uuid& tabId)
        : state(browserState), coordinator(browserState, dataStore, tabId) {}

    void build();
    void connectSignals();
    void load(const Url& url);
    void execute(const NavigationCommand& command);
    void awaitTitle();
    void applyZoom() { webkit_web_view_set_zoom_level(view.get(), state.pageZoom.get()); }
    void onMainLoop(std::function<void(Engine&)> work);
    void showPanel(WebKitScriptDialog* dialog, bool offerToStop);
    void answerPanel(const JavaScriptPanelAnswer& answer);
    void shutDown();

    BrowserState& state;
    TabCoordinator coordinator;
    GObjectRef<WebKitWebView> view;
    // Callbacks queued on the main loop hold this weakly: once the engine
    // has gone they find it expired and do nothing.
    std::shared_ptr<bool> alive = std::make_shared<bool>(true);
    bool lastLoadFailed = false;
    // The browser loaded, went back or forward or reloaded, or the page had the user's
    // click or key, since the last load started: the next one is the user's, not the page's.
    bool userAsked = false;
    ErrorPage errorPage = ErrorPage::none;
    NewWindowPolicy newWindows;
    ScriptDialogLimiter dialogLimiter;
    ScriptDialogHandle pendingDialog;
    std::unique_ptr<JavaScriptPanel> panel;
    std::vector<SignalHandler> handlers;
    ScopedConnection titleWait;
};

namespace {

using Engine = WebViewHost::Engine;

std::optional<std::string> optionalText(const char* text) {
    if (!text) return std::nullopt;
    return std::string(text);
}

template <typename Callback>
SignalHandler connect(gpointer instance, const char* signal, Callback callback, Engine* engine) {
    return SignalHandler(instance, g_signal_connect(instance, signal, G_CALLBACK(callback), engine));
}

// Property observations: each change hops to the main loop and reads the
// value current when it runs, so a burst of changes ends on the latest value.
void onProgressNotify(WebKitWebView*, GParamSpec*, gpointer data) {
    static_cast<Engine*>(data)->onMainLoop([](Engine& e) {
        e.coordinator.progressChanged(webkit_web_view_get_estimated_load_progress(e.view.get()));
    });
}

void onTitleNotify(WebKitWebView*, GParamSpec*, gpointer data) {
    static_cast<Engine*>(data)->onMainLoop(
        [](Engine& e) { e.coordinator.titleChanged(optionalText(webkit_web_view_get_title(e.view.get()))); });
}

void onUriNotify(WebKitWebView*, GParamSpec*, gpointer data) {
    static_cast<Engine*>(data)->onMainLoop(
        [](Engine& e) { e.coordinator.urlChanged(optionalText(webkit_web_view_get_uri(e.view.get()))); });
}

void onLoadingNotify(WebKitWebView*, GParamSpec*, gpointer data) {
    static_cast<Engine*>(data)->onMainLoop(
        [](Engine& e) { e.coordinator.loadingChanged(webkit_web_view_is_loading(e.view.get())); });
}

void onBackForwardChanged(WebKitBackForwardList*, WebKitBackForwardListItem*, gpointer, gpointer data) {
    static_cast<Engine*>(data)->onMainLoop([](Engine& e) {
        e.coordinator.backForwardChanged(webkit_web_view_can_go_back(e.view.get()),
                                         webkit_web_view_can_go_forward(e.view.get()));
    });
}

void onLoadStarted(Engine& engine) {
    engine.lastLoadFailed = false;
    const auto origin = std::exchange(engine.userAsked, false) ? NavigationOrigin::user : NavigationOrigin::page;
    engine.errorPage = engine.errorPage == ErrorPage::requested ? ErrorPage::loading : ErrorPage::none;
    // The error page's own load keeps the failure on the tab.
    if (engine.errorPage != ErrorPage::loading) engine.coordinator.navigationStarted(origin);
}

void onLoadFinished(WebKitWebView* view, Engine& engine) {
    // The engine also ends a failed load with "finished"; that one is no visit.
    if (std::exchange(engine.lastLoadFailed, false)) return;
    if (engine.errorPage == ErrorPage::loading) {
        engine.errorPage = ErrorPage::none;
        engine.coordinator.loadingChanged(false);
        return;
    }
    engine.coordinator.navigationFinished({static_cast<bool>(webkit_web_view_can_go_back(view)),
                                           static_cast<bool>(webkit_web_view_can_go_forward(view)),
                                           optionalText(webkit_web_view_get_uri(view)),
                                           optionalText(webkit_web_view_get_title(view))});
    if (engine.coordinator.isAwaitingTitle()) engine.awaitTitle();
}

void onLoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer data) {
    auto* engine = static_cast<Engine*>(data);
    if (event == WEBKIT_LOAD_STARTED) {
        onLoadStarted(*engine);
    } else if (event == WEBKIT_LOAD_COMMITTED) {
        engine->newWindows.pageChanged();
        engine->dialogLimiter.pageChanged();
    } else if (event == WEBKIT_LOAD_FINISHED) {
        onLoadFinished(view, *engine);
    }
}

// A load the user or the browser ended on purpose (Stop, a new address, a
// download, a refused saved-page request) is no failure to show.
bool isDeliberateEnd(const GError* error) {
    return g_error_matches(error, WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_CANCELLED) ||
           g_error_matches(error, WEBKIT_POLICY_ERROR, WEBKIT_POLICY_ERROR_FRAME_LOAD_INTERRUPTED_BY_POLICY_CHANGE) ||
           g_error_matches(error, WEBKIT_MEDIA_ERROR, WEBKIT_MEDIA_ERROR_WILL_HANDLE_LOAD);
}

gboolean onLoadFailed(WebKitWebView* view, WebKitLoadEvent, gchar* failingUri, GError* error, gpointer data) {
    auto* engine = static_cast<Engine*>(data);
    engine->lastLoadFailed = true;
    engine->newWindows.pageChanged();
    if (isDeliberateEnd(error) || engine->errorPage == ErrorPage::loading) {
        engine->coordinator.navigationFailed();
        return TRUE;
    }
    const std::string address = failingUri ? failingUri : "";
    const std::string message = error && error->message ? error->message : "The page could not be loaded.";
    engine->coordinator.navigationFailed(message);
    // Shown under the failed address, so the address field keeps it and Reload tries it again.
    engine->errorPage = ErrorPage::requested;
    const std::string html = errorPageHtml(address, message, engine->state.colorTheme.get());
    webkit_web_view_load_alternate_html(view, html.c_str(), address.c_str(), nullptr);
    return TRUE;  // handled: our page, not the engine's
}

NavigationAction plainAction(WebKitNavigationAction* action) {
    WebKitURIRequest* request = webkit_navigation_action_get_request(action);
    return {webkit_navigation_action_get_navigation_type(action) == WEBKIT_NAVIGATION_TYPE_LINK_CLICKED,
            (webkit_navigation_action_get_modifiers(action) & GDK_CONTROL_MASK) != 0,
            webkit_navigation_action_get_mouse_button(action),
            optionalText(request ? webkit_uri_request_get_uri(request) : nullptr)};
}

gboolean onDecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type, gpointer data) {
    if (type != WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION && type != WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION)
        return FALSE;
    auto* navigation = WEBKIT_NAVIGATION_POLICY_DECISION(decision);
    WebKitNavigationAction* webAction = webkit_navigation_policy_decision_get_navigation_action(navigation);
    auto* engine = static_cast<Engine*>(data);
    if (webkit_navigation_action_is_user_gesture(webAction)) engine->userAsked = true;
    if (engine->coordinator.decidePolicy(plainAction(webAction)) == PolicyAnswer::allow) return FALSE;
    webkit_policy_decision_ignore(decision);
    return TRUE;
}

GtkWidget* onCreate(WebKitWebView*, WebKitNavigationAction* action, gpointer data) {
    WebKitURIRequest* request = webkit_navigation_action_get_request(action);
    auto* engine = static_cast<Engine*>(data);
    const auto target = engine->newWindows.admit({optionalText(request ? webkit_uri_request_get_uri(request) : nullptr),
                                                  static_cast<bool>(webkit_navigation_action_is_user_gesture(action))});
    // Loaded once the engine has finished asking, not from inside its request.
    if (target) engine->onMainLoop([url = *target](Engine& e) { e.load(url); });
    return nullptr;
}

gboolean onScriptDialog(WebKitWebView*, WebKitScriptDialog* dialog, gpointer data) {
    const auto type = webkit_script_dialog_get_dialog_type(dialog);
    if (type == WEBKIT_SCRIPT_DIALOG_BEFORE_UNLOAD_CONFIRM) return FALSE;
    auto* engine = static_cast<Engine*>(data);
    const auto verdict = engine->dialogLimiter.dialogRequested();
    if (verdict == ScriptDialogLimiter::Verdict::answerAtOnce) {
        // As "Cancel" would: the alert returns, confirm is false, prompt none. Handled
        // without keeping the dialog, the engine answers the page as soon as this returns.
        if (type == WEBKIT_SCRIPT_DIALOG_CONFIRM) webkit_script_dialog_confirm_set_confirmed(dialog, FALSE);
    } else {
        engine->showPanel(dialog, verdict == ScriptDialogLimiter::Verdict::showWithOfferToStop);
    }
    return TRUE;
}

std::string originOf(const char* uri) {
    if (!uri) return {};
    WebKitSecurityOrigin* origin = webkit_security_origin_new_for_uri(uri);
    if (!origin) return {};
    gchar* text = webkit_security_origin_to_string(origin);
    std::string result = text ? text : uri;
    g_free(text);
    webkit_security_origin_unref(origin);
    return result;
}

JavaScriptPanelRequest::Kind panelKind(WebKitScriptDialogType type) {
    switch (type) {
    case WEBKIT_SCRIPT_DIALOG_CONFIRM: return JavaScriptPanelRequest::Kind::confirm;
    case WEBKIT_SCRIPT_DIALOG_PROMPT: return JavaScriptPanelRequest::Kind::prompt;
    default: return JavaScriptPanelRequest::Kind::alert;
    }
}

}  // namespace

void Engine::build() {
    WebKitSettings* settings = webkit_settings_new();
    webkit_settings_set_enable_fullscreen(settings, TRUE);
    webkit_settings_set_enable_back_forward_navigation_gestures(settings, TRUE);
    // The engine's own pop-up blocker, kept on whatever its default becomes.
    webkit_settings_set_javascript_can_open_windows_automatically(settings, FALSE);
    view = GObjectRef<WebKitWebView>::adopt(
        WEBKIT_WEB_VIEW(g_object_new(WEBKIT_TYPE_WEB_VIEW, "settings", settings, nullptr)));
    g_object_unref(settings);
    gtk_widget_set_hexpand(GTK_WIDGET(view.get()), TRUE);
    gtk_widget_set_vexpand(GTK_WIDGET(view.get()), TRUE);
    guardSavedPages(view.get());  // ahead of the host's own policy handler
    downloadResponsesNotShown(view.get());
    connectSignals();
}

void Engine::connectSignals() {
    gpointer v = view.get();
    handlers.push_back(connect(v, "notify::estimated-load-progress", onProgressNotify, this));
    handlers.push_back(connect(v, "notify::title", onTitleNotify, this));
    handlers.push_back(connect(v, "notify::uri", onUriNotify, this));
    handlers.push_back(connect(v, "notify::is-loading", onLoadingNotify, this));
    handlers.push_back(connect(webkit_web_view_get_back_forward_list(view.get()), "changed", onBackForwardChanged, this));
    handlers.push_back(connect(v, "load-changed", onLoadChanged, this));
    handlers.push_back(connect(v, "load-failed", onLoadFailed, this));
    handlers.push_back(connect(v, "decide-policy", onDecidePolicy, this));
    handlers.push_back(connect(v, "create", onCreate, this));
    handlers.push_back(connect(v, "script-dialog", onScriptDialog, this));
}

void Engine::onMainLoop(std::function<void(Engine&)> work) {
    runSoon([this, token = std::weak_ptr<bool>(alive), work = std::move(work)] {
        if (!token.expired()) work(*this);
    });
}

// A page that keeps an empty title is recorded with it after a while, so it still reaches the History panel;
// a page the page went to itself is recorded then, if still shown.
void Engine::awaitTitle() {
    constexpr unsigned kTitleWaitMilliseconds = 3000;
    titleWait = Glib::signal_timeout().connect(
        [this] {
            coordinator.titleWaitOver();
            return false;
        },
        kTitleWaitMilliseconds);
}

void Engine::load(const Url& url) {
    errorPage = ErrorPage::none;
    userAsked = true;
    // The engine's default cache policy follows the protocol's own caching rules.
    auto request = GObjectRef<WebKitURIRequest>::adopt(webkit_uri_request_new(url.absoluteString().c_str()));
    allowLoad(view.get(), url.absoluteString());
    webkit_web_view_load_request(view.get(), request.get());
}

void Engine::execute(const NavigationCommand& command) {
    WebKitWebView* v = view.get();
    if (!std::holds_alternative<NavigationCommand::Zoom>(command.action)) errorPage = ErrorPage::none;
    // Going back or forward and reloading are the user's navigations (a load marks itself).
    if (!std::holds_alternative<NavigationCommand::Zoom>(command.action) &&
        !std::holds_alternative<NavigationCommand::Stop>(command.action))
        userAsked = true;
    std::visit(
        [&](const auto& action) {
            using Action = std::decay_t<decltype(action)>;
            if constexpr (std::is_same_v<Action, NavigationCommand::Load>) load(action.url);
            else if constexpr (std::is_same_v<Action, NavigationCommand::Zoom>) webkit_web_view_set_zoom_level(v, action.factor);
            else if constexpr (std::is_same_v<Action, NavigationCommand::GoBack>) webkit_web_view_go_back(v);
            else if constexpr (std::is_same_v<Action, NavigationCommand::GoForward>) webkit_web_view_go_forward(v);
            else if constexpr (std::is_same_v<Action, NavigationCommand::Reload>) webkit_web_view_reload(v);
            else webkit_web_view_stop_loading(v);
        },
        command.action);
}

void Engine::showPanel(WebKitScriptDialog* dialog, bool offerToStop) {
    if (panel) panel->cancel();
    pendingDialog = ScriptDialogHandle(dialog);
    JavaScriptPanelRequest request{panelKind(webkit_script_dialog_get_dialog_type(dialog)),
                                   optionalText(webkit_script_dialog_get_message(dialog)).value_or(""), "",
                                   originOf(webkit_web_view_get_uri(view.get())), offerToStop};
    if (request.kind == JavaScriptPanelRequest::Kind::prompt)
        request.defaultText = optionalText(webkit_script_dialog_prompt_get_default_text(dialog)).value_or("");
    GtkRoot* root = gtk_widget_get_root(GTK_WIDGET(view.get()));
    Gtk::Window* parent = GTK_IS_WINDOW(root) ? Glib::wrap(GTK_WINDOW(root)) : nullptr;
    // The previous, already answered panel may go now: none of its handlers is running.
    panel = std::make_unique<JavaScriptPanel>(parent, request, [this](const JavaScriptPanelAnswer& answer) {
        answerPanel(answer);
    });
    panel->present();
}

void Engine::answerPanel(const JavaScriptPanelAnswer& answer) {
    WebKitScriptDialog* dialog = pendingDialog.get();
    if (!dialog) return;
    dialogLimiter.dialogAnswered(answer.stopDialogs);
    const auto type = webkit_script_dialog_get_dialog_type(dialog);
    if (type == WEBKIT_SCRIPT_DIALOG_CONFIRM) webkit_script_dialog_confirm_set_confirmed(dialog, answer.accepted);
    if (type == WEBKIT_SCRIPT_DIALOG_PROMPT && answer.accepted)
        webkit_script_dialog_prompt_set_text(dialog, answer.text.c_str());
    pendingDialog.close();
}

void Engine::shutDown() {
    handlers.clear();
    titleWait.disconnect();
    alive.reset();
    if (panel) panel->cancel();
    pendingDialog.close();
}

WebViewHost::WebViewHost(BrowserState& browserState, BrowserDataStore& dataStore, Uuid tabId)
    : m_tabId(tabId), m_engine(std::make_unique<Engine>(browserState, dataStore, tabId)) {
    set_hexpand(true);
    set_vexpand(true);
    m_engine->build();
    gtk_box_append(gobj(), GTK_WIDGET(m_engine->view.get()));
    m_engine->coordinator.loadFirstPage([engine = m_engine.get()](const Url& url) { engine->load(url); });

    // One zoom for the whole browser: every tab's page follows it, not only the active one.
    m_engine->applyZoom();
    m_connections += browserState.pageZoom.changed().connect([engine = m_engine.get()] { engine->applyZoom(); });
    m_engine->coordinator.executeCommands([engine = m_engine.get()](const NavigationCommand& command) {
        engine->execute(command);
    });
}

WebViewHost::~WebViewHost() {
    m_connections.clear();
    m_engine->shutDown();
    gtk_box_remove(gobj(), GTK_WIDGET(m_engine->view.get()));
    m_engine.reset();
}

std::unique_ptr<PageFinder> WebViewHost::createFinder() const { return std::make_unique<PageFinder>(m_engine->view.get()); }

bool WebViewHost::shows(const PageFinder& finder) const { return finder.webView() == m_engine->view.get(); }

void WebViewHost::print(Gtk::Window& parent) const { page_printing::runDialog(m_engine->view.get(), parent.gobj()); }

std::unique_ptr<PageArchiver> WebViewHost::createArchiver() const {
    return std::make_unique<WebPageArchiver>(m_engine->view.get());
}

void WebViewHost::focusPage() { gtk_widget_grab_focus(GTK_WIDGET(m_engine->view.get())); }

WebKitWebView* WebViewHostTestAccess::webView(const WebViewHost& host) { return host.m_engine->view.get(); }

}  // namespace sarvik
