#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/RefPointer.h"
#include "engine/core/Vector2d.h"
#include "game/effects/EffectNode.h"

// A point of a spline with its tangent; the end point may follow a node, which it then holds.
struct SplinePoint {
    float x = 0;
    float y = 0;
    float tangentX = 0;
    float tangentY = 0;
    CRefPointer<BaseNode> follow;
};

// Flies along a cubic Hermite curve from the first of its points to the second in Duration ms,
// after Delay ms, optionally turned along the curve. At the end its children play
// "SelfDestruct"; once they have finished it, the node removes itself. An end point that
// follows a node is taken from that node's place (and pivot) at every tick, until the node
// leaves its tree: then it stays where the node was last seen. It starts only through setPath.
class GSplineMovableNode : public GEffectNode<GSplineMovableNode> {
public:
    static constexpr uint32_t kTypeId = 1164;
    static constexpr const char16_t* kTypeName = u"GSplineMovableNode";
    static constexpr uint32_t kIntervalMs = 30;

    enum State : int32_t { kDone = 0, kWaiting = 1, kMoving = 2 };

    using GEffectNode::GEffectNode;

    // Removes the node when its children have finished "SelfDestruct" (handled); other states
    // are not handled.
    bool OnChildrenStateFinished(CEventNodeChildrenStateFinished& event) override;
    bool OnUpdate(uint32_t elapsedMs) override;

    // With at least 2 points: the points copied, the node at the first, waiting for the delay
    // (or moving when there is none) on its scene's clock. Fewer change nothing.
    void setPath(const CArray<SplinePoint>& points);

    void setDelay(int32_t delayMs) { m_delay = delayMs; }
    void setDuration(int32_t durationMs) { m_duration = durationMs; }
    void setAlignByTangent(bool align) { m_alignByTangent = align; }
    int32_t getDelay() const { return m_delay; }
    int32_t getDuration() const { return m_duration; }
    bool isAlignedByTangent() const { return m_alignByTangent; }
    State getState() const { return m_state; }
    const CArray<SplinePoint>& getPoints() const { return m_points; }

protected:
    ~GSplineMovableNode() override = default;

    bool OnStart() override { return false; }
    // setPath without the clock; false for fewer than 2 points.
    bool placeOnPath(const CArray<SplinePoint>& points);

private:
    void followEndNode();
    void placeAt(CVector2d position, CVector2d tangent);

    CArray<SplinePoint> m_points;
    int32_t m_elapsed = 0;
    int32_t m_delay = 0;
    int32_t m_duration = 1000;
    State m_state = kDone;
    bool m_alignByTangent = false;
    bool m_removed = false;
};
