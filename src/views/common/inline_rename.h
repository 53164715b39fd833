#pragma once

#include "core/scoped_connection.h"
#include "core/uuid.h"

#include <gtkmm/entry.h>
#include <sigc++/signal.h>

#include <functional>
#include <optional>
#include <string>

namespace sarvik {

// Renaming one record of a list in place: which record is being renamed and
// the name typed so far. List rows are made and reused as the list scrolls
// and refills, so the panel keeps this and each row's InlineRenameField shows
// it. Confirming gives the record the typed name, except an empty one, which
// keeps the old title; cancelling, or starting on another record, drops what
// was typed.
class InlineRename {
public:
    using Commit = std::function<void(const Uuid& id, const std::string& title)>;
    explicit InlineRename(Commit commit) : m_commit(std::move(commit)) {}

    void start(const Uuid& id, std::string title);
    void setTitle(std::string title) { m_title = std::move(title); }
    void confirm();
    void cancel();

    bool isRenaming(const Uuid& id) const { return m_id == id; }
    const std::string& title() const { return m_title; }
    // A rename started or ended.
    sigc::signal<void()>& changed() { return m_changed; }

private:
    Commit m_commit;
    std::optional<Uuid> m_id;
    std::string m_title;
    sigc::signal<void()> m_changed;
};

// The "Name" field that takes a row's title's place while the row's record is
// renamed: it opens with the whole title selected and the keyboard in it;
// Return confirms and Escape cancels. Leaving it keeps it open with what was
// typed, until one of those or another rename. The rename must outlive the row.
class InlineRenameField : public Gtk::Entry {
public:
    InlineRenameField(InlineRename& rename, Gtk::Widget& title);

    // The record the row shows now.
    void bind(const Uuid& id);

private:
    void showState(bool takeFocus);

    InlineRename& m_rename;
    Gtk::Widget& m_title;
    std::optional<Uuid> m_id;
    ScopedConnection m_renameChanged;
};

}  // namespace sarvik
