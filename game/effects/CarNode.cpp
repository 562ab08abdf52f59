#include "game/effects/CarNode.h"

#include <cmath>

#include "engine/core/NameId.h"
#include "engine/core/String.h"
#include "engine/core/Vector3d.h"
#include "engine/scene/KeyFrame.h"
#include "engine/scene/NodeState.h"

namespace {

// The pre-drawn headings of frames 0 to 18, in degrees; frames 18 to 35 are 180 more.
const float kFrameAngles[19] = {0,      5,      20,     25,     27,     33,     50,
                                56,     65,     84.2f,  100.7f, 116.6f, 130.1f, 143.3f,
                                153.6f, 161.8f, 170.9f, 176.6f, 180};
constexpr int32_t kFrameCount = 36;
constexpr int32_t kFrameMs = 10;
// Spline samples per segment, at every 0.03 of it.
constexpr float kSampleStep = 0.03f;

CVector2d pointOf(const PathPoint& point) {
    return CVector2d(point.x, point.y);
}

// A segment too short to drive counts as 1 long, so the car passes it almost at once.
float drivableLength(float length) {
    return length > 0.001f ? length : 1.0f;
}

CVector2d unit(CVector2d vector) {
    return vector.normalize();
}

CNameId rotationName() {
    static const CNameId name(CString("Rotation"));
    return name;
}

} // namespace

CVector2d hermitePoint(const CarSplineKnot& a, const CarSplineKnot& b, float t) {
    const float t2 = t * t;
    const float t3 = t2 * t;
    return a.position * (2 * t3 - 3 * t2 + 1) + b.position * (3 * t2 - 2 * t3) +
           a.outgoing * (t3 - 2 * t2 + t) + b.incoming * (t3 - t2);
}

int32_t carFrameForAngle(float degrees) {
    if (!std::isfinite(degrees))
        return 0;
    float a = std::fmod(degrees, 360.0f);
    if (a < 0)
        a += 360;
    const float base = a > 180 ? 180.0f : 0.0f;
    for (int32_t i = 0; i < 18; ++i) {
        const float low = base + kFrameAngles[i];
        const float high = base + kFrameAngles[i + 1];
        if (!(low < a && a <= high))
            continue;
        int32_t frame = a > base + (kFrameAngles[i] + kFrameAngles[i + 1]) / 2 ? i + 1 : i;
        if (a > 180)
            frame += 18;
        return frame == kFrameCount ? 0 : frame;
    }
    // Only a heading of exactly 0 lies in no bracket: straight to the right.
    return 0;
}

void GCarNode::OnLoaded() {
    BaseNode* body = findChild(CNameId(CString("Body")), 1);
    m_body = body != nullptr && body->isKindOf(SpriteNode::kTypeId)
                 ? CRefPointer<SpriteNode>::share(static_cast<SpriteNode*>(body))
                 : CRefPointer<SpriteNode>();
}

// The spline

void GCarNode::startPath(GPath* path) {
    if (path == nullptr || path->points.size() < 2)
        return;
    buildKnots(*path);
    if (path->points[0].segmentLength < 0)
        measureSegments(*path);
    for (uint32_t k = 0; k < m_knots.size(); ++k) {
        CarSplineKnot& knot = m_knots[k];
        knot.length = drivableLength(knot.length);
        if (k > 0)
            knot.incoming = unit(knot.incoming) * m_knots[k - 1].length;
        knot.outgoing = unit(knot.outgoing) * knot.length;
    }
    m_travelled = 0;
    m_segment = 0;
    setPosition(CVector3d(m_knots[0].position.x, m_knots[0].position.y, 0));
    setChildrenState(CNameId(CString("Start")), nullptr);
}

void GCarNode::buildKnots(const GPath& path) {
    const CArray<PathPoint>& points = path.points;
    const uint32_t last = points.size() - 1;
    m_knots.clear();
    m_knots.reallocate(points.size());
    for (uint32_t i = 0; i <= last; ++i) {
        CarSplineKnot knot;
        knot.position = pointOf(points[i]);
        knot.scale = points[i].s;
        knot.length = points[i].segmentLength;
        if (i == 0) {
            knot.outgoing = pointOf(points[1]) - pointOf(points[0]);
        } else if (i < last) {
            knot.outgoing = (pointOf(points[i + 1]) - pointOf(points[i - 1])) * 0.5f;
            knot.incoming = knot.outgoing;
        } else {
            knot.outgoing = pointOf(points[last]) - pointOf(points[last - 1]);
            knot.incoming = knot.outgoing;
        }
        m_knots.append(knot);
    }
}

// Lengths along the spline as drawn with the unscaled tangents, kept in the path for the cars
// that follow.
void GCarNode::measureSegments(GPath& path) {
    for (uint32_t k = 0; k < m_knots.size(); ++k) {
        float length = 0;
        if (k + 1 < m_knots.size()) {
            CVector2d previous = m_knots[k].position;
            for (float t = kSampleStep; t <= 1.0001f; t += kSampleStep) {
                const CVector2d sample = hermitePoint(m_knots[k], m_knots[k + 1], t);
                length += segmentLength(previous, sample);
                previous = sample;
            }
        }
        m_knots[k].length = drivableLength(length);
        path.points[k].segmentLength = m_knots[k].length;
    }
}

// Driving

bool GCarNode::OnUpdate(uint32_t elapsedMs) {
    if (m_segment + 1 >= m_knots.size())
        return removeSelf();
    const float speed = m_speed > 0 && std::isfinite(m_speed) ? m_speed : 0.0f;
    m_travelled += float(elapsedMs) * 0.001f * speed;
    while (m_knots[m_segment].length <= m_travelled) {
        m_travelled -= m_knots[m_segment].length;
        if (++m_segment + 1 >= m_knots.size())
            return true;
    }
    moveOnSegment();
    return true;
}

void GCarNode::moveOnSegment() {
    const CarSplineKnot& a = m_knots[m_segment];
    const CarSplineKnot& b = m_knots[m_segment + 1];
    const float t = m_travelled / a.length;
    const float t2 = t * t;
    const CVector2d d = a.position * (6 * t2 - 6 * t) + b.position * (6 * t - 6 * t2) +
                        a.outgoing * (3 * t2 - 4 * t + 1) + b.incoming * (3 * t2 - 2 * t);
    float heading = std::atan2(-d.y, d.x);
    if (heading < 0)
        heading += 6.2831855f;
    setRotation(heading * 57.29578f);
    const float s = a.scale + (b.scale - a.scale) * t;
    setScale(CVector3d(s, s, 1));
    const CVector2d p = hermitePoint(a, b, t);
    setPosition(CVector3d(p.x, p.y, getPosition().z));
}

// The body enters "Rotation" once and its frame is put only when it changes: a restarted state
// or a frame put again would show nothing new, and each costs the engine allocations.
void GCarNode::setRotation(float degrees) {
    if (!m_body)
        return;
    const int32_t frame = carFrameForAngle(degrees);
    const NodeState* current = m_body->getCurrentState();
    if (current == nullptr || current->getName() != rotationName()) {
        m_body->setState(rotationName(), nullptr, CNameId());
        m_shownFrame = -1;
    }
    NodeState* state = m_body->findState(rotationName());
    KeyFrame* frames = state != nullptr ? asKeyFrame(state->getAnimator(0)) : nullptr;
    if (frames == nullptr || frame == m_shownFrame)
        return;
    frames->apply(frame * kFrameMs, true);
    frames->stop(false);
    m_shownFrame = frame;
}
