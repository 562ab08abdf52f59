#include "game/effects/BaloonNode.h"

#include <cmath>

#include "engine/ui/RangeProperty.h"

namespace {

const CVector2d kDefaultScaleRange(1, 1);

} // namespace

const PropertyTable& GBaloonNode::classPropertyTable() {
    static const PropertyTable table =
        extendPropertyTable(BaseNode::classPropertyTable(),
                            {
                                finiteProperty<&GBaloonNode::m_scaleRange>("ScaleRange"),
                                finiteProperty<&GBaloonNode::m_widthRange>("WidthRange"),
                                finiteProperty<&GBaloonNode::m_xVelocityRange>("XVelocityRange"),
                                finiteProperty<&GBaloonNode::m_yVelocityRange>("YVelocityRange"),
                                finiteProperty<&GBaloonNode::m_yAccelRange>("YAccelRange"),
                                finiteProperty<&GBaloonNode::m_yAccelTimeRange>("YAccelTimeRange"),
                                fieldProperty<&GBaloonNode::m_disappearTime>("DisappearTime"),
                                fieldProperty<&GBaloonNode::m_lifeTime>("LifeTime"),
                            });
    return table;
}

void GBaloonNode::saveProperties(CProperties& properties) const {
    BaseNode::saveProperties(properties);
    saveVector2d(properties, "ScaleRange", m_scaleRange, kDefaultScaleRange);
    saveVector2d(properties, "WidthRange", m_widthRange, CVector2d());
    saveVector2d(properties, "XVelocityRange", m_xVelocityRange, CVector2d());
    saveVector2d(properties, "YVelocityRange", m_yVelocityRange, CVector2d());
    saveVector2d(properties, "YAccelRange", m_yAccelRange, CVector2d());
    saveVector2d(properties, "YAccelTimeRange", m_yAccelTimeRange, CVector2d());
    saveInt(properties, "DisappearTime", m_disappearTime, kDefaultDisappearTime);
    saveInt(properties, "LifeTime", m_lifeTime, 0);
}

void GBaloonNode::loadProperties(const CProperties& properties) {
    BaseNode::loadProperties(properties);
    loadFiniteIfPresent(properties, "ScaleRange", m_scaleRange);
    loadFiniteIfPresent(properties, "WidthRange", m_widthRange);
    loadFiniteIfPresent(properties, "XVelocityRange", m_xVelocityRange);
    loadFiniteIfPresent(properties, "YVelocityRange", m_yVelocityRange);
    loadFiniteIfPresent(properties, "YAccelRange", m_yAccelRange);
    loadFiniteIfPresent(properties, "YAccelTimeRange", m_yAccelTimeRange);
    loadPropertyIfPresent(properties, "DisappearTime", m_disappearTime);
    loadPropertyIfPresent(properties, "LifeTime", m_lifeTime);
}

void GBaloonNode::cloneMembers(const BaseNode& source, SceneManager* sceneManager) {
    BaseNode::cloneMembers(source, sceneManager);
    if (!source.isKindOf(kTypeId))
        return;
    const auto& other = static_cast<const GBaloonNode&>(source);
    m_scaleRange = other.m_scaleRange;
    m_widthRange = other.m_widthRange;
    m_xVelocityRange = other.m_xVelocityRange;
    m_yVelocityRange = other.m_yVelocityRange;
    m_yAccelRange = other.m_yAccelRange;
    m_yAccelTimeRange = other.m_yAccelTimeRange;
    m_disappearTime = other.m_disappearTime;
    m_lifeTime = other.m_lifeTime;
}

bool GBaloonNode::OnStart() {
    m_velocityX = drawRange(m_xVelocityRange);
    m_velocityY = drawRange(m_yVelocityRange);
    m_accelerationY = drawRange(m_yAccelRange);
    m_width = drawRange(m_widthRange);
    m_remainingLife = m_lifeTime;
    m_accelerationEnd = countDown(m_remainingLife, drawIntRange(m_yAccelTimeRange));
    m_start = getPosition();
    m_velocityX *= randomSign();
    const float s = drawRange(m_scaleRange);
    setScale(CVector3d(s, s, 1));
    return true;
}

bool GBaloonNode::OnUpdate(uint32_t elapsedMs) {
    m_remainingLife = countDown(m_remainingLife, elapsedMs);
    if (m_remainingLife < 1)
        return removeSelf();
    fadeOut(*this, m_remainingLife, m_disappearTime);
    CVector3d at = getPosition();
    // Turns back once found outside its band.
    if (m_width > 0 && std::fabs(at.x - m_start.x) >= m_width)
        m_velocityX = -m_velocityX;
    const float seconds = elapsedSeconds(elapsedMs);
    if (m_remainingLife > m_accelerationEnd)
        m_velocityY += m_accelerationY * seconds;
    at.x += m_velocityX * seconds;
    at.y += m_velocityY * seconds;
    at.z = (at.x + at.y) * 0.0001f + float(m_remainingLife) * 0.01f + m_velocityY * 0.1f;
    setPosition(at);
    return true;
}
