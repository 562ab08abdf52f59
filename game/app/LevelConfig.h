#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/NameId.h"
#include "engine/core/RefCounted.h"
#include "engine/core/RefPointer.h"
#include "game/app/ClientQueue.h"
#include "game/app/LevelBonusTables.h"

class CXmlTextReader;

// The colour given to a location of the level scene when the level is set up.
struct GLocationType {
    CNameId place;
    CNameId templateName;
    int32_t color = 0;
};

// One level of the level list ("Level" records). Never changed after loading but for the
// number, which the level-loading screen sets.
class GLevelConfig : public CRefCounted {
public:
    GLevelConfig() = default;

    // Empties the location types, then appends one per "Location" inside the "LocationTypes"
    // element the reader stands on.
    void parseLocationTypes(CXmlTextReader& reader);

    int32_t levelIndex = 0;
    int32_t settingIndex = 0;
    // 2 to 5.
    int32_t colorsCount = 2;
    int32_t levelTime = 0;
    float targetMoney = 0;
    // Raised after reading to lie above the pass target ...
    float targetExpertMoney = 0;
    // ... and above the expert target.
    float targetMasterMoney = 0;
    int32_t targetHearts = 0;
    int32_t targetExpertHearts = 0;
    CNameId heroType;
    CNameId masseurType;
    CNameId fitnessType;
    CNameId newClientName;
    float clientHappinessDecreaseMul = 1.0f;
    float swapBonus = 10.0f;
    int32_t superDanceClickWaitTime = 5000;
    CArray<GClientQueueEntry> clientsQueue;
    CArray<GLocationType> locationTypes;
    CArray<CNameId> upgrades;
    CRefPointer<GLevelBonusTables> bonusTables;

protected:
    ~GLevelConfig() override = default;
};
