#include "game/effects/WaveNode.h"

#include <algorithm>

#include "engine/core/Color.h"
#include "engine/core/String.h"

namespace {

const CColor kOpaqueWhite(0xFFFFFFFFu);
const CColor kTransparentWhite(0x00FFFFFFu);

} // namespace

const PropertyTable& GWaveNode::classPropertyTable() {
    static const PropertyTable table = extendPropertyTable(
        BaseNode::classPropertyTable(), {
                                            finiteProperty<&GWaveNode::m_velocity>("Velocity"),
                                            fieldProperty<&GWaveNode::m_lifeTime>("LifeTime"),
                                        });
    return table;
}

void GWaveNode::saveProperties(CProperties& properties) const {
    BaseNode::saveProperties(properties);
    if (!m_velocity.equals(CVector3d(), 1e-6f))
        properties.addVector3d("Velocity", m_velocity);
    saveInt(properties, "LifeTime", m_lifeTime, -1);
}

void GWaveNode::loadProperties(const CProperties& properties) {
    BaseNode::loadProperties(properties);
    loadFiniteIfPresent(properties, "Velocity", m_velocity);
    loadPropertyIfPresent(properties, "LifeTime", m_lifeTime);
}

void GWaveNode::cloneMembers(const BaseNode& source, SceneManager* sceneManager) {
    BaseNode::cloneMembers(source, sceneManager);
    if (!source.isKindOf(kTypeId))
        return;
    const auto& other = static_cast<const GWaveNode&>(source);
    m_velocity = other.m_velocity;
    m_lifeTime = other.m_lifeTime;
}

void GWaveNode::OnLoaded() {
    m_wave = CRefPointer<BaseNode>::share(findChild(CNameId(CString("Wave")), 1));
}

void GWaveNode::collectDrawables(RenderList& list) {
    startOnSceneClock();
    BaseNode::collectDrawables(list);
}

bool GWaveNode::OnStart() {
    // A child that has left since is not the wave any more.
    if (m_wave && m_wave->getParent() == this)
        m_wave->setState(CNameId(CString("Normal")), nullptr, CNameId());
    m_remainingLife = m_lifeTime;
    setTintColor(kTransparentWhite);
    return true;
}

bool GWaveNode::OnUpdate(uint32_t elapsedMs) {
    const float seconds = elapsedSeconds(elapsedMs);
    setPosition(getPosition() + m_velocity * seconds);
    if (m_remainingLife <= 0)
        return true;
    if (int64_t(elapsedMs) >= m_remainingLife)
        return removeSelf();
    m_remainingLife -= int32_t(elapsedMs);
    // A LifeTime lowered under a running wave would give a negative age.
    const int64_t age = std::max<int64_t>(int64_t(m_lifeTime) - m_remainingLife, 0);
    if (age < kFadeMs)
        setTintColor(kOpaqueWhite.interpolate(kTransparentWhite, float(age) / kFadeMs));
    else if (m_remainingLife < kFadeMs)
        setTintColor(kTransparentWhite.interpolate(kOpaqueWhite,
                                                   float(kFadeMs - m_remainingLife) / kFadeMs));
    return true;
}
