#pragma once

#include "stores/address_suggestion_index.h"

#include <glibmm/object.h>
#include <glibmm/refptr.h>

namespace sarvik {

// One suggestion as an element of the suggestion list's model.
class AddressSuggestionObject : public Glib::Object {
public:
    static Glib::RefPtr<AddressSuggestionObject> create(AddressSuggestion suggestion);

    const AddressSuggestion& suggestion() const { return m_suggestion; }

protected:
    explicit AddressSuggestionObject(AddressSuggestion suggestion);

private:
    AddressSuggestion m_suggestion;
};

}  // namespace sarvik
