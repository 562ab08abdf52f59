#pragma once

#include <cstdint>

#include "engine/scene/NodeClass.h"
#include "game/level/DeviceNode.h"

// Turns an item handed in into the product made from it. It starts empty and waiting; an item
// it can convert becomes its only resource, at 0, and the user's recharge fills it. While a
// product waits to be taken it takes no other item.
//
// It shares its type id with the trash can; the type name tells them apart.
class GConverterNode : public NodeClass<GConverterNode, GDeviceNode> {
public:
    static constexpr uint32_t kTypeId = 1157;
    static constexpr const char16_t* kTypeName = u"GConverterNode";

    using NodeClass::NodeClass;

    void setLevel(GGameLevelScene* level) override;
    // Empty, it can always be filled by a recharge.
    bool canRecharge() const override;
    bool acceptsItem(CNameId item) const override;
    // The first product made from the item becomes the only resource, at 0.
    bool takeItem(GCharacterNode* user, const GResourceConfig* item) override;
    // "Recharging<product>" and "RechargeEnded<product>"; nothing while empty.
    void showRecharging() override;
    void showRechargeEnded() override;

protected:
    ~GConverterNode() override = default;

private:
    // The first provided resource made from the item, or none.
    const LocationResource* findProductOf(CNameId item) const;
    void showWithProduct(const char* state);
};
