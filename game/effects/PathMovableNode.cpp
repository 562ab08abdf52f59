#include "game/effects/PathMovableNode.h"

#include <cmath>

#include "engine/core/Event.h"
#include "engine/core/EventReceiver.h"
#include "engine/core/String.h"
#include "engine/core/Vector3d.h"
#include "game/effects/EffectMath.h"
#include "game/effects/PathFinishedEvent.h"

namespace {

CNameId startName() {
    static const CNameId name = nameOf("Start");
    return name;
}

CNameId stopName() {
    static const CNameId name = nameOf("Stop");
    return name;
}

} // namespace

CNameId directionNameForDegrees(float degrees) {
    struct Sector {
        float below;
        CNameId name;
    };
    static const Sector sectors[] = {
        {15, nameOf("Right")},   {75, nameOf("RightUp")},    {105, nameOf("Up")},
        {165, nameOf("LeftUp")}, {195, nameOf("Left")},      {255, nameOf("LeftDown")},
        {285, nameOf("Down")},   {345, nameOf("RightDown")}, {360, nameOf("Right")},
    };
    for (const Sector& sector : sectors) {
        if (degrees < sector.below)
            return sector.name;
    }
    return CNameId();
}

CNameId directionNameForVector(CVector2d heading) {
    float radians = std::atan2(-heading.y, heading.x);
    if (radians < 0)
        radians += 6.2831855f;
    const float degrees = radians * 57.29578f;
    return directionNameForDegrees(degrees < 0 ? 0 : degrees > 360 ? 360 : degrees);
}

// Travel

void GPathMovableNode::startPath(GPath* path, int32_t finishValue, bool reverse, bool loop) {
    if (path == nullptr || path->points.size() < 2)
        return;
    m_path = CRefPointer<GPath>::share(path);
    m_finishValue = finishValue;
    m_reverse = reverse;
    m_loop = loop;
    const int32_t first = reverse ? int32_t(path->points.size()) - 1 : 0;
    m_travelled = 0;
    m_from = pointWithOffset(first);
    m_fromScale = pointAt(first).s;
    m_target = nextIndex(first);
    m_to = pointWithOffset(m_target);
    m_toScale = pointAt(m_target).s;
    m_segmentLength = segmentLength(m_from, m_to);
    setPosition(CVector3d(m_from.x, m_from.y, 0));
    setScale(CVector3d(m_fromScale, m_fromScale, 1));
    updateAbsoluteTransform();
    setChildrenState(startName(), nullptr);
    OnPathStarted();
    setDirection(m_to - m_from);
}

void GPathMovableNode::advance(uint32_t elapsedMs) {
    if (!m_path)
        return;
    if (m_path->points.size() < 2 || !isPointIndex(m_target)) {
        stop();
        return;
    }
    const float speed = m_speed > 0 && std::isfinite(m_speed) ? m_speed : 0.0f;
    m_travelled += speed * float(elapsedMs) * 0.001f;
    // Counts the segments of no length passed in a row: a whole lap of them would loop for ever.
    uint32_t emptySegments = 0;
    while (m_segmentLength <= m_travelled) {
        if (!passTarget())
            return;
        emptySegments = m_segmentLength > 0 ? 0 : emptySegments + 1;
        if (emptySegments >= m_path->points.size())
            return;
    }
    placeOnSegment();
}

bool GPathMovableNode::passTarget() {
    m_target = nextIndex(m_target);
    if (!isPointIndex(m_target)) {
        // The owner may drop the node when it hears of the end.
        const CRefPointer<BaseNode> self = CRefPointer<BaseNode>::share(this);
        setPosition(CVector3d(m_to.x, m_to.y, m_to.y));
        setScale(CVector3d(m_toScale, m_toScale, 1));
        setChildrenState(stopName(), nullptr);
        OnPathFinished();
        sendToParent(RouteSelf, *CRefPointer<CEvent>(new GPathFinishedEvent(this, m_finishValue)));
        return false;
    }
    m_travelled -= m_segmentLength;
    m_from = m_to;
    m_to = pointWithOffset(m_target);
    m_fromScale = m_toScale;
    m_toScale = pointAt(m_target).s;
    m_segmentLength = segmentLength(m_from, m_to);
    setDirection(m_to - m_from);
    return true;
}

void GPathMovableNode::placeOnSegment() {
    CVector2d offset = m_to - m_from;
    offset.setLength(m_travelled);
    const CVector2d at = m_from + offset;
    setPosition(CVector3d(at.x, at.y, at.y));
    const float s = m_fromScale + (m_toScale - m_fromScale) * m_travelled / m_segmentLength;
    setScale(CVector3d(s, s, 1));
}

void GPathMovableNode::stop() {
    if (!m_path)
        return;
    m_path = nullptr;
    setChildrenState(stopName(), nullptr);
    OnPathFinished();
}

// Points

bool GPathMovableNode::isPointIndex(int32_t i) const {
    return i >= 0 && m_path && uint32_t(i) < m_path->points.size();
}

int32_t GPathMovableNode::nextIndex(int32_t i) const {
    if (!m_path)
        return i;
    const int32_t j = m_reverse ? i - 1 : i + 1;
    if (m_loop && !isPointIndex(j))
        return m_reverse ? int32_t(m_path->points.size()) - 1 : 0;
    return j;
}

int32_t GPathMovableNode::previousIndex(int32_t i) const {
    if (!m_path)
        return i;
    const int32_t j = m_reverse ? i + 1 : i - 1;
    if (m_loop && !isPointIndex(j))
        return m_reverse ? 0 : int32_t(m_path->points.size()) - 1;
    return j;
}

CVector2d GPathMovableNode::pointWithOffset(int32_t i) {
    if (!m_path || m_path->points.size() < 2 || !isPointIndex(i))
        return CVector2d();
    const PathPoint& p = pointAt(i);
    const CVector2d at(p.x, p.y);
    if (p.d1 == 0 && p.d2 == 0)
        return at;
    const int32_t next = nextIndex(i);
    const int32_t previous = previousIndex(i);
    CVector2d chord;
    if (isPointIndex(next) && isPointIndex(previous))
        chord = CVector2d(pointAt(next).x, pointAt(next).y) -
                CVector2d(pointAt(previous).x, pointAt(previous).y);
    else if (isPointIndex(previous))
        chord = at - CVector2d(pointAt(previous).x, pointAt(previous).y);
    else if (isPointIndex(next))
        chord = CVector2d(pointAt(next).x, pointAt(next).y) - at;
    CVector2d side(-chord.y, chord.x);
    side.setLength(engineRandom().nextFloatInRange(-p.d1, p.d2));
    return at + side;
}

// Direction

void GPathMovableNode::setDirection(CVector2d heading) {
    m_direction = directionNameForVector(heading);
    if (m_direction != CNameId())
        setChildrenState(m_direction, nullptr);
}
