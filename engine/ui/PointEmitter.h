#pragma once

#include <cstdint>

#include "engine/core/Vector2d.h"
#include "engine/ui/RangedEmitter.h"

// Starts particles on a circle of a drawn radius around the origin, in a whole-degree
// direction, at the low end of the scale range.
class PointEmitter : public RangedEmitter {
public:
    static constexpr uint32_t kTypeId = 1;

    explicit PointEmitter(const CContentKey& key) : RangedEmitter(key) {}

    const CStringW& getTypeName() const override;
    uint32_t getTypeId() const override { return kTypeId; }
    bool isKindOf(uint32_t typeId) const override {
        return typeId == kTypeId || RangedEmitter::isKindOf(typeId);
    }
    CRefPointer<CContent> makeCopy() const override;
    const PropertyTable& getPropertyTable() const override { return classPropertyTable(); }
    static const PropertyTable& classPropertyTable();

    CVector2d radiusRange;

protected:
    ~PointEmitter() override = default;

    CVector2d drawOffset(CRandom& random) const override;
    float drawStartSize(CRandom& random) const override;
    void saveShape(CProperties& properties) const override;
    void loadShape(const CProperties& properties) override;
};
