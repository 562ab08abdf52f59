#include "game/effects/SpeedUpNode.h"

#include "engine/ui/RangeProperty.h"

namespace {

const CVector2d kDefaultVelocityRange(100, 200);
const CVector2d kDefaultAngleRange(0, 360);

float drawRangeMt(CVector2d range) {
    return engineRandom().nextFloatInRangeMt(range.x, range.y);
}

// The share of 255 that the time is of the whole, in whole steps.
uint32_t alphaShare(int32_t timeMs, int32_t wholeMs) {
    return uint32_t(int64_t(timeMs) * 255 / wholeMs);
}

} // namespace

const PropertyTable& GSpeedUpNode::classPropertyTable() {
    static const PropertyTable table = extendPropertyTable(
        BaseNode::classPropertyTable(),
        {
            finiteProperty<&GSpeedUpNode::m_velocityRange>("VelocityRange"),
            finiteProperty<&GSpeedUpNode::m_startAngleRange>("StartAngleRange"),
            finiteProperty<&GSpeedUpNode::m_targetAngleRange>("TargetAngleRange"),
            fieldProperty<&GSpeedUpNode::m_appearTime>("AppearTime"),
            fieldProperty<&GSpeedUpNode::m_movingTime>("MovingTime"),
            fieldProperty<&GSpeedUpNode::m_disappearTime>("DisappearTime"),
        });
    return table;
}

void GSpeedUpNode::saveProperties(CProperties& properties) const {
    BaseNode::saveProperties(properties);
    saveVector2d(properties, "VelocityRange", m_velocityRange, kDefaultVelocityRange);
    saveVector2d(properties, "TargetAngleRange", m_targetAngleRange, kDefaultAngleRange);
    saveVector2d(properties, "StartAngleRange", m_startAngleRange, kDefaultAngleRange);
    saveInt(properties, "AppearTime", m_appearTime, kDefaultPhaseTime);
    saveInt(properties, "MovingTime", m_movingTime, kDefaultPhaseTime);
    saveInt(properties, "DisappearTime", m_disappearTime, kDefaultPhaseTime);
}

void GSpeedUpNode::loadProperties(const CProperties& properties) {
    BaseNode::loadProperties(properties);
    loadFiniteIfPresent(properties, "VelocityRange", m_velocityRange);
    loadFiniteIfPresent(properties, "StartAngleRange", m_startAngleRange);
    loadFiniteIfPresent(properties, "TargetAngleRange", m_targetAngleRange);
    loadPropertyIfPresent(properties, "AppearTime", m_appearTime);
    loadPropertyIfPresent(properties, "MovingTime", m_movingTime);
    loadPropertyIfPresent(properties, "DisappearTime", m_disappearTime);
}

void GSpeedUpNode::cloneMembers(const BaseNode& source, SceneManager* sceneManager) {
    BaseNode::cloneMembers(source, sceneManager);
    if (!source.isKindOf(kTypeId))
        return;
    const auto& other = static_cast<const GSpeedUpNode&>(source);
    m_velocityRange = other.m_velocityRange;
    m_startAngleRange = other.m_startAngleRange;
    m_targetAngleRange = other.m_targetAngleRange;
    m_appearTime = other.m_appearTime;
    m_movingTime = other.m_movingTime;
    m_disappearTime = other.m_disappearTime;
}

bool GSpeedUpNode::OnStart() {
    m_direction = drawRangeMt(m_targetAngleRange);
    // Mirrored about the vertical half of the time, which keeps a whole-circle range uniform.
    if ((engineRandom().next() & 1u) == 0)
        m_direction = 180 - m_direction;
    const float turn = drawRangeMt(m_startAngleRange);
    const float sign = (engineRandom().next() & 1u) != 0 ? 1.0f : -1.0f;
    m_startRotation = sign * turn + m_direction;
    m_velocity = CVector2d(drawRangeMt(m_velocityRange), 0);
    m_velocity.rotateByDegrees(truncateToInt(m_direction));
    setTintAlpha(*this, 0);
    setRotation(CVector3d(0, 0, m_startRotation));
    updateAbsoluteTransform();
    updateAbsoluteColor();
    m_phase = kAppearing;
    m_phaseTime = 0;
    return true;
}

bool GSpeedUpNode::OnUpdate(uint32_t elapsedMs) {
    m_phaseTime = countDown(m_phaseTime, -int64_t(elapsedMs));
    if (m_phase == kMoving || m_phase == kDisappearing) {
        const float seconds = elapsedSeconds(elapsedMs);
        const CVector3d at = getPosition();
        const float x = at.x + m_velocity.x * seconds;
        const float y = at.y + m_velocity.y * seconds;
        setPosition(CVector3d(x, y, (x + y) * 0.0001f));
    }
    switch (m_phase) {
    case kAppearing:
        appear();
        return true;
    case kMoving:
        if (m_phaseTime >= m_movingTime) {
            m_phase = kDisappearing;
            m_phaseTime = 0;
        }
        return true;
    case kDisappearing:
        if (m_phaseTime >= m_disappearTime)
            return removeSelf();
        setTintAlpha(*this, 255 - alphaShare(m_phaseTime, m_disappearTime));
        return true;
    case kNotStarted:
        break;
    }
    return true;
}

void GSpeedUpNode::appear() {
    if (m_phaseTime >= m_appearTime) {
        setTintAlpha(*this, 255);
        setRotation(CVector3d(0, 0, m_direction));
        m_phase = kMoving;
        m_phaseTime = 0;
        return;
    }
    setTintAlpha(*this, alphaShare(m_phaseTime, m_appearTime));
    const float share = float(m_phaseTime) / float(m_appearTime);
    setRotation(CVector3d(0, 0, m_startRotation + (m_direction - m_startRotation) * share));
}
