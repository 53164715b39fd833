#include "views/auction_item_object.h"

#include <utility>

namespace sarvik {

AuctionItemObject::AuctionItemObject(AuctionItem item)
    : Glib::ObjectBase(typeid(AuctionItemObject)), m_item(std::move(item)) {}

Glib::RefPtr<AuctionItemObject> AuctionItemObject::create(AuctionItem item) {
    return Glib::make_refptr_for_instance<AuctionItemObject>(new AuctionItemObject(std::move(item)));
}

}  // namespace sarvik
