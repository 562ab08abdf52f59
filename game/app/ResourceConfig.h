#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/NameId.h"
#include "engine/core/RefCounted.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "game/app/AdditionalItem.h"

class CXmlTextReader;

// One resource of the object configuration ("Resource" records): a service given at a
// location or an item carried to a client. Never changed after loading.
class GResourceConfig : public CRefCounted {
public:
    GResourceConfig() = default;

    // Reads the fields of the "Resource" element the reader stands on, up to its end tag.
    void load(CXmlTextReader& reader);
    // A variant of this resource: every field copied but the counts of variants to derive.
    CRefPointer<GResourceConfig> clone() const;

    CNameId name;
    int32_t waveIndex = 0;
    CString iconName;
    CNameId actionAnimationName;
    int32_t actionAnimationTime = 0;
    // The action animation when the record names none.
    CNameId waitAnimationName;
    CNameId actionCue;
    int32_t itemType = 0;
    int32_t clientBoostType = 0;
    float miniGameProbability = 0;
    float miniGameHeartsBoost = 0;
    float miniGameHeartsBoostFail = 0;
    int32_t miniGameServedByStaffTime = 0;
    CArray<CNameId> specificResources;
    float moneyBoost = 0;
    float heartsBoost = 0;
    float servingSpeedBoost = 1.0f;
    float recycleMoneyPenalty = 0;
    CNameId convertsFrom;
    CArray<GAdditionalItem> additionalItems;
    CNameId chainType;
    // Set on a derived variant: the resource it was derived from.
    CNameId unmodifiedResource;
    // The counts of variants to derive, each at least 2.
    CArray<int32_t> modificationsCount;

protected:
    GResourceConfig(const GResourceConfig&) = default;
    ~GResourceConfig() override = default;

private:
    void loadAdditionalItems(CXmlTextReader& reader);
};

// The item types for which the hero does more at a location than serve the resource.
bool isSpecialItemType(int32_t itemType);
