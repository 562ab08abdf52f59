#pragma once

#include <cstdint>

#include "engine/core/Map.h"
#include "engine/core/NameId.h"
#include "engine/core/RefPointer.h"
#include "game/app/ClientQueue.h"

class ObjectConfigurations;

// The orders that queued clients take from configured wish lists: one order per named node of
// the list, with the resource's additional items. Each list is made once and then shared by
// every client of the document that names it. What may be made is capped, orders and their
// items together: each order copies its resource's items, so a short file could otherwise ask
// for millions.
class GWishListOrders {
public:
    GWishListOrders(const ObjectConfigurations* configurations, uint32_t budget);

    // The orders of the wish list; an unknown list gives none (and a warning, once). Once the
    // cap is reached, lists made later are cut short or empty (and a warning, once).
    CRefPointer<GClientOrderList> ordersOf(CNameId wishList);

private:
    CRefPointer<GClientOrderList> make(CNameId wishList);
    // False, adding nothing, when the budget cannot hold the order; the budget is then spent.
    bool appendOrder(GClientOrderList& list, CNameId resourceName);

    const ObjectConfigurations* m_configurations;
    uint32_t m_budget;
    CMap<CNameId, CRefPointer<GClientOrderList>> m_lists;
};
