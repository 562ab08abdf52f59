#include "game/app/WishListOrders.h"

#include "engine/core/Logger.h"
#include "engine/core/String.h"
#include "game/app/ClientWishList.h"
#include "game/app/ObjectConfigurations.h"

GWishListOrders::GWishListOrders(const ObjectConfigurations* configurations, uint32_t budget)
    : m_configurations(configurations), m_budget(budget) {}

CRefPointer<GClientOrderList> GWishListOrders::ordersOf(CNameId wishList) {
    const auto found = m_lists.find(wishList);
    if (found != m_lists.end())
        return found->value;
    CRefPointer<GClientOrderList> list = make(wishList);
    m_lists.insert(wishList, list);
    return list;
}

CRefPointer<GClientOrderList> GWishListOrders::make(CNameId wishList) {
    CRefPointer<GClientOrderList> list(new GClientOrderList);
    const GClientWishList* node =
        m_configurations != nullptr ? m_configurations->getWishList(wishList) : nullptr;
    if (node == nullptr) {
        CLogger::instance()->logNarrow(CString("Clients queue names an unknown wish list: ") +
                                           wishList.toString(),
                                       CLogger::LevelWarning);
        return list;
    }
    CArray<CNameId> names;
    collectWishListNames(*node, names);
    list->orders.reallocate(names.size());
    for (const CNameId& name : names) {
        if (!appendOrder(*list, name))
            break;
    }
    return list;
}

bool GWishListOrders::appendOrder(GClientOrderList& list, CNameId resourceName) {
    const GResourceConfig* resource = m_configurations->getResourceConfig(resourceName);
    const uint32_t itemCount = resource != nullptr ? resource->additionalItems.size() : 0;
    if (1 + itemCount > m_budget) {
        if (m_budget > 0)
            CLogger::instance()->log(u"Clients queue too long; later orders are left out",
                                     CLogger::LevelWarning);
        m_budget = 0;
        return false;
    }
    m_budget -= 1 + itemCount;
    GClientOrder order;
    order.resource = resourceName;
    order.items.reallocate(itemCount);
    for (uint32_t i = 0; i < itemCount; ++i) {
        GOrderItem item;
        item.name = resource->additionalItems[i].name;
        item.enabled = true;
        item.timeRange = resource->additionalItems[i].timeRange;
        item.configuredRange = true;
        order.items.append(std::move(item));
    }
    list.orders.append(std::move(order));
    return true;
}
