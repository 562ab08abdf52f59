#pragma once

#include <cstdint>

#include "engine/core/Vector2d.h"
#include "engine/ui/RangedEmitter.h"

// Starts particles in a rectangular frame around the origin: the low ends of the x and y ranges
// are the inner half-extents, the high ends the outer ones (low ends of 0 fill the rectangle).
// The start size is drawn around the low end of the scale range by the scale variation.
class RectangleEmitter : public RangedEmitter {
public:
    static constexpr uint32_t kTypeId = 2;

    explicit RectangleEmitter(const CContentKey& key) : RangedEmitter(key) {}

    const CStringW& getTypeName() const override;
    uint32_t getTypeId() const override { return kTypeId; }
    bool isKindOf(uint32_t typeId) const override {
        return typeId == kTypeId || RangedEmitter::isKindOf(typeId);
    }
    CRefPointer<CContent> makeCopy() const override;
    const PropertyTable& getPropertyTable() const override { return classPropertyTable(); }
    static const PropertyTable& classPropertyTable();

    CVector2d xRange;
    CVector2d yRange;

protected:
    ~RectangleEmitter() override = default;

    CVector2d drawOffset(CRandom& random) const override;
    float drawStartSize(CRandom& random) const override;
    void saveShape(CProperties& properties) const override;
    void loadShape(const CProperties& properties) override;
};
