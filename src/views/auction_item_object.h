#pragma once

#include "stores/auction_item.h"

#include <glibmm/object.h>
#include <glibmm/refptr.h>

namespace sarvik {

// One auction as an element of the panel's list model: a copy of the item
// taken when the store published it, so rows never read a changing list.
class AuctionItemObject : public Glib::Object {
public:
    static Glib::RefPtr<AuctionItemObject> create(AuctionItem item);

    const AuctionItem& item() const { return m_item; }

protected:
    explicit AuctionItemObject(AuctionItem item);

private:
    AuctionItem m_item;
};

}  // namespace sarvik
