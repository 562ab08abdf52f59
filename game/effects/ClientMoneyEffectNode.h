#pragma once

#include <cstdint>

#include "game/effects/SplineMovableNode.h"

// Money flying from a served client to the money display: at its first drawing pass it flies
// in 2 s, turned along its curve, from its parent's origin to the scene point (370, 30) (taken
// through its grandparent's position; (0, 0) without one), its tangents drawn 300 to 500 long
// and pointing the way it goes; then it goes as every spline mover does.
class GClientMoneyEffectNode : public NodeClass<GClientMoneyEffectNode, GSplineMovableNode> {
public:
    static constexpr uint32_t kTypeId = 1165;
    static constexpr const char16_t* kTypeName = u"GClientMoneyEffectNode";
    static constexpr int32_t kFlightMs = 2000;

    using NodeClass::NodeClass;

protected:
    ~GClientMoneyEffectNode() override = default;

    bool OnStart() override;
};
