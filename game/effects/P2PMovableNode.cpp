#include "game/effects/P2PMovableNode.h"

const PropertyTable& GP2PMovableNode::classPropertyTable() {
    static const PropertyTable table = extendPropertyTable(
        BaseNode::classPropertyTable(), {finiteProperty<&GP2PMovableNode::m_velocity>("Velocity")});
    return table;
}

void GP2PMovableNode::saveProperties(CProperties& properties) const {
    BaseNode::saveProperties(properties);
    saveFloat(properties, "Velocity", m_velocity, 0);
}

void GP2PMovableNode::loadProperties(const CProperties& properties) {
    BaseNode::loadProperties(properties);
    loadFiniteIfPresent(properties, "Velocity", m_velocity);
}

void GP2PMovableNode::cloneMembers(const BaseNode& source, SceneManager* sceneManager) {
    BaseNode::cloneMembers(source, sceneManager);
    if (source.isKindOf(kTypeId))
        m_velocity = static_cast<const GP2PMovableNode&>(source).m_velocity;
}

bool GP2PMovableNode::OnUpdate(uint32_t elapsedMs) {
    m_travelled += m_velocity * elapsedSeconds(elapsedMs);
    CVector3d way = m_end - m_start;
    if (way.getLength() < m_travelled)
        return removeSelf();
    setPosition(m_start + way.normalize() * m_travelled);
    return true;
}
