#include "game/effects/CircularMovableNode.h"

#include "engine/core/String.h"

const PropertyTable& GCircularMovableNode::classPropertyTable() {
    static const PropertyTable table = [] {
        PropertyTable own = extendPropertyTable(
            BaseNode::classPropertyTable(),
            {accessorProperty<&GCircularMovableNode::getMovableName,
                              &GCircularMovableNode::setMovableName>("MovableName")});
        appendOrbitProperties<&GCircularMovableNode::m_orbit>(own);
        return own;
    }();
    return table;
}

void GCircularMovableNode::saveProperties(CProperties& properties) const {
    BaseNode::saveProperties(properties);
    if (m_movableName != CNameId())
        properties.addStringW("MovableName", CStringW(m_movableName.toString().c_str()));
    m_orbit.save(properties);
}

void GCircularMovableNode::loadProperties(const CProperties& properties) {
    BaseNode::loadProperties(properties);
    if (properties.indexOf("MovableName") >= 0)
        setMovableName(getPropertyNameId(properties.get("MovableName").get()));
    m_orbit.load(properties);
}

void GCircularMovableNode::cloneMembers(const BaseNode& source, SceneManager* sceneManager) {
    BaseNode::cloneMembers(source, sceneManager);
    if (!source.isKindOf(kTypeId))
        return;
    const auto& other = static_cast<const GCircularMovableNode&>(source);
    m_orbit = other.m_orbit;
    setMovableName(other.m_movableName);
}

void GCircularMovableNode::OnLoaded() {
    setMovableName(m_movableName);
}

void GCircularMovableNode::setMovableName(CNameId name) {
    m_movableName = name;
    // A child without a name is not the one meant.
    m_movable = CRefPointer<BaseNode>::share(name != CNameId() ? findChild(name, 1) : nullptr);
}

bool GCircularMovableNode::OnStart() {
    if (!m_movable)
        return false;
    m_orbit.startAtRandomAngles();
    m_movable->setPosition(m_orbit.position());
    return true;
}

bool GCircularMovableNode::OnUpdate(uint32_t elapsedMs) {
    // A child that has left is not moved about from here.
    if (m_movable && m_movable->getParent() != this)
        m_movable = nullptr;
    if (!m_movable)
        return false;
    m_orbit.advance(elapsedMs);
    m_movable->setPosition(m_orbit.position());
    return true;
}
