#include "app/quit_request.h"

#include <gtkmm/messagedialog.h>

#include <string>

namespace sarvik {
namespace {

void closeEveryWindowAndQuit(Gtk::Application& application, const std::function<void()>& quit) {
    for (Gtk::Window* window : application.get_windows()) window->close();
    quit();
}

}  // namespace

void requestQuit(Gtk::Application& application, std::size_t runningDownloads, std::function<void()> quit) {
    if (runningDownloads == 0) {
        closeEveryWindowAndQuit(application, quit);
        return;
    }
    auto* dialog = new Gtk::MessageDialog("Quit SarvikBrowser?", false, Gtk::MessageType::QUESTION,
                                          Gtk::ButtonsType::NONE, true);
    dialog->set_name("quit-question");
    if (Gtk::Window* active = application.get_active_window()) dialog->set_transient_for(*active);
    dialog->set_secondary_text(runningDownloads == 1 ? std::string("A download is in progress and will be stopped.")
                                                     : std::to_string(runningDownloads) +
                                                           " downloads are in progress and will be stopped.");
    dialog->add_button("Cancel", Gtk::ResponseType::CANCEL);
    dialog->add_button("Quit", Gtk::ResponseType::ACCEPT);
    dialog->set_default_response(Gtk::ResponseType::CANCEL);
    application.add_window(*dialog);
    dialog->signal_response().connect([dialog, &application, quit = std::move(quit)](int response) {
        // Hiding deletes the dialog and this handler with it: keep what is still needed first.
        const auto act = quit;
        Gtk::Application& app = application;
        dialog->hide();
        if (response == Gtk::ResponseType::ACCEPT) closeEveryWindowAndQuit(app, act);
    });
    dialog->signal_hide().connect([dialog] { delete dialog; });
    dialog->present();
}

}  // namespace sarvik
