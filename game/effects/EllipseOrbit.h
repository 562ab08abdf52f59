#pragma once

#include <cstdint>

#include "engine/core/Properties.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/core/Vector2d.h"
#include "engine/core/Vector3d.h"
#include "engine/scene/PropertyBindings.h"
#include "game/effects/EffectNode.h"

// The path of the circular birds and movers: the sum of two ellipses round the node's origin,
// each run at its own angular velocity (degrees per second), which gives loops and figures of
// eight.
struct GEllipseOrbit {
    static constexpr float kDefaultAngularVelocity = 5;

    // Radii (x, y) of the two ellipses.
    CVector2d ellipse1Size;
    CVector2d ellipse2Size;
    // Degrees, drawn at the start.
    float angle1 = 0;
    float angle2 = 0;
    float angularVelocity1 = kDefaultAngularVelocity;
    float angularVelocity2 = kDefaultAngularVelocity;

    // Both angles drawn from 0 to 360.
    void startAtRandomAngles();
    // Both angles move on by the elapsed time; they are kept within a turn, so that hours of
    // turning lose no precision.
    void advance(uint32_t elapsedMs);
    CVector3d position() const;
    // The way the second ellipse is run at its angle (reversed when its radii have opposite
    // signs).
    CVector2d secondHeading() const;

    // The sizes when not (0, 0), the angular velocities when not 5.
    void save(CProperties& properties) const;
    void load(const CProperties& properties);
};

// A table entry of one value of a node's orbit; what is not a finite number is set as 0.
template <auto Orbit, auto Field>
PropertyTableEntry orbitProperty(const char* name) {
    using Node = typename PropertyFieldOf<decltype(Orbit)>::Owner;
    using Traits = FinitePropertyTraits<typename PropertyFieldOf<decltype(Field)>::Value>;
    return {CString(name),
            [](CReflectedObject& object, const CRefPointer<CPropertyData>& value) {
                static_cast<Node&>(object).*Orbit.*Field = Traits::read(value.get());
            },
            [](CRefPointer<CPropertyData>& out, const CReflectedObject& object) {
                out = Traits::make(static_cast<const Node&>(object).*Orbit.*Field);
            }};
}

// The four entries of a node's orbit, in their order.
template <auto Orbit>
void appendOrbitProperties(PropertyTable& table) {
    table.append(orbitProperty<Orbit, &GEllipseOrbit::ellipse1Size>("Ellipse1Size"));
    table.append(orbitProperty<Orbit, &GEllipseOrbit::ellipse2Size>("Ellipse2Size"));
    table.append(orbitProperty<Orbit, &GEllipseOrbit::angularVelocity1>("AngularVelocity1"));
    table.append(orbitProperty<Orbit, &GEllipseOrbit::angularVelocity2>("AngularVelocity2"));
}
