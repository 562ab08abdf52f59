#include "game/screens/TutorialActions.h"

#include "engine/io/XmlTextReader.h"
#include "game/app/ConfigValues.h"
#include "game/app/LevelsConfiguration.h"

namespace {

// A flag of a script is its integer form, set only when that is 1.
bool readScriptFlag(const CXmlTextReader& reader, const char16_t* name) {
    return reader.getAttributeInt(name, 0) == 1;
}

template <typename Action>
CRefPointer<GTutorialAction> make() {
    return CRefPointer<GTutorialAction>(new Action);
}

struct ActionType {
    const char16_t* type;
    CRefPointer<GTutorialAction> (*create)();
};

const ActionType kActionTypes[] = {
    {u"Timed", make<GTutorialActionTimed>},
    {u"MouseClick", make<GTutorialActionMouseClick>},
    {u"ControlPress", make<GTutorialActionControlPress>},
    {u"ListItemPress", make<GTutorialActionListItemPress>},
    {u"ClientClick", make<GTutorialActionClientClick>},
    {u"LocationClick", make<GTutorialActionLocationClick>},
    {u"ClientStateChanged", make<GTutorialActionClientStateChanged>},
    {u"LocationStateChanged", make<GTutorialActionLocationStateChanged>},
    {u"TransferClient", make<GTutorialActionTransferClient>},
    {u"NextClient", make<GTutorialActionNextClient>},
    {u"EnableLocation", make<GTutorialActionEnableLocation>},
    {u"InsertClientsQueue", make<GTutorialActionInsertClientsQueue>},
    {u"PauseGenerate", make<GTutorialActionPauseGenerate>},
    {u"SetRandom", make<GTutorialActionSetRandom>},
    {u"GiveItem", make<GTutorialActionGiveItem>},
    {u"ChargeLocation", make<GTutorialActionChargeLocation>},
};

} // namespace

CRefPointer<GTutorialAction> createTutorialAction(const CStringW& type) {
    for (const ActionType& entry : kActionTypes) {
        if (type == entry.type)
            return entry.create();
    }
    return nullptr;
}

void GTutorialActionTimed::load(CXmlTextReader& reader, GWishListOrders& wishListOrders) {
    GTutorialAction::load(reader, wishListOrders);
    remainingMs = reader.getAttributeInt(u"Time", 0);
}

void GTutorialActionControlPress::load(CXmlTextReader& reader, GWishListOrders& wishListOrders) {
    GTutorialAction::load(reader, wishListOrders);
    names = readNameListAttribute(reader, u"Names");
}

void GTutorialActionListItemPress::load(CXmlTextReader& reader, GWishListOrders& wishListOrders) {
    GTutorialAction::load(reader, wishListOrders);
    listName = readNameAttribute(reader, u"Name");
    items = readIntListAttribute(reader, u"Items");
}

void GTutorialActionClientClick::load(CXmlTextReader& reader, GWishListOrders& wishListOrders) {
    GTutorialAction::load(reader, wishListOrders);
    names = readNameListAttribute(reader, u"Names");
    nameSkipCounts = readIntListAttribute(reader, u"NamesSkipCount");
    locations = readNameListAttribute(reader, u"Locations");
}

void GTutorialActionLocationClick::load(CXmlTextReader& reader, GWishListOrders& wishListOrders) {
    GTutorialAction::load(reader, wishListOrders);
    names = readNameListAttribute(reader, u"Names");
}

void GTutorialActionStateChanged::load(CXmlTextReader& reader, GWishListOrders& wishListOrders) {
    GTutorialAction::load(reader, wishListOrders);
    names = readNameListAttribute(reader, u"Names");
    state = reader.getAttributeInt(u"State", 0);
    checkCurrent = reader.getAttribute(u"CheckCurrent") == u"true";
}

void GTutorialActionTransferClient::load(CXmlTextReader& reader, GWishListOrders& wishListOrders) {
    GTutorialAction::load(reader, wishListOrders);
    clientNames = readNameListAttribute(reader, u"ClientNames");
    destinations = readNameListAttribute(reader, u"DstLocations");
}

void GTutorialActionNextClient::load(CXmlTextReader& reader, GWishListOrders& wishListOrders) {
    GTutorialAction::load(reader, wishListOrders);
    allowNext = readScriptFlag(reader, u"AllowNext");
}

void GTutorialActionEnableLocation::load(CXmlTextReader& reader, GWishListOrders& wishListOrders) {
    GTutorialAction::load(reader, wishListOrders);
    locationName = readNameAttribute(reader, u"Name");
    enable = readScriptFlag(reader, u"Enable");
}

// The queue is written inside the action, so the action ends at its own end tag; several
// "ClientsQueue" elements leave the last one's entries.
void GTutorialActionInsertClientsQueue::load(CXmlTextReader& reader,
                                             GWishListOrders& wishListOrders) {
    GTutorialAction::load(reader, wishListOrders);
    readElementsUntilEnd(reader, u"Action", [&] {
        if (reader.nodeName() == u"ClientsQueue")
            LevelsConfiguration::parseClientsQueue(clientsQueue, reader, wishListOrders);
    });
}

void GTutorialActionPauseGenerate::load(CXmlTextReader&, GWishListOrders&) {}

void GTutorialActionSetRandom::load(CXmlTextReader& reader, GWishListOrders& wishListOrders) {
    GTutorialAction::load(reader, wishListOrders);
    seed = reader.getAttributeInt(u"Seed", 134645756);
}

void GTutorialActionGiveItem::load(CXmlTextReader& reader, GWishListOrders& wishListOrders) {
    GTutorialAction::load(reader, wishListOrders);
    names = readNameListAttribute(reader, u"Names");
    item = readNameAttribute(reader, u"Item");
}

void GTutorialActionChargeLocation::load(CXmlTextReader& reader, GWishListOrders& wishListOrders) {
    GTutorialAction::load(reader, wishListOrders);
    locationName = readNameAttribute(reader, u"Location");
}
