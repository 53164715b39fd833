#pragma once

#include "core/browser_state.h"
#include "core/data_directory.h"
#include "core/scoped_connection.h"
#include "stores/session_data.h"
#include "stores/store_file.h"

#include <sigc++/signal.h>

#include <filesystem>
#include <optional>

namespace sarvik {

// The open tabs kept in "session.json" in the data folder, so a run that ends without quitting (a crash,
// a kill) can offer them at the next start, and a browser set to open the last tabs opens them.
// The last run's file is read once, at construction; from then on every change of the tabs or the
// active one saves, coalesced on the main loop: a burst of changes is one write, and an unchanged
// session none. A damaged file is kept aside (StoreFile) and nothing is offered. Main thread only.
class SessionStore {
public:
    SessionStore(BrowserState& state, std::filesystem::path directory = defaultDataDirectory(),
                 FileLayer& files = FileLayer::system());
    SessionStore(const SessionStore&) = delete;
    SessionStore& operator=(const SessionStore&) = delete;

    const std::filesystem::path& file() const { return m_file.path(); }
    // What this start does with the last run's tabs (none once opened or forgotten).
    SessionStart start() const { return sessionStart(m_last, m_state.startPages.get(), m_state.homePage.get()); }
    const std::optional<SessionData>& lastSession() const { return m_last; }
    void restoreLastSession();
    // The last run's tabs are gone for good: the file holds this run's at once.
    void forgetLastSession();
    sigc::signal<void()>& lastSessionChanged() { return m_lastSessionChanged; }

    // A normal quit: saved now, marked as such, and nothing after it is saved.
    void endCleanly();

private:
    void scheduleSave();
    void save(bool endedCleanly);

    BrowserState& m_state;
    StoreFile m_file;
    std::optional<SessionData> m_last;
    std::optional<SessionData> m_written;
    sigc::signal<void()> m_lastSessionChanged;
    ScopedConnection m_pendingSave;
    ConnectionSet m_connections;
};

}  // namespace sarvik
