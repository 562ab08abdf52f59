#include "game/app/ClientQueue.h"

#include "engine/core/Logger.h"
#include "engine/core/String.h"
#include "engine/io/XmlTextReader.h"
#include "game/app/ClientWishList.h"
#include "game/app/ConfigValues.h"
#include "game/app/ObjectConfigurations.h"

namespace {

// The order of a wish-list name, with the resource's additional items; false, adding
// nothing, when the budget cannot hold them. The budget is then spent, so that the queue
// warns once.
bool appendConfiguredOrder(GClientOrderList& list, CNameId resourceName,
                           const ObjectConfigurations& configurations, uint32_t& budget) {
    const GResourceConfig* resource = configurations.getResourceConfig(resourceName);
    const uint32_t cost = 1 + (resource != nullptr ? resource->additionalItems.size() : 0);
    if (cost > budget) {
        if (budget > 0)
            CLogger::instance()->log(u"Clients queue too long; later orders are left out",
                                     CLogger::LevelWarning);
        budget = 0;
        return false;
    }
    budget -= cost;
    GClientOrder order;
    order.resource = resourceName;
    for (uint32_t i = 0; resource != nullptr && i < resource->additionalItems.size(); ++i) {
        GOrderItem item;
        item.name = resource->additionalItems[i].name;
        item.enabled = true;
        item.timeRange = resource->additionalItems[i].timeRange;
        item.configuredRange = true;
        order.items.append(item);
    }
    list.orders.append(order);
    return true;
}

void appendWishListOrders(GClientOrderList& list, CNameId wishListName,
                          const ObjectConfigurations* configurations, uint32_t& budget) {
    const GClientWishList* wishList =
        configurations != nullptr ? configurations->getWishList(wishListName) : nullptr;
    if (wishList == nullptr) {
        CLogger::instance()->logNarrow(CString("Clients queue names an unknown wish list: ") +
                                           wishListName.toString(),
                                       CLogger::LevelWarning);
        return;
    }
    CArray<CNameId> names;
    collectWishListNames(*wishList, names);
    list.orders.reallocate(list.orders.size() + names.size());
    for (const CNameId& name : names) {
        if (!appendConfiguredOrder(list, name, *configurations, budget))
            return;
    }
}

} // namespace

void readWishListEntry(const CXmlTextReader& reader, GClientQueueEntry& entry,
                       const ObjectConfigurations* configurations, uint32_t& orderBudget) {
    entry.clientType = readNameAttribute(reader, u"Name");
    entry.time = reader.getAttributeInt(u"Time", 0);
    entry.referencedEntries = readIntListAttribute(reader, u"RefClient");
    entry.watchedClient = reader.getAttributeInt(u"RefClientInPair", -1);
    entry.startActions = readNameListAttribute(reader, u"RefClientStartActions");
    entry.endActions = readNameListAttribute(reader, u"RefClientEndActions");
    const CArray<CNameId> wishLists = readNameListAttribute(reader, u"WishLists");
    const CArray<int32_t> colors = readIntListAttribute(reader, u"Colors");
    for (uint32_t k = 0; k < wishLists.size(); ++k) {
        GQueuedClient client;
        client.orders = CRefPointer<GClientOrderList>(new GClientOrderList);
        client.color = k < colors.size() ? colors[k] : 0;
        client.superPadHeartsFromType = true;
        client.superPadClicksFromType = true;
        client.superPadClicks = 3;
        appendWishListOrders(*client.orders, wishLists[k], configurations, orderBudget);
        entry.clients.append(client);
    }
}

void readPairEntry(CXmlTextReader& reader, GClientQueueEntry& entry) {
    entry.clientType = readNameAttribute(reader, u"CI");
    entry.time = reader.getAttributeInt(u"AT", 0);
    entry.referencedEntries = readIntListAttribute(reader, u"ARC");
    entry.watchedClient = reader.getAttributeInt(u"ARCP", -1);
    entry.startActions = readNameListAttribute(reader, u"ARCSA");
    entry.endActions = readNameListAttribute(reader, u"ARCEA");
    parseQueuedPair(reader, entry);
}

void parseQueuedPair(CXmlTextReader& reader, GClientQueueEntry& entry) {
    readElementsUntilEnd(reader, u"Pair", [&] {
        if (reader.nodeName() != u"Client")
            return;
        GQueuedClient client;
        client.orders = CRefPointer<GClientOrderList>(new GClientOrderList);
        client.color = reader.getAttributeInt(u"C", 0);
        client.superPadHeartsFromType = readFlagAttribute(reader, u"SD");
        client.superPadHearts = reader.getAttributeFloat(u"S", 0);
        client.superPadClicksFromType = readFlagAttribute(reader, u"ClD");
        client.superPadClicks = reader.getAttributeInt(u"Cl", 2);
        parseClientOrders(*client.orders, reader);
        entry.clients.append(client);
    });
}

void parseClientOrders(GClientOrderList& list, CXmlTextReader& reader) {
    static const CNameId checkOut(CString("CheckOut"));
    readElementsUntilEnd(reader, u"Client", [&] {
        if (reader.nodeName() != u"Order")
            return;
        GClientOrder order;
        order.resource = readNameAttribute(reader, u"Res");
        parseOrderItems(reader, order.items);
        if (order.resource != checkOut)
            list.orders.append(order);
    });
}

void parseOrderItems(CXmlTextReader& reader, CArray<GOrderItem>& items) {
    readElementsUntilEnd(reader, u"Order", [&] {
        if (reader.nodeName() != u"Item")
            return;
        GOrderItem item;
        item.name = readNameAttribute(reader, u"R");
        item.modifications = readIntListAttribute(reader, u"RM");
        item.enabled = readFlagAttribute(reader, u"A");
        item.timeRange = readTimeRangeAttribute(reader, u"T");
        item.configuredRange = readFlagAttribute(reader, u"D");
        items.append(item);
    });
}

void collectWishListNames(const GClientWishList& node, CArray<CNameId>& names) {
    if (node.getParent() != nullptr && node.name != CNameId())
        names.append(node.name);
    for (const CRefPointer<GClientWishList>& child : node.getChildren())
        collectWishListNames(*child, names);
}
