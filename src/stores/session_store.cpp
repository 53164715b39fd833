#include "stores/session_store.h"

#include "core/json.h"
#include "core/main_loop_hop.h"

namespace sarvik {

SessionStore::SessionStore(BrowserState& state, std::filesystem::path directory, FileLayer& files)
    : m_state(state), m_file(directory / "session.json", files) {
    if (const auto text = m_file.read()) {
        try {
            m_last = decodeSessionData(*text);
        } catch (const json::DecodeError&) {
            m_file.markDamaged();
        }
    }
    m_connections += state.tabs.changed().connect([this] { scheduleSave(); });
    m_connections += state.activeTabId.changed().connect([this] { scheduleSave(); });
}

void SessionStore::restoreLastSession() {
    if (!m_last) return;
    const SessionData last = *std::exchange(m_last, std::nullopt);
    m_state.restoreTabs(tabsOf(last), static_cast<std::size_t>(last.activePosition));
    m_lastSessionChanged.emit();
}

void SessionStore::forgetLastSession() {
    if (!m_last) return;
    m_last.reset();
    save(false);
    m_lastSessionChanged.emit();
}

void SessionStore::endCleanly() {
    save(true);
    m_connections.clear();
}

void SessionStore::scheduleSave() {
    if (m_pendingSave.connected()) return;
    m_pendingSave = scheduleSoon([this] { save(false); });
}

void SessionStore::save(bool endedCleanly) {
    m_pendingSave.disconnect();
    SessionData now = sessionOf(m_state.tabs.get(), m_state.activeTabId.get(), endedCleanly);
    if (now == m_written) return;
    // While the last run's tabs are still on offer, a start that only shows the home page keeps them on
    // disk: a second crash before the user chose must not lose them.
    if (m_last && !endedCleanly && !holdsMoreThanTheHomePage(now, m_state.homePage.get())) return;
    if (m_file.write(encodeSessionData(now))) m_written = std::move(now);
}

}  // namespace sarvik
