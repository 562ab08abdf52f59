#pragma once

#include <cstdint>

#include "engine/core/NameId.h"
#include "engine/core/RefPointer.h"
#include "engine/core/Vector2d.h"
#include "engine/scene/BaseNode.h"
#include "engine/scene/NodeClass.h"
#include "game/effects/Path.h"

// The state of the eight headings for a direction in screen space (y grows downwards), or the
// empty name when there is none: "Right", "RightUp", "Up", "LeftUp", "Left", "LeftDown",
// "Down", "RightDown". The straight sectors are 30 degrees wide, the diagonal ones 60.
CNameId directionNameForVector(CVector2d heading);
// The same for an angle counter-clockwise from the right, in [0, 360]; none for 360.
CNameId directionNameForDegrees(float degrees);

// A node that travels one path at a speed, point to point in straight lines. At every point it
// reaches it is shifted sideways by a new random amount within the point's d1 and d2, its scale
// moves between the points' s values, and its children play the state of its heading. Its
// children see "Start" when the travel begins and "Stop" at the end, and its parent gets a
// GPathFinishedEvent with the owner's finish value when the last point is reached. It moves
// only when advanced: by its owner, or by the scheduled subclasses (pedestrians, planes,
// scooters).
class GPathMovableNode : public NodeClass<GPathMovableNode, BaseNode> {
public:
    static constexpr uint32_t kTypeId = 1129;
    static constexpr const char16_t* kTypeName = u"GPathMovableNode";

    using NodeClass::NodeClass;

    // Starts from the first point (the last when reverse); a loop never ends. A path of fewer
    // than 2 points changes nothing.
    void startPath(GPath* path, int32_t finishValue, bool reverse, bool loop);
    // Travels speed x elapsed. Passing the last point places the node on it and reports the
    // finish; the next call ends the travel (stop). A loop whose whole lap is 0 long goes no
    // further in that call.
    void advance(uint32_t elapsedMs);
    // Lets go of the path; the children see "Stop".
    void stop();

    // Path units per second; what is negative or no number counts as 0.
    float getSpeed() const { return m_speed; }
    void setSpeed(float speed) { m_speed = speed; }
    GPath* getPath() const { return m_path.get(); }
    CNameId getDirection() const { return m_direction; }
    int32_t getTargetIndex() const { return m_target; }
    // Where the current segment goes, shifts included.
    CVector2d getHeading() const { return m_to - m_from; }

    // The point after and before i in the travel's order, wrapped round on a loop; without a
    // loop an index past either end is answered as it is.
    int32_t nextIndex(int32_t i) const;
    int32_t previousIndex(int32_t i) const;
    // Point i shifted sideways (across the chord of its neighbours) by a random amount between
    // -d1 and d2; (0, 0) when i is not a point of the path.
    CVector2d pointWithOffset(int32_t i);

protected:
    ~GPathMovableNode() override = default;

    // The children play the heading's direction state.
    virtual void setDirection(CVector2d heading);
    // When a travel starts, and when it ends: at the last point, and again when it is stopped.
    virtual void OnPathStarted() {}
    virtual void OnPathFinished() {}

private:
    bool isPointIndex(int32_t i) const;
    const PathPoint& pointAt(int32_t i) const { return m_path->points[uint32_t(i)]; }
    // Moves on to the segment ending at the next point; false at the end of the path, where it
    // places the node, reports the finish and leaves the rest of the travel to the next call.
    bool passTarget();
    void placeOnSegment();

    CRefPointer<GPath> m_path;
    bool m_reverse = false;
    bool m_loop = false;
    int32_t m_finishValue = -1;
    float m_speed = 100;
    CNameId m_direction;
    int32_t m_target = -1;
    CVector2d m_from;
    CVector2d m_to;
    float m_fromScale = 1;
    float m_toScale = 1;
    float m_travelled = 0;
    float m_segmentLength = 0;
};
