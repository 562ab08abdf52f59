#include "engine/ui/PointEmitter.h"

#include "engine/core/MathHelpers.h"
#include "engine/core/Random.h"
#include "engine/scene/PropertyBindings.h"
#include "engine/ui/RangeProperty.h"

const PropertyTable& PointEmitter::classPropertyTable() {
    static const PropertyTable table = tableWithShape({
        fieldProperty<&PointEmitter::radiusRange>("RadiusRange"),
    });
    return table;
}

const CStringW& PointEmitter::getTypeName() const {
    static const CStringW name(u"PointEmitter");
    return name;
}

CRefPointer<CContent> PointEmitter::makeCopy() const {
    CRefPointer<PointEmitter> copy(new PointEmitter(getContentKey()));
    copy->copyRanges(*this);
    copy->radiusRange = radiusRange;
    return copy;
}

CVector2d PointEmitter::drawOffset(CRandom& random) const {
    const float radius = drawFromRange(random, radiusRange);
    if (!(radius > 0.0f))
        return CVector2d();
    const uint32_t degrees = random.nextMwc() % 360;
    return CVector2d(radius * sinTable[(degrees + 90) % 360], radius * sinTable[degrees]);
}

float PointEmitter::drawStartSize(CRandom&) const {
    return scaleRange.x;
}

void PointEmitter::saveShape(CProperties& properties) const {
    saveVector2d(properties, "RadiusRange", radiusRange, CVector2d());
}

void PointEmitter::loadShape(const CProperties& properties) {
    loadPropertyIfPresent(properties, "RadiusRange", radiusRange);
}
