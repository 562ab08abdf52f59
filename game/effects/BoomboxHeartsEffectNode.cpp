#include "game/effects/BoomboxHeartsEffectNode.h"

#include <cmath>

#include "engine/core/String.h"
#include "engine/ui/RangeProperty.h"

namespace {

const CVector2d kDefaultEllipseSize(50, 50);

CVector3d orbitPosition(float degrees, float a, float b) {
    const float radians = degrees * kDegreesToRadians;
    return CVector3d(std::cos(radians) * a, std::sin(radians) * b, 0);
}

} // namespace

const PropertyTable& GBoomboxHeartsEffectNode::classPropertyTable() {
    using Node = GBoomboxHeartsEffectNode;
    static const PropertyTable table = extendPropertyTable(
        BaseNode::classPropertyTable(),
        {
            accessorProperty<&Node::getObjectTemplate, &Node::setObjectTemplate>("ObjTemplateID"),
            finiteProperty<&Node::m_ellipseSize>("EllipseSize"),
            finiteProperty<&Node::m_ellipseDeviation>("EllipseDeviation"),
            finiteProperty<&Node::m_angularVelocityRange>("AngularVelocityRange"),
            finiteProperty<&Node::m_objectsCountRange>("ObjectsCountRange"),
        });
    return table;
}

void GBoomboxHeartsEffectNode::saveProperties(CProperties& properties) const {
    BaseNode::saveProperties(properties);
    if (getObjectTemplate() != CNameId())
        properties.addStringW("ObjTemplateID", CStringW(getObjectTemplate().toString().c_str()));
    saveVector2d(properties, "EllipseSize", m_ellipseSize, kDefaultEllipseSize);
    saveFloat(properties, "EllipseDeviation", m_ellipseDeviation, 0);
    saveVector2d(properties, "AngularVelocityRange", m_angularVelocityRange, CVector2d());
    saveVector2d(properties, "ObjectsCountRange", m_objectsCountRange, CVector2d());
}

void GBoomboxHeartsEffectNode::loadProperties(const CProperties& properties) {
    BaseNode::loadProperties(properties);
    if (properties.indexOf("ObjTemplateID") >= 0)
        setObjectTemplate(getPropertyNameId(properties.get("ObjTemplateID").get()));
    loadFiniteIfPresent(properties, "EllipseSize", m_ellipseSize);
    loadFiniteIfPresent(properties, "EllipseDeviation", m_ellipseDeviation);
    loadFiniteIfPresent(properties, "AngularVelocityRange", m_angularVelocityRange);
    loadFiniteIfPresent(properties, "ObjectsCountRange", m_objectsCountRange);
}

void GBoomboxHeartsEffectNode::cloneMembers(const BaseNode& source, SceneManager* sceneManager) {
    BaseNode::cloneMembers(source, sceneManager);
    if (!source.isKindOf(kTypeId))
        return;
    const auto& other = static_cast<const GBoomboxHeartsEffectNode&>(source);
    m_ellipseSize = other.m_ellipseSize;
    m_ellipseDeviation = other.m_ellipseDeviation;
    m_angularVelocityRange = other.m_angularVelocityRange;
    m_objectsCountRange = other.m_objectsCountRange;
    setObjectTemplate(other.getObjectTemplate());
}

// The template

void GBoomboxHeartsEffectNode::setObjectTemplate(CNameId name) {
    m_template.find(name, *this);
}

bool GBoomboxHeartsEffectNode::OnSceneManagerAttached(CEventNodeAttached&) {
    m_template.find(m_template.getName(), *this);
    return false;
}

bool GBoomboxHeartsEffectNode::OnTemplatesChanged(CEventNodeTemplatesChanged& event) {
    m_template.findIn(m_template.getName(), event.getCollection());
    return false;
}

// The swarm

bool GBoomboxHeartsEffectNode::OnStart() {
    if (m_template.getNode() == nullptr)
        return false;
    releaseSwarm(m_objects, *this);
    spawnObjects(GSwarmTemplate::drawCount(m_objectsCountRange));
    return true;
}

void GBoomboxHeartsEffectNode::spawnObjects(uint32_t count) {
    if (m_template.getNode() != nullptr && count != 0)
        spawnObjects(count, float(engineRandom().nextMwc() % 360));
}

void GBoomboxHeartsEffectNode::spawnObjects(uint32_t count, float startAngle) {
    if (m_template.getNode() == nullptr || count == 0)
        return;
    count = m_template.capped(count, *this);
    const float step = 360.0f / float(count);
    const CVector2d deviation(1 - m_ellipseDeviation, 1 + m_ellipseDeviation);
    for (uint32_t i = 0; i < count; ++i) {
        OrbitingObject object;
        object.angle = startAngle + step * float(i);
        object.radiusA = drawRange(deviation) * m_ellipseSize.x;
        object.radiusB = m_ellipseSize.y * drawRange(deviation);
        object.angularVelocity = drawRange(m_angularVelocityRange);
        object.node = m_template.cloneUnder(*this);
        object.node->setPosition(orbitPosition(object.angle, m_ellipseSize.x, m_ellipseSize.y));
        m_objects.append(std::move(object));
    }
}

bool GBoomboxHeartsEffectNode::OnUpdate(uint32_t elapsedMs) {
    if (!isVisible()) {
        releaseSwarm(m_objects, *this);
        return false;
    }
    const float seconds = elapsedSeconds(elapsedMs);
    for (OrbitingObject& object : m_objects) {
        object.angle = turnedDegrees(object.angle, object.angularVelocity, seconds);
        object.node->setPosition(orbitPosition(object.angle, object.radiusA, object.radiusB));
    }
    return true;
}

CRefPointer<BaseNode> GBoomboxHeartsEffectNode::detachNearestObject(float x, CVector2d& velocity) {
    velocity = CVector2d();
    const int32_t index = nearestObjectIndex(m_objects, x);
    if (index < 0)
        return nullptr;
    OrbitingObject& object = m_objects[uint32_t(index)];
    const CVector3d at = object.node->getPosition();
    velocity = CVector2d(-at.y, at.x) * (object.angularVelocity * kDegreesToRadians * 10);
    CRefPointer<BaseNode> node = std::move(object.node);
    node->setInternal(false);
    m_objects.eraseAtUnordered(uint32_t(index));
    return node;
}
