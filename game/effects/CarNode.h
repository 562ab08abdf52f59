#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/RefPointer.h"
#include "engine/core/Vector2d.h"
#include "engine/scene/SpriteNode.h"
#include "game/effects/EffectNode.h"
#include "game/effects/Path.h"

// One point of a car's spline: the point, its incoming and outgoing tangents, the length of
// the segment that starts here and the car's scale here.
struct CarSplineKnot {
    CVector2d position;
    CVector2d incoming;
    CVector2d outgoing;
    float length = 0;
    float scale = 1;
};

// The point of the cubic Hermite segment from a to b at t (0 to 1).
CVector2d hermitePoint(const CarSplineKnot& a, const CarSplineKnot& b, float t);
// The frame of the 36 headings of a car's "Rotation" animation for an angle in degrees,
// counter-clockwise from the right: frames 0 to 18 up to 180 degrees, 18 to 35 beyond, each at
// its pre-drawn angle; 0 for a heading straight to the right.
int32_t carFrameForAngle(float degrees);

// A car driving a path of the map along a smooth spline through its points, at a constant
// speed along each segment's measured length; its "Body" sprite shows the frame of its heading
// and it scales between the points' s values. The first car on a path measures the segments
// and keeps their lengths in the path for the cars after it. The tick after it reached the last
// point it removes itself.
class GCarNode : public GEffectNode<GCarNode> {
public:
    static constexpr uint32_t kTypeId = 1136;
    static constexpr const char16_t* kTypeName = u"GCarNode";
    static constexpr uint32_t kIntervalMs = 20;

    using GEffectNode::GEffectNode;

    // Binds the direct child "Body" when it is a sprite.
    void OnLoaded() override;
    // Builds the spline and puts the car on the first point; a path of fewer than 2 points
    // changes nothing. The path is not kept.
    void startPath(GPath* path);
    bool OnUpdate(uint32_t elapsedMs) override;
    // The body shows the frame of the heading, in degrees.
    virtual void setRotation(float degrees);

    // Spline units per second; what is negative or no number counts as 0.
    float getSpeed() const { return m_speed; }
    void setSpeed(float speed) { m_speed = speed; }
    const CArray<CarSplineKnot>& getKnots() const { return m_knots; }
    uint32_t getSegmentIndex() const { return m_segment; }

protected:
    ~GCarNode() override = default;

private:
    void buildKnots(const GPath& path);
    void measureSegments(GPath& path);
    void moveOnSegment();

    CRefPointer<SpriteNode> m_body;
    float m_speed = 100;
    CArray<CarSplineKnot> m_knots;
    uint32_t m_segment = 0;
    float m_travelled = 0;
    // The body's frame since it entered "Rotation"; -1 for none yet.
    int32_t m_shownFrame = -1;
};
