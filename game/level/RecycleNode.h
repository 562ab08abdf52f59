#pragma once

#include <cstdint>

#include "engine/scene/NodeClass.h"
#include "game/level/DeviceNode.h"

// The trash can: takes any item away at the item's money penalty, shown as a flying amount,
// and cycles its look through "Trash1", "Trash2" and "Trash0" with each one. It stays ready and
// offers nothing.
//
// It shares its type id with the converter; the type name tells them apart.
class GRecycleNode : public NodeClass<GRecycleNode, GDeviceNode> {
public:
    static constexpr uint32_t kTypeId = 1157;
    static constexpr const char16_t* kTypeName = u"GRecycleNode";

    using NodeClass::NodeClass;

    void setLevel(GGameLevelScene* level) override;
    bool acceptsItem(CNameId item) const override { return item != CNameId(); }
    bool takeItem(GCharacterNode* user, const GResourceConfig* item) override;

    int32_t getRecycledCount() const { return m_recycledCount; }

protected:
    ~GRecycleNode() override = default;

private:
    int32_t m_recycledCount = 0;
};
