#pragma once

#include "core/scoped_connection.h"
#include "core/storage_problems.h"

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/image.h>
#include <gtkmm/label.h>

#include <optional>

namespace sarvik {

// A band above the page while a data file cannot be saved: which file, why,
// and that its changes live only until quit. Dismissed, it stays away for
// that cause; a new cause brings it back; it goes by itself once the file
// saves again.
class StorageNoticeBar : public Gtk::Box {
public:
    explicit StorageNoticeBar(StorageProblems& problems);

    const Gtk::Label& message() const { return m_message; }
    Gtk::Button& dismissButton() { return m_dismiss; }

private:
    void follow();

    StorageProblems& m_problems;
    Gtk::Image m_symbol;
    Gtk::Label m_message;
    Gtk::Button m_dismiss;
    std::optional<StorageProblems::Problem> m_dismissed;
    ScopedConnection m_connection;
};

}  // namespace sarvik
