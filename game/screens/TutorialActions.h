#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/NameId.h"
#include "engine/core/RefPointer.h"
#include "game/app/ClientQueue.h"
#include "game/screens/TutorialAction.h"

// The sixteen kinds of tutorial action, made by the "Type" of their "Action" element. Each keeps
// what its element says; what it does while its hint is current is its run-time part.

// The action of the type; none for a type that is not one of the sixteen.
CRefPointer<GTutorialAction> createTutorialAction(const CStringW& type);

// Done once its time has passed.
class GTutorialActionTimed : public GTutorialAction {
public:
    void load(CXmlTextReader& reader, GWishListOrders& wishListOrders) override;

    int32_t remainingMs = 0;

protected:
    ~GTutorialActionTimed() override = default;
};

// Done at the first click anywhere.
class GTutorialActionMouseClick : public GTutorialAction {
protected:
    ~GTutorialActionMouseClick() override = default;
};

// Done at a click of one of the named controls.
class GTutorialActionControlPress : public GTutorialAction {
public:
    void load(CXmlTextReader& reader, GWishListOrders& wishListOrders) override;

    CArray<CNameId> names;

protected:
    ~GTutorialActionControlPress() override = default;
};

// Done at a press of one of the items (any item when none is listed) of the named list.
class GTutorialActionListItemPress : public GTutorialAction {
public:
    void load(CXmlTextReader& reader, GWishListOrders& wishListOrders) override;

    CNameId listName;
    CArray<int32_t> items;

protected:
    ~GTutorialActionListItemPress() override = default;
};

// Done when the player picks up a named client, or a client standing at a named location; a
// named client may set its own skip count (by its place in the names).
class GTutorialActionClientClick : public GTutorialAction {
public:
    void load(CXmlTextReader& reader, GWishListOrders& wishListOrders) override;

    CArray<CNameId> names;
    CArray<int32_t> nameSkipCounts;
    CArray<CNameId> locations;

protected:
    ~GTutorialActionClientClick() override = default;
};

// Done when a dragged client is dropped on one of the named locations.
class GTutorialActionLocationClick : public GTutorialAction {
public:
    void load(CXmlTextReader& reader, GWishListOrders& wishListOrders) override;

    CArray<CNameId> names;

protected:
    ~GTutorialActionLocationClick() override = default;
};

// What the two state triggers read: the names of the objects, the state and whether an object
// already in the state as the hint is shown counts.
class GTutorialActionStateChanged : public GTutorialAction {
public:
    void load(CXmlTextReader& reader, GWishListOrders& wishListOrders) override;

    CArray<CNameId> names;
    int32_t state = 0;
    bool checkCurrent = false;

protected:
    ~GTutorialActionStateChanged() override = default;
};

// Done when a (named) client reaches the state; with checkCurrent also when one is in it as
// the hint is shown.
class GTutorialActionClientStateChanged : public GTutorialActionStateChanged {
protected:
    ~GTutorialActionClientStateChanged() override = default;
};

// The same for locations.
class GTutorialActionLocationStateChanged : public GTutorialActionStateChanged {
protected:
    ~GTutorialActionLocationStateChanged() override = default;
};

// Done when one of the named clients is picked up and dropped on one of the named locations.
class GTutorialActionTransferClient : public GTutorialAction {
public:
    void load(CXmlTextReader& reader, GWishListOrders& wishListOrders) override;

    CArray<CNameId> clientNames;
    CArray<CNameId> destinations;

protected:
    ~GTutorialActionTransferClient() override = default;
};

// Arms the level's client queue; allowNext lets the queue run on by itself again.
class GTutorialActionNextClient : public GTutorialAction {
public:
    void load(CXmlTextReader& reader, GWishListOrders& wishListOrders) override;

    bool allowNext = false;

protected:
    ~GTutorialActionNextClient() override = default;
};

// Enables or disables the named location.
class GTutorialActionEnableLocation : public GTutorialAction {
public:
    void load(CXmlTextReader& reader, GWishListOrders& wishListOrders) override;

    CNameId locationName;
    bool enable = true;

protected:
    ~GTutorialActionEnableLocation() override = default;
};

// Replaces the level's clients still to come by the queue of its "ClientsQueue" elements.
class GTutorialActionInsertClientsQueue : public GTutorialAction {
public:
    void load(CXmlTextReader& reader, GWishListOrders& wishListOrders) override;

    CArray<GClientQueueEntry> clientsQueue;

protected:
    ~GTutorialActionInsertClientsQueue() override = default;
};

// Keeps the level paused while its hint is current; never done. It has no skip count.
class GTutorialActionPauseGenerate : public GTutorialAction {
public:
    void load(CXmlTextReader& reader, GWishListOrders& wishListOrders) override;

protected:
    ~GTutorialActionPauseGenerate() override = default;
};

// Seeds the level's random generator; never done.
class GTutorialActionSetRandom : public GTutorialAction {
public:
    void load(CXmlTextReader& reader, GWishListOrders& wishListOrders) override;

    int32_t seed = 134645756;

protected:
    ~GTutorialActionSetRandom() override = default;
};

// Gives the item to every named client, once for each time it is named.
class GTutorialActionGiveItem : public GTutorialAction {
public:
    void load(CXmlTextReader& reader, GWishListOrders& wishListOrders) override;

    CArray<CNameId> names;
    CNameId item;

protected:
    ~GTutorialActionGiveItem() override = default;
};

// Recharges the named location.
class GTutorialActionChargeLocation : public GTutorialAction {
public:
    void load(CXmlTextReader& reader, GWishListOrders& wishListOrders) override;

    CNameId locationName;

protected:
    ~GTutorialActionChargeLocation() override = default;
};
