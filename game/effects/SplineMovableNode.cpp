#include "game/effects/SplineMovableNode.h"

#include "engine/core/String.h"

namespace {

CNameId selfDestructName() {
    static const CNameId name(CString("SelfDestruct"));
    return name;
}

} // namespace

bool GSplineMovableNode::OnChildrenStateFinished(CEventNodeChildrenStateFinished& event) {
    if (event.getStateName() != selfDestructName())
        return false;
    m_removed = true;
    removeSelf();
    return true;
}

void GSplineMovableNode::setPath(const CArray<SplinePoint>& points) {
    if (placeOnPath(points))
        setScheduler(getSceneClock());
}

bool GSplineMovableNode::placeOnPath(const CArray<SplinePoint>& points) {
    if (points.size() < 2)
        return false;
    m_points = points;
    m_elapsed = 0;
    m_removed = false;
    m_state = m_delay > 0 ? kWaiting : kMoving;
    setPosition(CVector3d(points[0].x, points[0].y, 0));
    return true;
}

bool GSplineMovableNode::OnUpdate(uint32_t elapsedMs) {
    m_elapsed = countDown(m_elapsed, -int64_t(elapsedMs));
    if (m_state == kWaiting) {
        if (m_elapsed >= m_delay) {
            m_elapsed = 0;
            m_state = kMoving;
        }
        return true;
    }
    if (m_state != kMoving)
        return true;
    followEndNode();
    const SplinePoint& p0 = m_points[0];
    const SplinePoint& p1 = m_points[1];
    // A duration of 0 or less is over at once.
    const float u = m_duration > 0 ? float(m_elapsed) / float(m_duration) : 1.0f;
    if (u >= 1) {
        m_state = kDone;
        placeAt(CVector2d(p1.x, p1.y), CVector2d(p1.tangentX, p1.tangentY));
        // Not followed any more: a node holding this one is not kept alive by it.
        m_points[1].follow = nullptr;
        // Children that have nothing to play report at once, and the node is gone.
        setChildrenState(selfDestructName(), nullptr);
        return !m_removed;
    }
    const float u2 = u * u;
    const float u3 = u2 * u;
    const float h1 = 2 * u3 - 3 * u2 + 1;
    const float h2 = 3 * u2 - 2 * u3;
    const float h3 = u3 - 2 * u2 + u;
    const float h4 = u3 - u2;
    const CVector2d position(h1 * p0.x + h2 * p1.x + h3 * p0.tangentX + h4 * p1.tangentX,
                             h1 * p0.y + h2 * p1.y + h3 * p0.tangentY + h4 * p1.tangentY);
    const float d1 = 6 * u2 - 6 * u;
    const float d2 = 6 * u - 6 * u2;
    const float d3 = 3 * u2 - 4 * u + 1;
    const float d4 = 3 * u2 - 2 * u;
    const CVector2d tangent(d1 * p0.x + d2 * p1.x + d3 * p0.tangentX + d4 * p1.tangentX,
                            d1 * p0.y + d2 * p1.y + d3 * p0.tangentY + d4 * p1.tangentY);
    placeAt(position, tangent);
    return true;
}

// The end point where its node is now; a node that has left its tree is let go.
void GSplineMovableNode::followEndNode() {
    SplinePoint& end = m_points[1];
    if (!end.follow)
        return;
    if (end.follow->getParent() == nullptr) {
        end.follow = nullptr;
        return;
    }
    end.follow->updateAbsoluteTransform();
    const CMatrix4& matrix = end.follow->getAbsoluteMatrix();
    end.x = matrix[12] + end.follow->getPivotPoint().x;
    end.y = matrix[13] + end.follow->getPivotPoint().y;
}

void GSplineMovableNode::placeAt(CVector2d position, CVector2d tangent) {
    setPosition(CVector3d(position.x, position.y, 0));
    if (m_alignByTangent)
        setRotation(CVector3d(0, 0, tangent.angleDegrees() + 90));
}
