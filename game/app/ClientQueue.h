#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/NameId.h"
#include "engine/core/RefCounted.h"
#include "engine/core/RefPointer.h"
#include "game/app/AdditionalItem.h"

class CXmlTextReader;
class GClientWishList;
class GWishListOrders;

// An additional item of an order; only enabled ones reach the client's wish list.
struct GOrderItem {
    CNameId name;
    CArray<int32_t> modifications;
    bool enabled = false;
    GTimeRange timeRange;
    // The wish list takes the time range of the order resource's own item of this name.
    bool configuredRange = false;
};

// A service or item a queued client will ask for.
struct GClientOrder {
    CNameId resource;
    CArray<GOrderItem> items;
};

// The orders of one queued client, in order; shared by the copies of its queue entry and, when
// made from a wish list, by every client of the document that names that list. Never changed
// once read.
class GClientOrderList : public CRefCounted {
public:
    GClientOrderList() = default;

    CArray<GClientOrder> orders;

protected:
    ~GClientOrderList() override = default;
};

// One client of a queue entry.
struct GQueuedClient {
    CRefPointer<GClientOrderList> orders;
    // 0 lets the level choose when the client comes; 1 to 5 fix the colour.
    int32_t color = 0;
    // Set: the client type's super-pad value replaces the one here when the client comes.
    bool superPadHeartsFromType = false;
    float superPadHearts = 0;
    bool superPadClicksFromType = false;
    int32_t superPadClicks = 0;
};

// One entry of a level's client queue: a client, or a group that comes together.
struct GClientQueueEntry {
    CNameId clientType;
    // Milliseconds from arming to coming.
    int32_t time = 0;
    // 1-based numbers of the entries this one waits on.
    CArray<int32_t> referencedEntries;
    // 2 watches the second client of the referenced entry, anything else the first.
    int32_t watchedClient = -1;
    // Armed when the watched client begins, or ends, one of these resources.
    CArray<CNameId> startActions;
    CArray<CNameId> endActions;
    CArray<GQueuedClient> clients;
};

// Fills a "Client" entry from the attributes of the element the reader stands on: one queued
// client per wish list, whose orders are the names in the list, as wishListOrders makes them.
void readWishListEntry(const CXmlTextReader& reader, GClientQueueEntry& entry,
                       GWishListOrders& wishListOrders);
// Fills a "Pair" entry from the element the reader stands on and its "Client" children.
void readPairEntry(CXmlTextReader& reader, GClientQueueEntry& entry);
// Appends one queued client per "Client" inside the "Pair" the reader stands on.
void parseQueuedPair(CXmlTextReader& reader, GClientQueueEntry& entry);
// Appends one order per "Order" inside the "Client" the reader stands on; "CheckOut" orders
// are left out.
void parseClientOrders(GClientOrderList& list, CXmlTextReader& reader);
// Appends one item per "Item" inside the "Order" the reader stands on.
void parseOrderItems(CXmlTextReader& reader, CArray<GOrderItem>& items);
// Appends the name of every named node below the given one, depth first, a node before its
// children; the node itself only when it has a parent and a name.
void collectWishListNames(const GClientWishList& node, CArray<CNameId>& names);
