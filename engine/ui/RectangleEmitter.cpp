#include "engine/ui/RectangleEmitter.h"

#include "engine/core/Random.h"
#include "engine/scene/PropertyBindings.h"
#include "engine/ui/RangeProperty.h"

const PropertyTable& RectangleEmitter::classPropertyTable() {
    static const PropertyTable table = tableWithShape({
        fieldProperty<&RectangleEmitter::xRange>("XRange"),
        fieldProperty<&RectangleEmitter::yRange>("YRange"),
    });
    return table;
}

const CStringW& RectangleEmitter::getTypeName() const {
    static const CStringW name(u"RectangleEmitter");
    return name;
}

CRefPointer<CContent> RectangleEmitter::makeCopy() const {
    CRefPointer<RectangleEmitter> copy(new RectangleEmitter(getContentKey()));
    copy->copyRanges(*this);
    copy->xRange = xRange;
    copy->yRange = yRange;
    return copy;
}

// Sides 0 and 2 are the full-width bands on the positive and negative y side, 1 and 3 the
// full-height bands on the positive and negative x side.
CVector2d RectangleEmitter::drawOffset(CRandom& random) const {
    const CVector2d x = xRange;
    const CVector2d y = yRange;
    switch (random.nextMwc() % 4) {
    case 0:
        return {drawFromRange(random, {-x.y, x.y}), drawFromRange(random, {y.x, y.y})};
    case 1:
        return {drawFromRange(random, {x.x, x.y}), drawFromRange(random, {-y.y, y.y})};
    case 2:
        return {drawFromRange(random, {-x.y, x.y}), drawFromRange(random, {-y.x, -y.y})};
    default:
        return {drawFromRange(random, {-x.x, -x.y}), drawFromRange(random, {-y.y, y.y})};
    }
}

float RectangleEmitter::drawStartSize(CRandom& random) const {
    return drawFromRange(random, {scaleRange.x - scaleVariation, scaleRange.x + scaleVariation});
}

void RectangleEmitter::saveShape(CProperties& properties) const {
    saveVector2d(properties, "XRange", xRange, CVector2d());
    saveVector2d(properties, "YRange", yRange, CVector2d());
}

void RectangleEmitter::loadShape(const CProperties& properties) {
    loadPropertyIfPresent(properties, "XRange", xRange);
    loadPropertyIfPresent(properties, "YRange", yRange);
}
