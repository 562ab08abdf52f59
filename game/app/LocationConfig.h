#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/Map.h"
#include "engine/core/NameId.h"
#include "engine/core/RefCounted.h"
#include "engine/core/Vector2d.h"
#include "engine/core/Vector3d.h"
#include "game/app/LocationResource.h"

class CXmlTextReader;

// One location type of the object configuration ("Location" records). Never changed after
// loading, except that the registry drops provided resources it has no configuration for.
class GLocationConfig : public CRefCounted {
public:
    GLocationConfig() = default;

    // Reads the fields of the "Location" element the reader stands on, up to its end tag.
    void load(CXmlTextReader& reader);

    // Where a client of that type stands: the default point plus the type's own offset.
    CVector2d lookupClientPointA(CNameId client) const;
    // Where a client of that type stands while served: x and y of the action point ...
    CVector2d lookupClientPointB(CNameId client) const;
    // ... and its depth there.
    float lookupClientValue(CNameId client) const;

    CNameId name;
    CNameId nextLevelTemplate;
    CNameId prevLevelTemplate;
    float colorMatchBonus = 0;
    float colorMatchHeartsBonus = 0;
    int32_t staffRechargeTime = 1000;
    int32_t selfRechargeTime = 1000;
    bool autoActivation = false;
    float servingMul = 1.0f;
    float heartsDecMul = 1.0f;
    float dirtyProbability = 0;
    float moneyMul = 1.0f;
    int32_t maxServingClients = 1;
    CVector2d heroMountPoint;
    CVector2d staffMountPoint;
    CArray<CVector2d> itemMountPoints;
    CArray<LocationResource> providedResources;
    CNameId actionCue;
    CNameId rechargingCue;
    CNameId rechargedCue;
    CMap<CNameId, CVector2d> clientMountPoints;
    CVector2d clientMountPoint;
    CMap<CNameId, CVector3d> actionClientMountPoints;
    CVector3d actionClientMountPoint;

protected:
    ~GLocationConfig() override = default;

private:
    CVector3d lookupActionPoint(CNameId client) const;
};
