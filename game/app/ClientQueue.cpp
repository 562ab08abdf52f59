#include "game/app/ClientQueue.h"

#include <utility>

#include "engine/io/XmlTextReader.h"
#include "game/app/ClientWishList.h"
#include "game/app/ConfigValues.h"
#include "game/app/WishListOrders.h"

void readWishListEntry(const CXmlTextReader& reader, GClientQueueEntry& entry,
                       GWishListOrders& wishListOrders) {
    entry.clientType = readNameAttribute(reader, u"Name");
    entry.time = reader.getAttributeInt(u"Time", 0);
    entry.referencedEntries = readIntListAttribute(reader, u"RefClient");
    entry.watchedClient = reader.getAttributeInt(u"RefClientInPair", -1);
    entry.startActions = readNameListAttribute(reader, u"RefClientStartActions");
    entry.endActions = readNameListAttribute(reader, u"RefClientEndActions");
    const CArray<CNameId> wishLists = readNameListAttribute(reader, u"WishLists");
    const CArray<int32_t> colors = readIntListAttribute(reader, u"Colors");
    entry.clients.reallocate(wishLists.size());
    for (uint32_t k = 0; k < wishLists.size(); ++k) {
        GQueuedClient client;
        client.orders = wishListOrders.ordersOf(wishLists[k]);
        client.color = k < colors.size() ? colors[k] : 0;
        client.superPadHeartsFromType = true;
        client.superPadClicksFromType = true;
        client.superPadClicks = 3;
        entry.clients.append(std::move(client));
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
        entry.clients.append(std::move(client));
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
            list.orders.append(std::move(order));
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
        items.append(std::move(item));
    });
}

void collectWishListNames(const GClientWishList& node, CArray<CNameId>& names) {
    if (node.getParent() != nullptr && node.name != CNameId())
        names.append(node.name);
    for (const CRefPointer<GClientWishList>& child : node.getChildren())
        collectWishListNames(*child, names);
}
