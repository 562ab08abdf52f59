#pragma once

#include "engine/core/NameId.h"
#include "engine/core/RefCounted.h"
#include "engine/core/RefPointer.h"
#include "game/app/UpgradeLevel.h"
#include "game/level/ObjectNode.h"

// The environment's slots, "Up1" to "Up6", in their order.
inline const CNameId (&environmentSlots())[6] {
    static const CNameId slots[6] = {nameOf("Up1"), nameOf("Up2"), nameOf("Up3"),
                                     nameOf("Up4"), nameOf("Up5"), nameOf("Up6")};
    return slots;
}

// One offer of the shop: a slot's current upgrade, the next one on sale, and the object of
// the level it upgrades (none for a part of the environment). The upgrades belong to the
// catalogue, which keeps them while the shop is shown.
class GShopOffer : public CRefCounted {
public:
    GShopOffer(const GUpgradeItem* current, const GUpgradeItem* next, GObjectNode* object)
        : current(current), next(next), object(CRefPointer<GObjectNode>::share(object)) {}

    const GUpgradeItem* current;
    const GUpgradeItem* next;
    CRefPointer<GObjectNode> object;

protected:
    ~GShopOffer() override = default;
};
