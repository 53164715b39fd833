#include "stores/address_suggestions.h"

namespace sarvik {

AddressSuggestions::AddressSuggestions(const BrowserDataStore& store) : m_store(store) {
    m_connections += store.bookmarks().changed().connect([this] { m_favoritesStale = true; });
    m_connections += store.history().changed().connect([this] { m_historyStale = true; });
}

void AddressSuggestions::prepare() {
    if (m_favoritesStale) m_index.setFavorites(m_store.bookmarks().get());
    if (m_historyStale) m_index.syncHistory(m_store.history().get());
    m_favoritesStale = false;
    m_historyStale = false;
}

std::vector<AddressSuggestion> AddressSuggestions::suggestionsFor(std::string_view typed) {
    prepare();
    return m_index.suggest(typed, m_store.history().get());
}

}  // namespace sarvik
