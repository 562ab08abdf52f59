#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/NameId.h"
#include "engine/core/RefPointer.h"
#include "game/app/ClientQueue.h"
#include "game/screens/TutorialAction.h"

class CEventControlClickStarted;
class CEventControlClicked;
class CEventInputMouseLeftDown;
class CEventListItemPressed;
class GClientDragEvent;
class GClientStateEvent;
class GDropTargetEvent;
class GShopListItemPressedEvent;
class LocationStateEvent;

// The sixteen kinds of tutorial action, made by the "Type" of their "Action" element. Each keeps
// what its element says; what it does while its hint is current is its run-time part.

// The action of the type; none for a type that is not one of the sixteen.
CRefPointer<GTutorialAction> createTutorialAction(const CStringW& type);

// Done once its time has passed.
class GTutorialActionTimed : public GTutorialAction {
public:
    void load(CXmlTextReader& reader, GWishListOrders& wishListOrders) override;
    void update(uint32_t elapsedMs) override;
    bool isDone() const override { return remainingMs <= 0; }

    int32_t remainingMs = 0;

protected:
    ~GTutorialActionTimed() override = default;
};

// Done at the first click anywhere, which it keeps from the game.
class GTutorialActionMouseClick : public GTutorialAction {
public:
    static const EventMap& getEventMap();
    bool OnEvent(CEvent& event) override;
    bool isDone() const override { return clicked; }

    bool clicked = false;

protected:
    ~GTutorialActionMouseClick() override = default;

private:
    bool onClick(CEvent& event);
};

// Done at a click of one of the named controls.
// Every other control click is kept from the game.
class GTutorialActionControlPress : public GTutorialAction {
public:
    void load(CXmlTextReader& reader, GWishListOrders& wishListOrders) override;
    static const EventMap& getEventMap();
    bool OnEvent(CEvent& event) override;
    bool isDone() const override { return done; }

    bool done = false;
    CArray<CNameId> names;

protected:
    ~GTutorialActionControlPress() override = default;

private:
    bool onClickStarted(CEventControlClickStarted& event);
    bool onClicked(CEventControlClicked& event);
    bool onListItem(CEventListItemPressed& event);
};

// Done at a press of one of the items (any item when none is listed) of the named list.
// Control clicks and the presses of other items are kept from the game; the shop's item list
// counts only under the name "ItemsList".
class GTutorialActionListItemPress : public GTutorialAction {
public:
    void load(CXmlTextReader& reader, GWishListOrders& wishListOrders) override;
    static const EventMap& getEventMap();
    bool OnEvent(CEvent& event) override;
    bool isDone() const override { return done; }

    bool done = false;
    CNameId listName;
    CArray<int32_t> items;

protected:
    ~GTutorialActionListItemPress() override = default;

private:
    bool onControlClick(CEvent& event);
    bool onListItem(CEventListItemPressed& event);
    bool onShopItem(GShopListItemPressedEvent& event);
    // Done and passed on when the item counts, else kept from the game.
    bool pressItem(int32_t item);
};

// Done when the player picks up a named client, or a client standing at a named location; a
// named client may set its own skip count (by its place in the names). Nothing else is picked up
// or dropped while it waits.
class GTutorialActionClientClick : public GTutorialAction {
public:
    void load(CXmlTextReader& reader, GWishListOrders& wishListOrders) override;
    static const EventMap& getEventMap();
    bool OnEvent(CEvent& event) override;
    bool isDone() const override { return done; }

    bool done = false;

    CArray<CNameId> names;
    CArray<int32_t> nameSkipCounts;
    CArray<CNameId> locations;

protected:
    ~GTutorialActionClientClick() override = default;

private:
    bool onDrag(GClientDragEvent& event);
    bool onDrop(GDropTargetEvent& event);
    bool onClicked(CEventControlClicked& event);
};

// Done when a dragged client is dropped on one of the named locations (any location when none is
// named); no client is picked up meanwhile.
class GTutorialActionLocationClick : public GTutorialAction {
public:
    void load(CXmlTextReader& reader, GWishListOrders& wishListOrders) override;
    static const EventMap& getEventMap();
    bool OnEvent(CEvent& event) override;
    bool isDone() const override { return done; }

    bool done = false;
    CArray<CNameId> names;

protected:
    ~GTutorialActionLocationClick() override = default;

private:
    bool onDrag(GClientDragEvent& event);
    bool onDrop(GDropTargetEvent& event);
    bool onClicked(CEventControlClicked& event);
};

// What the two state triggers read: the names of the objects, the state and whether an object
// already in the state as the hint is shown counts.
class GTutorialActionStateChanged : public GTutorialAction {
public:
    void load(CXmlTextReader& reader, GWishListOrders& wishListOrders) override;
    bool isDone() const override { return done; }

    bool done = false;
    CArray<CNameId> names;
    int32_t state = 0;
    bool checkCurrent = false;

protected:
    ~GTutorialActionStateChanged() override = default;

    // An object reaching the state by an event; an empty names list takes any object.
    void reached(CNameId name, int32_t newState);
    // An object found in the state as the hint is shown; only named objects count.
    bool isNamedIn(CNameId name, int32_t current) const;
};

// Done when a (named) client reaches the state; with checkCurrent also when one is in it as
// the hint is shown.
class GTutorialActionClientStateChanged : public GTutorialActionStateChanged {
public:
    void begin(GGameLevelScene* level) override;
    static const EventMap& getEventMap();
    bool OnEvent(CEvent& event) override;

protected:
    ~GTutorialActionClientStateChanged() override = default;

private:
    bool onState(GClientStateEvent& event);
};

// The same for locations.
class GTutorialActionLocationStateChanged : public GTutorialActionStateChanged {
public:
    void begin(GGameLevelScene* level) override;
    static const EventMap& getEventMap();
    bool OnEvent(CEvent& event) override;

protected:
    ~GTutorialActionLocationStateChanged() override = default;

private:
    bool onState(LocationStateEvent& event);
};

// Done when one of the named clients is picked up and dropped on one of the named locations;
// other clients are not picked up, and drops on other locations do not happen.
class GTutorialActionTransferClient : public GTutorialAction {
public:
    void load(CXmlTextReader& reader, GWishListOrders& wishListOrders) override;
    static const EventMap& getEventMap();
    bool OnEvent(CEvent& event) override;
    bool isDone() const override { return done; }

    bool picked = false;
    bool done = false;
    CArray<CNameId> clientNames;
    CArray<CNameId> destinations;

protected:
    ~GTutorialActionTransferClient() override = default;

private:
    bool onDrag(GClientDragEvent& event);
    bool onDrop(GDropTargetEvent& event);
};

// Arms the level's client queue; allowNext lets the queue run on by itself again.
class GTutorialActionNextClient : public GTutorialAction {
public:
    void load(CXmlTextReader& reader, GWishListOrders& wishListOrders) override;
    void begin(GGameLevelScene* level) override;

    bool allowNext = false;

protected:
    ~GTutorialActionNextClient() override = default;
};

// Enables or disables the named location.
class GTutorialActionEnableLocation : public GTutorialAction {
public:
    void load(CXmlTextReader& reader, GWishListOrders& wishListOrders) override;
    void begin(GGameLevelScene* level) override;

    CNameId locationName;
    bool enable = true;

protected:
    ~GTutorialActionEnableLocation() override = default;
};

// Replaces the level's clients still to come by the queue of its "ClientsQueue" elements.
class GTutorialActionInsertClientsQueue : public GTutorialAction {
public:
    void load(CXmlTextReader& reader, GWishListOrders& wishListOrders) override;
    void begin(GGameLevelScene* level) override;

    CArray<GClientQueueEntry> clientsQueue;

protected:
    ~GTutorialActionInsertClientsQueue() override = default;
};

// Keeps the level paused while its hint is current; never done. It has no skip count.
class GTutorialActionPauseGenerate : public GTutorialAction {
public:
    void load(CXmlTextReader& reader, GWishListOrders& wishListOrders) override;
    void begin(GGameLevelScene* level) override;
    void update(uint32_t elapsedMs) override;
    bool isDone() const override { return false; }
    void reset() override;

protected:
    ~GTutorialActionPauseGenerate() override = default;
};

// Seeds the level's random generator; never done.
class GTutorialActionSetRandom : public GTutorialAction {
public:
    void load(CXmlTextReader& reader, GWishListOrders& wishListOrders) override;
    void begin(GGameLevelScene* level) override;
    bool isDone() const override { return false; }

    int32_t seed = 134645756;

protected:
    ~GTutorialActionSetRandom() override = default;
};

// Gives the item to every named client, once for each time it is named.
class GTutorialActionGiveItem : public GTutorialAction {
public:
    void load(CXmlTextReader& reader, GWishListOrders& wishListOrders) override;
    void begin(GGameLevelScene* level) override;

    CArray<CNameId> names;
    CNameId item;

protected:
    ~GTutorialActionGiveItem() override = default;
};

// Recharges the named location.
class GTutorialActionChargeLocation : public GTutorialAction {
public:
    void load(CXmlTextReader& reader, GWishListOrders& wishListOrders) override;
    void begin(GGameLevelScene* level) override;

    CNameId locationName;

protected:
    ~GTutorialActionChargeLocation() override = default;
};
