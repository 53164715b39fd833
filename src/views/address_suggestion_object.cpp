#include "views/address_suggestion_object.h"

#include <utility>

namespace sarvik {

AddressSuggestionObject::AddressSuggestionObject(AddressSuggestion suggestion) : m_suggestion(std::move(suggestion)) {}

Glib::RefPtr<AddressSuggestionObject> AddressSuggestionObject::create(AddressSuggestion suggestion) {
    return Glib::make_refptr_for_instance(new AddressSuggestionObject(std::move(suggestion)));
}

}  // namespace sarvik
