#include "engine/platform/InputEvents.h"
#include "engine/scene/ControlEvents.h"
#include "engine/scene/NodeEventHook.h"
#include "engine/ui/UiEvents.h"
#include "game/app/GameEvents.h"
#include "game/level/ClientNode.h"
#include "game/level/GameLevelScene.h"
#include "game/level/LocationNode.h"
#include "game/screens/TutorialActions.h"

// The triggers while their hint is current: what each waits for, and which of the events the
// controller offers it pass on to the game (false) and which are kept from it (true).

namespace {

bool listed(const CArray<CNameId>& names, CNameId name) {
    for (const CNameId& entry : names) {
        if (entry == name)
            return true;
    }
    return false;
}

// The named children: none is the empty name, which no list holds.
CNameId nameIdOf(const BaseNode* node) {
    return node != nullptr ? node->getName() : CNameId();
}

bool listedNode(const CArray<CNameId>& names, const BaseNode* node) {
    return node != nullptr && listed(names, node->getName());
}

} // namespace

void GTutorialActionTimed::update(uint32_t elapsedMs) {
    if (remainingMs > 0)
        remainingMs -= int32_t(elapsedMs);
}

// A click anywhere

const EventMap& GTutorialActionMouseClick::getEventMap() {
    static const EventMapEntry own[] = {
        eventHook<&GTutorialActionMouseClick::onClick, CEventInputMouseLeftDown::Id>(),
        eventHook<&GTutorialActionMouseClick::onClick, CEventListItemPressed::Id>(),
        eventHook<&GTutorialActionMouseClick::onClick, CEventControlClicked::Id>(),
    };
    static const EventMap map = buildEventMap(CEventReceiver::getEventMap(), own);
    return map;
}

bool GTutorialActionMouseClick::OnEvent(CEvent& event) {
    return dispatchThroughEventMap(getEventMap(), event);
}

bool GTutorialActionMouseClick::onClick(CEvent&) {
    clicked = true;
    return true;
}

// A named control

const EventMap& GTutorialActionControlPress::getEventMap() {
    static const EventMapEntry own[] = {
        eventHook<&GTutorialActionControlPress::onClickStarted>(),
        eventHook<&GTutorialActionControlPress::onClicked>(),
        eventHook<&GTutorialActionControlPress::onListItem>(),
    };
    static const EventMap map = buildEventMap(CEventReceiver::getEventMap(), own);
    return map;
}

bool GTutorialActionControlPress::OnEvent(CEvent& event) {
    return dispatchThroughEventMap(getEventMap(), event);
}

bool GTutorialActionControlPress::onClickStarted(CEventControlClickStarted& event) {
    return !listedNode(names, event.getNode());
}

bool GTutorialActionControlPress::onClicked(CEventControlClicked& event) {
    if (!listedNode(names, event.getNode()))
        return true;
    done = true;
    return false;
}

bool GTutorialActionControlPress::onListItem(CEventListItemPressed&) {
    return true;
}

// An item of a list

const EventMap& GTutorialActionListItemPress::getEventMap() {
    static const EventMapEntry own[] = {
        eventHook<&GTutorialActionListItemPress::onControlClick, CEventControlClickStarted::Id>(),
        eventHook<&GTutorialActionListItemPress::onControlClick, CEventControlClicked::Id>(),
        eventHook<&GTutorialActionListItemPress::onListItem>(),
        eventHook<&GTutorialActionListItemPress::onShopItem>(),
    };
    static const EventMap map = buildEventMap(CEventReceiver::getEventMap(), own);
    return map;
}

bool GTutorialActionListItemPress::OnEvent(CEvent& event) {
    return dispatchThroughEventMap(getEventMap(), event);
}

bool GTutorialActionListItemPress::onControlClick(CEvent&) {
    return true;
}

bool GTutorialActionListItemPress::onListItem(CEventListItemPressed& event) {
    if (nameIdOf(event.getNode()) != listName)
        return true;
    return pressItem(event.getItem());
}

bool GTutorialActionListItemPress::onShopItem(GShopListItemPressedEvent& event) {
    if (listName != nameOf("ItemsList"))
        return true;
    return pressItem(event.getIndex());
}

bool GTutorialActionListItemPress::pressItem(int32_t item) {
    bool counts = items.size() == 0;
    for (const int32_t listedItem : items)
        counts = counts || listedItem == item;
    if (counts)
        done = true;
    return !counts;
}

// Picking a client up

const EventMap& GTutorialActionClientClick::getEventMap() {
    static const EventMapEntry own[] = {
        eventHook<&GTutorialActionClientClick::onDrag>(),
        eventHook<&GTutorialActionClientClick::onDrop>(),
        eventHook<&GTutorialActionClientClick::onClicked>(),
    };
    static const EventMap map = buildEventMap(CEventReceiver::getEventMap(), own);
    return map;
}

bool GTutorialActionClientClick::OnEvent(CEvent& event) {
    return dispatchThroughEventMap(getEventMap(), event);
}

bool GTutorialActionClientClick::onDrag(GClientDragEvent& event) {
    const GClientNode* client = event.getGrabbed();
    const CNameId name = nameIdOf(client);
    if (names.size() != 0 && listed(names, name))
        done = true;
    if (!done && client != nullptr && listedNode(locations, client->getLocation()))
        done = true;
    if (done && nameSkipCounts.size() != 0 && names.size() != 0) {
        for (uint32_t i = 0; i < names.size() && i < nameSkipCounts.size(); ++i) {
            if (names[i] == name) {
                setSkipCount(nameSkipCounts[i]);
                break;
            }
        }
    }
    return !done;
}

bool GTutorialActionClientClick::onDrop(GDropTargetEvent&) {
    return true;
}

// Clicks that pick clients up when dropping by click: on a client, or on a location with the
// client standing there.
bool GTutorialActionClientClick::onClicked(CEventControlClicked& event) {
    BaseNode* node = event.getNode();
    if (node == nullptr)
        return true;
    CNameId name;
    const GLocationNode* location = nullptr;
    if (const GClientNode* client = asGClientNode(node)) {
        name = client->getName();
        location = client->getLocation();
    } else if (GLocationNode* at = asGLocationNode(node)) {
        location = at;
        if (at->getClients().size() != 0)
            name = nameIdOf(at->getClients()[0].get());
    }
    return !(listed(names, name) || listedNode(locations, location));
}

// Dropping on a location

const EventMap& GTutorialActionLocationClick::getEventMap() {
    static const EventMapEntry own[] = {
        eventHook<&GTutorialActionLocationClick::onDrag>(),
        eventHook<&GTutorialActionLocationClick::onDrop>(),
        eventHook<&GTutorialActionLocationClick::onClicked>(),
    };
    static const EventMap map = buildEventMap(CEventReceiver::getEventMap(), own);
    return map;
}

bool GTutorialActionLocationClick::OnEvent(CEvent& event) {
    return dispatchThroughEventMap(getEventMap(), event);
}

bool GTutorialActionLocationClick::onDrag(GClientDragEvent&) {
    return true;
}

bool GTutorialActionLocationClick::onDrop(GDropTargetEvent& event) {
    const GLocationNode* target = event.getTarget();
    if (target == nullptr)
        return !done;
    done = names.size() == 0 || listed(names, target->getName());
    return !done;
}

bool GTutorialActionLocationClick::onClicked(CEventControlClicked& event) {
    return names.size() == 0 || !listedNode(names, event.getNode());
}

// States reached

void GTutorialActionStateChanged::reached(CNameId name, int32_t newState) {
    done = newState == state;
    if (done && names.size() != 0)
        done = listed(names, name);
}

bool GTutorialActionStateChanged::isNamedIn(CNameId name, int32_t current) const {
    return current == state && listed(names, name);
}

void GTutorialActionClientStateChanged::begin(GGameLevelScene* level) {
    GTutorialAction::begin(level);
    if (level == nullptr || !checkCurrent)
        return;
    CArray<GLocationNode*> places = level->getAppearLocations(CNameId());
    for (const CRefPointer<GLocationNode>& location : level->getLocations())
        places.append(location.get());
    for (const GLocationNode* place : places) {
        for (const GObjectRef<GCharacterNode>& slot : place->getClients()) {
            const GClientNode* client = asGClientNode(slot.get());
            if (client != nullptr && isNamedIn(client->getName(), client->getClientState()))
                done = true;
        }
    }
}

const EventMap& GTutorialActionClientStateChanged::getEventMap() {
    static const EventMapEntry own[] = {eventHook<&GTutorialActionClientStateChanged::onState>()};
    static const EventMap map = buildEventMap(CEventReceiver::getEventMap(), own);
    return map;
}

bool GTutorialActionClientStateChanged::OnEvent(CEvent& event) {
    return dispatchThroughEventMap(getEventMap(), event);
}

bool GTutorialActionClientStateChanged::onState(GClientStateEvent& event) {
    if (!done)
        reached(nameIdOf(event.getNode()), event.getNewState());
    return false;
}

void GTutorialActionLocationStateChanged::begin(GGameLevelScene* level) {
    GTutorialAction::begin(level);
    if (level == nullptr || !checkCurrent)
        return;
    for (const CRefPointer<GLocationNode>& location : level->getLocations()) {
        if (isNamedIn(location->getName(), location->getState()))
            done = true;
    }
}

const EventMap& GTutorialActionLocationStateChanged::getEventMap() {
    static const EventMapEntry own[] = {eventHook<&GTutorialActionLocationStateChanged::onState>()};
    static const EventMap map = buildEventMap(CEventReceiver::getEventMap(), own);
    return map;
}

bool GTutorialActionLocationStateChanged::OnEvent(CEvent& event) {
    return dispatchThroughEventMap(getEventMap(), event);
}

bool GTutorialActionLocationStateChanged::onState(LocationStateEvent& event) {
    if (!done)
        reached(nameIdOf(event.getNode()), event.getNewState());
    return false;
}

// Taking a named client to a named location

const EventMap& GTutorialActionTransferClient::getEventMap() {
    static const EventMapEntry own[] = {
        eventHook<&GTutorialActionTransferClient::onDrag>(),
        eventHook<&GTutorialActionTransferClient::onDrop>(),
    };
    static const EventMap map = buildEventMap(CEventReceiver::getEventMap(), own);
    return map;
}

bool GTutorialActionTransferClient::OnEvent(CEvent& event) {
    return dispatchThroughEventMap(getEventMap(), event);
}

bool GTutorialActionTransferClient::onDrag(GClientDragEvent& event) {
    picked = clientNames.size() == 0 || listed(clientNames, nameIdOf(event.getGrabbed()));
    return !picked;
}

// Dropped outside every location, the client goes back and the transfer starts over.
bool GTutorialActionTransferClient::onDrop(GDropTargetEvent& event) {
    const GLocationNode* target = event.getTarget();
    if (target == nullptr) {
        picked = false;
        return false;
    }
    if (!picked)
        return false;
    done = destinations.size() == 0 || listed(destinations, target->getName());
    return !done;
}
