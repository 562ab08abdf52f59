#include "game/effects/BurstGravityNode.h"

#include <cmath>

#include "engine/core/Color.h"
#include "engine/core/Vector3d.h"
#include "engine/scene/NodeState.h"
#include "engine/ui/RangeProperty.h"

namespace {

// A looping animation starts somewhere in its first nine tenths; another within 700 ms.
constexpr float kLoopStartShare = 0.9f;
constexpr uint32_t kStartWindowMs = 700;
constexpr float kBirthPlaySpeed = 5.0f;
constexpr float kSlowestPlaySpeed = 0.1f;

bool loops(const KeyFrame& frames) {
    const CArray<KeyFrameKey>& keys = frames.getKeys();
    return keys.size() >= 2 && keys[keys.size() - 1].g != -1;
}

} // namespace

const PropertyTable& GBurstGravityNode::classPropertyTable() {
    using Node = GBurstGravityNode;
    static const PropertyTable table = extendPropertyTable(
        BaseNode::classPropertyTable(),
        {
            finiteProperty<&Node::m_accel1StartTimeRange>("Accel1StartTimeRange"),
            finiteProperty<&Node::m_accel1EndTimeRange>("Accel1EndTimeRange"),
            finiteProperty<&Node::m_accel2StartTimeRange>("Accel2StartTimeRange"),
            finiteProperty<&Node::m_accel2EndTimeRange>("Accel2EndTimeRange"),
            finiteProperty<&Node::m_velocityAngleRange>("VelocityAngleRange"),
            finiteProperty<&Node::m_radiusRange>("RadiusRange"),
            finiteProperty<&Node::m_velocityRange>("VelocityRange"),
            finiteProperty<&Node::m_accel1Range>("Accel1Range"),
            finiteProperty<&Node::m_accel2XRange>("Accel2XRange"),
            finiteProperty<&Node::m_accel2YRange>("Accel2YRange"),
            fieldProperty<&Node::m_disappearTime>("DisappearTime"),
            fieldProperty<&Node::m_lifeTime>("LifeTime"),
        });
    return table;
}

void GBurstGravityNode::saveProperties(CProperties& properties) const {
    BaseNode::saveProperties(properties);
    saveVector2d(properties, "Accel1StartTimeRange", m_accel1StartTimeRange, CVector2d());
    saveVector2d(properties, "Accel1EndTimeRange", m_accel1EndTimeRange, CVector2d());
    saveVector2d(properties, "Accel2StartTimeRange", m_accel2StartTimeRange, CVector2d());
    saveVector2d(properties, "Accel2EndTimeRange", m_accel2EndTimeRange, CVector2d());
    saveVector2d(properties, "VelocityRange", m_velocityRange, CVector2d());
    saveVector2d(properties, "VelocityAngleRange", m_velocityAngleRange, CVector2d());
    saveVector2d(properties, "RadiusRange", m_radiusRange, CVector2d());
    saveVector2d(properties, "Accel1Range", m_accel1Range, CVector2d());
    saveVector2d(properties, "Accel2XRange", m_accel2XRange, CVector2d());
    saveVector2d(properties, "Accel2YRange", m_accel2YRange, CVector2d());
    saveInt(properties, "DisappearTime", m_disappearTime, kDefaultDisappearTime);
    saveInt(properties, "LifeTime", m_lifeTime, 0);
}

void GBurstGravityNode::loadProperties(const CProperties& properties) {
    BaseNode::loadProperties(properties);
    loadFiniteIfPresent(properties, "Accel1StartTimeRange", m_accel1StartTimeRange);
    loadFiniteIfPresent(properties, "Accel1EndTimeRange", m_accel1EndTimeRange);
    loadFiniteIfPresent(properties, "Accel2StartTimeRange", m_accel2StartTimeRange);
    loadFiniteIfPresent(properties, "Accel2EndTimeRange", m_accel2EndTimeRange);
    loadFiniteIfPresent(properties, "VelocityRange", m_velocityRange);
    loadFiniteIfPresent(properties, "VelocityAngleRange", m_velocityAngleRange);
    loadFiniteIfPresent(properties, "RadiusRange", m_radiusRange);
    loadFiniteIfPresent(properties, "Accel1Range", m_accel1Range);
    loadFiniteIfPresent(properties, "Accel2XRange", m_accel2XRange);
    loadFiniteIfPresent(properties, "Accel2YRange", m_accel2YRange);
    loadPropertyIfPresent(properties, "DisappearTime", m_disappearTime);
    loadPropertyIfPresent(properties, "LifeTime", m_lifeTime);
}

void GBurstGravityNode::cloneMembers(const BaseNode& source, SceneManager* sceneManager) {
    BaseNode::cloneMembers(source, sceneManager);
    if (!source.isKindOf(kTypeId))
        return;
    const auto& other = static_cast<const GBurstGravityNode&>(source);
    m_accel1StartTimeRange = other.m_accel1StartTimeRange;
    m_accel1EndTimeRange = other.m_accel1EndTimeRange;
    m_accel2StartTimeRange = other.m_accel2StartTimeRange;
    m_accel2EndTimeRange = other.m_accel2EndTimeRange;
    m_velocityAngleRange = other.m_velocityAngleRange;
    m_radiusRange = other.m_radiusRange;
    m_velocityRange = other.m_velocityRange;
    m_accel1Range = other.m_accel1Range;
    m_accel2XRange = other.m_accel2XRange;
    m_accel2YRange = other.m_accel2YRange;
    m_disappearTime = other.m_disappearTime;
    m_lifeTime = other.m_lifeTime;
}

bool GBurstGravityNode::OnStart() {
    const float radians = drawRange(m_velocityAngleRange) * 3.1415927f / 180;
    const CVector2d direction(std::cos(radians), std::sin(radians));
    m_velocity = direction * drawRange(m_velocityRange);
    m_damping = drawRange(m_accel1Range);
    m_acceleration = CVector2d(drawRange(m_accel2XRange), drawRange(m_accel2YRange));
    m_remainingLife = m_lifeTime;
    m_dampingStart = countDown(m_remainingLife, drawIntRange(m_accel1StartTimeRange));
    m_dampingEnd = countDown(m_remainingLife, drawIntRange(m_accel1EndTimeRange));
    m_accelerationStart = countDown(m_remainingLife, drawIntRange(m_accel2StartTimeRange));
    m_accelerationEnd = countDown(m_remainingLife, drawIntRange(m_accel2EndTimeRange));
    gatherActions();
    const CVector2d at = direction * drawRange(m_radiusRange);
    setPosition(CVector3d(at.x, at.y, 0));
    return true;
}

// The key-frame animations of the first child's current state, each put at a drawn time.
void GBurstGravityNode::gatherActions() {
    m_actions.clear();
    const NodeState* state = getChildCount() != 0 ? getChild(0)->getCurrentState() : nullptr;
    for (uint32_t i = 0; state != nullptr && i < state->getAnimatorCount(); ++i) {
        KeyFrame* frames = asKeyFrame(state->getAnimator(i));
        if (frames == nullptr)
            continue;
        m_actions.append(CRefPointer<KeyFrame>::share(frames));
        if (!loops(*frames)) {
            frames->apply(int32_t(engineRandom().next() % kStartWindowMs), false);
            continue;
        }
        const int32_t window = truncateToInt(float(frames->getDuration()) * kLoopStartShare);
        if (window > 0)
            frames->apply(int32_t(engineRandom().next() % uint32_t(window)), false);
    }
}

bool GBurstGravityNode::OnUpdate(uint32_t elapsedMs) {
    m_remainingLife = countDown(m_remainingLife, elapsedMs);
    if (m_remainingLife <= 0)
        return endLife();
    fadeOut(*this, m_remainingLife, m_disappearTime);
    if (m_dampingEnd < m_remainingLife && m_remainingLife < m_dampingStart)
        m_velocity = m_velocity * m_damping;
    const float seconds = elapsedSeconds(elapsedMs);
    if (m_accelerationEnd < m_remainingLife && m_remainingLife < m_accelerationStart)
        m_velocity += m_acceleration * seconds;
    const CVector3d at = getPosition();
    setPosition(CVector3d(at.x + m_velocity.x * seconds, at.y + m_velocity.y * seconds, at.z));
    // A LifeTime changed under a running node may be 0.
    const float share =
        m_lifeTime > 0 ? float(m_remainingLife) * kBirthPlaySpeed / float(m_lifeTime) : 0.0f;
    const float speed = share > kSlowestPlaySpeed ? share : kSlowestPlaySpeed;
    for (const CRefPointer<KeyFrame>& frames : m_actions)
        frames->setSpeed(speed);
    return true;
}

bool GBurstGravityNode::endLife() {
    if (isInternal())
        return removeSelf();
    setTintColor(CColor(0xFF000000u | (getTintColor().value & 0x00FFFFFFu)));
    setVisible(false);
    setPosition(CVector3d());
    return false;
}
