#pragma once

#include <cstdint>
#include <initializer_list>

#include "engine/core/Color.h"
#include "engine/core/Vector2d.h"
#include "engine/ui/BaseEmitter.h"
#include "engine/ui/RangeDraw.h"

// What the point and rectangle emitters share: the ranges every new particle draws its motion,
// turn, colour and size from, and the emission step. A concrete emitter adds the shape that
// places a particle around the origin and the rule for its start size.
class RangedEmitter : public BaseEmitter {
public:
    using BaseEmitter::BaseEmitter;

    // Turns the elapsed time and the carried remainder into particles at a rate drawn from the
    // PPS range and appends as many as the array has room for. False without an array.
    bool OnUpdate(uint32_t elapsedMs) override;

    void saveProperties(CProperties& properties) const override;
    void loadProperties(const CProperties& properties) override;

    // The base's entries, the shape's, then the shared ranges (the acceleration ranges under
    // the names AccelXRange and AccelYRange).
    static PropertyTable tableWithShape(std::initializer_list<PropertyTableEntry> shape);

    CVector2d velocityXRange;
    CVector2d velocityYRange;
    CVector2d accelerationXRange;
    CVector2d accelerationYRange;
    CVector2d angleRange;
    CVector2d angVelocityRange;
    CColor colorStart{0xFFFFFFFF};
    CColor colorEnd{0xFFFFFFFF};
    // Kept with the settings; no emitter varies the colour.
    float colorVariation = 0;
    CVector2d scaleRange{1, 1};
    float scaleVariation = 0;

protected:
    ~RangedEmitter() override = default;

    // Every setting above, with the base's; not the carry.
    void copyRanges(const RangedEmitter& other);
    // The start offset from the origin, drawn first for each particle.
    virtual CVector2d drawOffset(CRandom& random) const = 0;
    // The start size, drawn last; the size then changes linearly over the life.
    virtual float drawStartSize(CRandom& random) const = 0;
    // The shape's own values, written before the shared ranges and read with them.
    virtual void saveShape(CProperties& properties) const = 0;
    virtual void loadShape(const CProperties& properties) = 0;

private:
    Particle makeParticle(CRandom& random) const;

    // Elapsed ms not yet turned into particles.
    float m_carry = 0;
};
