#include "game/effects/EllipseOrbit.h"

#include <cmath>

#include "engine/ui/RangeProperty.h"

void GEllipseOrbit::startAtRandomAngles() {
    angle1 = engineRandom().nextFloatInRange(0, 360);
    angle2 = engineRandom().nextFloatInRange(0, 360);
}

void GEllipseOrbit::advance(uint32_t elapsedMs) {
    const float seconds = elapsedSeconds(elapsedMs);
    angle1 = turnedDegrees(angle1, angularVelocity1, seconds);
    angle2 = turnedDegrees(angle2, angularVelocity2, seconds);
}

CVector3d GEllipseOrbit::position() const {
    const float r1 = angle1 * kDegreesToRadians;
    const float r2 = angle2 * kDegreesToRadians;
    return CVector3d(ellipse1Size.x * std::cos(r1) + ellipse2Size.x * std::cos(r2),
                     ellipse1Size.y * std::sin(r1) + ellipse2Size.y * std::sin(r2), 0);
}

CVector2d GEllipseOrbit::secondHeading() const {
    const float r2 = angle2 * kDegreesToRadians;
    const float product = ellipse2Size.x * ellipse2Size.y;
    return CVector2d(-product * std::sin(r2), product * std::cos(r2));
}

void GEllipseOrbit::save(CProperties& properties) const {
    saveVector2d(properties, "Ellipse1Size", ellipse1Size, CVector2d());
    saveVector2d(properties, "Ellipse2Size", ellipse2Size, CVector2d());
    saveFloat(properties, "AngularVelocity1", angularVelocity1, kDefaultAngularVelocity);
    saveFloat(properties, "AngularVelocity2", angularVelocity2, kDefaultAngularVelocity);
}

void GEllipseOrbit::load(const CProperties& properties) {
    loadFiniteIfPresent(properties, "Ellipse1Size", ellipse1Size);
    loadFiniteIfPresent(properties, "Ellipse2Size", ellipse2Size);
    loadFiniteIfPresent(properties, "AngularVelocity1", angularVelocity1);
    loadFiniteIfPresent(properties, "AngularVelocity2", angularVelocity2);
}
