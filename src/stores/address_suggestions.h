#pragma once

#include "core/scoped_connection.h"
#include "stores/address_suggestion_index.h"
#include "stores/browser_data_store.h"

#include <string_view>
#include <vector>

namespace sarvik {

// The address field's suggestions from one store's favorites and history
// (ranked by AddressSuggestionIndex). Follows the store's changes: a change
// only marks its list stale, and the next request brings the index up to date
// (for the history, by re-lowering just the entries that changed).
class AddressSuggestions {
public:
    explicit AddressSuggestions(const BrowserDataStore& store);
    AddressSuggestions(const AddressSuggestions&) = delete;
    AddressSuggestions& operator=(const AddressSuggestions&) = delete;

    std::vector<AddressSuggestion> suggestionsFor(std::string_view typed);
    // Builds what is stale now, so that the first keystroke does not pay for it.
    void prepare();

private:
    const BrowserDataStore& m_store;
    AddressSuggestionIndex m_index;
    bool m_favoritesStale = true;
    bool m_historyStale = true;
    ConnectionSet m_connections;
};

}  // namespace sarvik
