#include "game/app/LocationConfig.h"

#include "engine/io/XmlTextReader.h"
#include "game/app/ConfigValues.h"

namespace {

// A point without "Client" is the default; one with a client is that client type's offset,
// a later one replacing an earlier one.
template <typename Point>
void readClientPoint(CXmlTextReader& reader, Point& defaultPoint, CMap<CNameId, Point>& perClient) {
    const Point point = Point::fromText(reader.getAttribute(kValueAttribute).c_str());
    const CNameId client = readNameAttribute(reader, u"Client");
    if (client == CNameId())
        defaultPoint = point;
    else
        perClient[client] = point;
}

template <typename Point>
Point withClientOffset(const Point& defaultPoint, const CMap<CNameId, Point>& perClient,
                       CNameId client) {
    const auto found = perClient.find(client);
    return found != perClient.end() ? defaultPoint + found->value : defaultPoint;
}

} // namespace

void GLocationConfig::load(CXmlTextReader& reader) {
    static const GConfigField<GLocationConfig> fields[] = {
        {u"Name", [](auto& c, auto& r) { c.name = readNameValue(r); }},
        {u"NextLevelTemplate", [](auto& c, auto& r) { c.nextLevelTemplate = readNameValue(r); }},
        {u"PrevLevelTemplate", [](auto& c, auto& r) { c.prevLevelTemplate = readNameValue(r); }},
        {u"ColorMatchBonus", [](auto& c, auto& r) { c.colorMatchBonus = readFloatValue(r); }},
        {u"ColorMatchHeartsBonus",
         [](auto& c, auto& r) { c.colorMatchHeartsBonus = readFloatValue(r); }},
        {u"StaffRechargeTime", [](auto& c, auto& r) { c.staffRechargeTime = readIntValue(r); }},
        {u"SelfRechargeTime", [](auto& c, auto& r) { c.selfRechargeTime = readIntValue(r); }},
        {u"AutoActivation",
         [](auto& c, auto& r) { c.autoActivation = r.getAttribute(kValueAttribute) == u"true"; }},
        {u"ServingMul", [](auto& c, auto& r) { c.servingMul = readFloatValue(r); }},
        {u"HeartsDecMul", [](auto& c, auto& r) { c.heartsDecMul = readFloatValue(r); }},
        {u"DirtyProbability", [](auto& c, auto& r) { c.dirtyProbability = readFloatValue(r); }},
        {u"MoneyMul", [](auto& c, auto& r) { c.moneyMul = readFloatValue(r); }},
        {u"MaxServingClients", [](auto& c, auto& r) { c.maxServingClients = readIntValue(r); }},
        {u"HeroMountPoint", [](auto& c, auto& r) { c.heroMountPoint = readPointValue(r); }},
        {u"StaffMountPoint", [](auto& c, auto& r) { c.staffMountPoint = readPointValue(r); }},
        {u"ItemMountPoint", [](auto& c, auto& r) { c.itemMountPoints.append(readPointValue(r)); }},
        {u"ProvidedResources",
         [](auto& c, auto& r) {
             readProvidedResources(r, c.providedResources, {-1, true});
         }},
        {u"ActionCue", [](auto& c, auto& r) { c.actionCue = readNameValue(r); }},
        {u"RechargingCue", [](auto& c, auto& r) { c.rechargingCue = readNameValue(r); }},
        {u"RechargedCue", [](auto& c, auto& r) { c.rechargedCue = readNameValue(r); }},
        {u"ClientMountPoint",
         [](auto& c, auto& r) { readClientPoint(r, c.clientMountPoint, c.clientMountPoints); }},
        {u"ActionClientMountPoint",
         [](auto& c, auto& r) {
             readClientPoint(r, c.actionClientMountPoint, c.actionClientMountPoints);
         }},
    };
    readConfigFields(reader, u"Location", *this, fields);
}

CVector2d GLocationConfig::lookupClientPointA(CNameId client) const {
    return withClientOffset(clientMountPoint, clientMountPoints, client);
}

CVector2d GLocationConfig::lookupClientPointB(CNameId client) const {
    const CVector3d point = lookupActionPoint(client);
    return {point.x, point.y};
}

float GLocationConfig::lookupClientValue(CNameId client) const {
    return lookupActionPoint(client).z;
}

CVector3d GLocationConfig::lookupActionPoint(CNameId client) const {
    return withClientOffset(actionClientMountPoint, actionClientMountPoints, client);
}
