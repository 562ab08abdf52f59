#include "engine/ui/RangedEmitter.h"

#include <cmath>

#include "engine/core/Properties.h"
#include "engine/core/Random.h"
#include "engine/scene/PropertyBindings.h"
#include "engine/ui/RangeProperty.h"

namespace {

const CVector2d kDefaultScaleRange(1, 1);
const CColor kDefaultColor(0xFFFFFFFF);

// A negative or non-finite lifetime is 0 and one past the counter's range its maximum, so that
// the conversion is always defined.
uint32_t lifetimeFrom(float drawn) {
    if (!(drawn > 0.0f))
        return 0;
    return drawn >= 4294967040.0f ? 0xFFFFFFFFu : uint32_t(drawn);
}

// A change spread over the life; a life of 0 changes nothing (the particle dies at once).
float perSecond(float change, float seconds) {
    return seconds > 0.0f ? change / seconds : 0.0f;
}

void saveColor(CProperties& properties, const char* key, CColor value) {
    if (!(value == kDefaultColor))
        properties.addColor(key, value);
}

void saveFloat(CProperties& properties, const char* key, float value) {
    if (value != 0.0f)
        properties.addFloat(key, value);
}

} // namespace

PropertyTable RangedEmitter::tableWithShape(std::initializer_list<PropertyTableEntry> shape) {
    PropertyTable table = extendPropertyTable(BaseEmitter::classPropertyTable(), shape);
    const PropertyTable shared = extendPropertyTable(
        PropertyTable(), {
                             fieldProperty<&RangedEmitter::velocityXRange>("VelocityXRange"),
                             fieldProperty<&RangedEmitter::velocityYRange>("VelocityYRange"),
                             fieldProperty<&RangedEmitter::accelerationXRange>("AccelXRange"),
                             fieldProperty<&RangedEmitter::accelerationYRange>("AccelYRange"),
                             fieldProperty<&RangedEmitter::angleRange>("AngleRange"),
                             fieldProperty<&RangedEmitter::angVelocityRange>("AngVelocityRange"),
                             fieldProperty<&RangedEmitter::colorStart>("ColorStart"),
                             fieldProperty<&RangedEmitter::colorEnd>("ColorEnd"),
                             fieldProperty<&RangedEmitter::colorVariation>("ColorVariation"),
                             fieldProperty<&RangedEmitter::scaleRange>("ScaleRange"),
                             fieldProperty<&RangedEmitter::scaleVariation>("ScaleVariation"),
                         });
    table.appendAll(shared);
    return table;
}

bool RangedEmitter::OnUpdate(uint32_t elapsedMs) {
    CArray<Particle>* particles = getParticles();
    if (!particles)
        return false;
    CRandom& generator = engineRandom();
    m_carry += float(elapsedMs);
    const float interval = 1000.0f / drawFromRange(generator, getPpsRange());
    // A rate of 0 or less, or none at all, emits nothing.
    if (!(interval > 0.0f) || !std::isfinite(interval))
        return true;
    const float whole = std::trunc(m_carry / interval);
    if (!(whole >= 1.0f))
        return true;
    m_carry -= whole * interval;
    const uint32_t room = particles->allocated() - particles->size();
    const uint32_t count = whole < float(room) ? uint32_t(whole) : room;
    for (uint32_t i = 0; i < count; ++i)
        particles->append(makeParticle(generator));
    return true;
}

Particle RangedEmitter::makeParticle(CRandom& random) const {
    Particle particle{};
    const CVector2d offset = drawOffset(random);
    particle.age = 0;
    particle.lifetime = lifetimeFrom(drawFromRange(random, getLifeTimeRange()));
    particle.x = getOrigin().x + offset.x;
    particle.y = getOrigin().y + offset.y;
    particle.vx = drawFromRange(random, velocityXRange);
    particle.vy = drawFromRange(random, velocityYRange);
    particle.ax = drawFromRange(random, accelerationXRange);
    particle.ay = drawFromRange(random, accelerationYRange);
    particle.angle = drawFromRange(random, angleRange);
    particle.angularVelocity = drawFromRange(random, angVelocityRange);
    particle.angularAcceleration = 0;
    const CColorf start = floatColorFromArgb(colorStart);
    const CColorf end = floatColorFromArgb(colorEnd);
    particle.r = start.r;
    particle.g = start.g;
    particle.b = start.b;
    particle.a = start.a;
    const float seconds = float(particle.lifetime) * 0.001f;
    particle.rSpeed = perSecond(end.r - start.r, seconds);
    particle.gSpeed = perSecond(end.g - start.g, seconds);
    particle.bSpeed = perSecond(end.b - start.b, seconds);
    particle.aSpeed = perSecond(end.a - start.a, seconds);
    particle.size = drawStartSize(random);
    particle.sizeSpeed = perSecond(scaleRange.y - particle.size, seconds);
    return particle;
}

void RangedEmitter::saveProperties(CProperties& properties) const {
    BaseEmitter::saveProperties(properties);
    saveShape(properties);
    saveVector2d(properties, "VelocityXRange", velocityXRange, CVector2d());
    saveVector2d(properties, "VelocityYRange", velocityYRange, CVector2d());
    saveVector2d(properties, "AccelerationXRange", accelerationXRange, CVector2d());
    saveVector2d(properties, "AccelerationYRange", accelerationYRange, CVector2d());
    saveVector2d(properties, "AngleRange", angleRange, CVector2d());
    saveVector2d(properties, "AngVelocityRange", angVelocityRange, CVector2d());
    saveColor(properties, "ColorStart", colorStart);
    saveColor(properties, "ColorEnd", colorEnd);
    saveFloat(properties, "ColorVariation", colorVariation);
    saveVector2d(properties, "ScaleRange", scaleRange, kDefaultScaleRange);
    saveFloat(properties, "ScaleVariation", scaleVariation);
}

void RangedEmitter::loadProperties(const CProperties& properties) {
    BaseEmitter::loadProperties(properties);
    loadShape(properties);
    loadPropertyIfPresent(properties, "VelocityXRange", velocityXRange);
    loadPropertyIfPresent(properties, "VelocityYRange", velocityYRange);
    loadPropertyIfPresent(properties, "AccelerationXRange", accelerationXRange);
    loadPropertyIfPresent(properties, "AccelerationYRange", accelerationYRange);
    loadPropertyIfPresent(properties, "AngleRange", angleRange);
    loadPropertyIfPresent(properties, "AngVelocityRange", angVelocityRange);
    loadPropertyIfPresent(properties, "ColorStart", colorStart);
    loadPropertyIfPresent(properties, "ColorEnd", colorEnd);
    loadPropertyIfPresent(properties, "ColorVariation", colorVariation);
    loadPropertyIfPresent(properties, "ScaleRange", scaleRange);
    loadPropertyIfPresent(properties, "ScaleVariation", scaleVariation);
}

void RangedEmitter::copyRanges(const RangedEmitter& other) {
    copyFrom(other);
    velocityXRange = other.velocityXRange;
    velocityYRange = other.velocityYRange;
    accelerationXRange = other.accelerationXRange;
    accelerationYRange = other.accelerationYRange;
    angleRange = other.angleRange;
    angVelocityRange = other.angVelocityRange;
    colorStart = other.colorStart;
    colorEnd = other.colorEnd;
    colorVariation = other.colorVariation;
    scaleRange = other.scaleRange;
    scaleVariation = other.scaleVariation;
}
