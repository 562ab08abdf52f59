#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/Map.h"
#include "engine/core/NameId.h"
#include "engine/core/RefCounted.h"

class CXmlTextReader;

// How long a client type is served a resource, by staff and by itself.
struct GResourceTiming {
    CNameId resource;
    int32_t servedByStaffTime = 0;
    int32_t servedBySelfTime = 0;
};

// How a client type reacts to a neighbouring client of another type.
struct GTalkAction {
    CNameId client;
    float secondsPerHeart = 0;
    bool stop = false;
};

// One client type of the object configuration ("Client" records). Never changed after loading.
class GClientConfig : public CRefCounted {
public:
    GClientConfig() = default;

    // Reads the fields of the "Client" element the reader stands on, up to its end tag.
    void load(CXmlTextReader& reader);

    CNameId name;
    CNameId templateName;
    float initialHearts = 5.0f;
    float secondsPerHeartQueue = 15.0f;
    float secondsPerHeartScene = 15.0f;
    float superPadMinHearts = 4.0f;
    int32_t superPadClicks = 3;
    int32_t additionalItemsRotationTime = -1;
    int32_t patienceLevel = 0;
    CMap<CNameId, GResourceTiming> resourceTimings;
    int32_t talksWaitTime = -1;
    CArray<GTalkAction> talkActions;
    float neighboursServMul = 1.0f;
    bool canDiscardNeighboursAbilities = false;
    bool isMan = true;

protected:
    ~GClientConfig() override = default;

private:
    void loadResourceTimings(CXmlTextReader& reader);
    void loadTalkActions(CXmlTextReader& reader);
};
