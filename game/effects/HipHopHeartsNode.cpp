#include "game/effects/HipHopHeartsNode.h"

#include <cmath>

#include "engine/core/String.h"
#include "engine/ui/RangeProperty.h"

namespace {

const CVector2d kDefaultEllipse1Size(50, 50);

CVector2d deviationRange(float deviation) {
    return CVector2d(1 - deviation, 1 + deviation);
}

} // namespace

const PropertyTable& GHipHopHeartsNode::classPropertyTable() {
    using Node = GHipHopHeartsNode;
    static const PropertyTable table = extendPropertyTable(
        BaseNode::classPropertyTable(),
        {
            accessorProperty<&Node::getObjectTemplate, &Node::setObjectTemplate>("ObjTemplateID"),
            finiteProperty<&Node::m_ellipse1Size>("Ellipse1Size"),
            finiteProperty<&Node::m_ellipse2Size>("Ellipse2Size"),
            finiteProperty<&Node::m_ellipse1Deviation>("Ellipse1Deviation"),
            finiteProperty<&Node::m_ellipse2Deviation>("Ellipse2Deviation"),
            finiteProperty<&Node::m_angularVelocity1Range>("AngularVelocity1Range"),
            finiteProperty<&Node::m_angularVelocity2Range>("AngularVelocity2Range"),
            finiteProperty<&Node::m_objectsCountRange>("ObjectsCountRange"),
            fieldProperty<&Node::m_alignByTangent>("AlignByTangent"),
        });
    return table;
}

void GHipHopHeartsNode::saveProperties(CProperties& properties) const {
    BaseNode::saveProperties(properties);
    if (getObjectTemplate() != CNameId())
        properties.addStringW("ObjTemplateID", CStringW(getObjectTemplate().toString().c_str()));
    saveVector2d(properties, "Ellipse1Size", m_ellipse1Size, kDefaultEllipse1Size);
    saveVector2d(properties, "Ellipse2Size", m_ellipse2Size, CVector2d());
    saveFloat(properties, "Ellipse1Deviation", m_ellipse1Deviation, 0);
    saveFloat(properties, "Ellipse2Deviation", m_ellipse2Deviation, 0);
    saveVector2d(properties, "AngularVelocity1Range", m_angularVelocity1Range, CVector2d());
    saveVector2d(properties, "AngularVelocity2Range", m_angularVelocity2Range, CVector2d());
    saveVector2d(properties, "ObjectsCountRange", m_objectsCountRange, CVector2d());
    // Saved under another name than its table's, and read back under that one.
    if (m_alignByTangent)
        properties.addBool("IsAlignedByTangent", true);
}

void GHipHopHeartsNode::loadProperties(const CProperties& properties) {
    BaseNode::loadProperties(properties);
    if (properties.indexOf("ObjTemplateID") >= 0)
        setObjectTemplate(getPropertyNameId(properties.get("ObjTemplateID").get()));
    loadFiniteIfPresent(properties, "Ellipse1Size", m_ellipse1Size);
    loadFiniteIfPresent(properties, "Ellipse2Size", m_ellipse2Size);
    loadFiniteIfPresent(properties, "Ellipse1Deviation", m_ellipse1Deviation);
    loadFiniteIfPresent(properties, "Ellipse2Deviation", m_ellipse2Deviation);
    loadFiniteIfPresent(properties, "AngularVelocity1Range", m_angularVelocity1Range);
    loadFiniteIfPresent(properties, "AngularVelocity2Range", m_angularVelocity2Range);
    loadFiniteIfPresent(properties, "ObjectsCountRange", m_objectsCountRange);
    loadPropertyIfPresent(properties, "IsAlignedByTangent", m_alignByTangent);
}

void GHipHopHeartsNode::cloneMembers(const BaseNode& source, SceneManager* sceneManager) {
    BaseNode::cloneMembers(source, sceneManager);
    if (!source.isKindOf(kTypeId))
        return;
    const auto& other = static_cast<const GHipHopHeartsNode&>(source);
    m_ellipse1Size = other.m_ellipse1Size;
    m_ellipse2Size = other.m_ellipse2Size;
    m_ellipse1Deviation = other.m_ellipse1Deviation;
    m_ellipse2Deviation = other.m_ellipse2Deviation;
    m_angularVelocity1Range = other.m_angularVelocity1Range;
    m_angularVelocity2Range = other.m_angularVelocity2Range;
    m_objectsCountRange = other.m_objectsCountRange;
    m_alignByTangent = other.m_alignByTangent;
    setObjectTemplate(other.getObjectTemplate());
}

// The template

void GHipHopHeartsNode::setObjectTemplate(CNameId name) {
    m_template.find(name, *this);
}

bool GHipHopHeartsNode::OnSceneManagerAttached(CEventNodeAttached&) {
    m_template.find(m_template.getName(), *this);
    return false;
}

bool GHipHopHeartsNode::OnTemplatesChanged(CEventNodeTemplatesChanged& event) {
    m_template.findIn(m_template.getName(), event.getCollection());
    return false;
}

// The swarm

bool GHipHopHeartsNode::OnStart() {
    if (m_template.getNode() == nullptr)
        return false;
    releaseSwarm(m_objects, *this);
    spawnObjects(GSwarmTemplate::drawCount(m_objectsCountRange));
    return true;
}

void GHipHopHeartsNode::spawnObjects(uint32_t count) {
    if (m_template.getNode() != nullptr && count != 0)
        spawnObjects(count, float(engineRandom().nextMwc() % 360));
}

void GHipHopHeartsNode::spawnObjects(uint32_t count, float startAngle) {
    if (m_template.getNode() == nullptr || count == 0)
        return;
    count = m_template.capped(count, *this);
    const float step = float(360 / count);
    for (uint32_t i = 0; i < count; ++i) {
        DoubleOrbitingObject object;
        object.angle1 = startAngle + step * float(i);
        object.angle2 = float(engineRandom().nextMwc() % 360);
        object.radiusA1 = m_ellipse1Size.x * drawRange(deviationRange(m_ellipse1Deviation));
        object.radiusB1 = drawRange(deviationRange(m_ellipse1Deviation)) * m_ellipse1Size.y;
        object.radiusA2 = m_ellipse2Size.x * drawRange(deviationRange(m_ellipse2Deviation));
        object.radiusB2 = drawRange(deviationRange(m_ellipse2Deviation)) * m_ellipse2Size.y;
        const float sign = randomSign();
        object.angularVelocity1 = drawRange(m_angularVelocity1Range);
        object.angularVelocity2 = drawRange(m_angularVelocity2Range) * sign;
        object.node = m_template.cloneUnder(*this);
        place(object, m_ellipse1Size, m_ellipse2Size);
        m_objects.append(std::move(object));
    }
}

// At its angles on ellipses of those radii, turned along the first one when asked.
void GHipHopHeartsNode::place(const DoubleOrbitingObject& object, CVector2d size1,
                              CVector2d size2) const {
    const float r1 = object.angle1 * kDegreesToRadians;
    const float r2 = object.angle2 * kDegreesToRadians;
    object.node->setPosition(CVector3d(std::cos(r2) * size2.x + std::cos(r1) * size1.x,
                                       std::sin(r2) * size2.y + std::sin(r1) * size1.y, 0));
    if (m_alignByTangent)
        object.node->setRotation(CVector3d(0, 0, object.angle1 + 90));
}

bool GHipHopHeartsNode::OnUpdate(uint32_t elapsedMs) {
    if (!isVisible()) {
        releaseSwarm(m_objects, *this);
        return false;
    }
    const float seconds = elapsedSeconds(elapsedMs);
    for (DoubleOrbitingObject& object : m_objects) {
        object.angle1 = turnedDegrees(object.angle1, object.angularVelocity1, seconds);
        object.angle2 = turnedDegrees(object.angle2, object.angularVelocity2, seconds);
        place(object, CVector2d(object.radiusA1, object.radiusB1),
              CVector2d(object.radiusA2, object.radiusB2));
    }
    return true;
}

CRefPointer<BaseNode> GHipHopHeartsNode::detachNearestObject(float x, CVector2d& velocity) {
    velocity = CVector2d();
    const int32_t index = nearestObjectIndex(m_objects, x);
    if (index < 0)
        return nullptr;
    DoubleOrbitingObject& object = m_objects[uint32_t(index)];
    const CVector3d at = object.node->getPosition();
    velocity = CVector2d(-at.y, at.x) * (object.angularVelocity1 * kDegreesToRadians * 10);
    const float angle1 = object.angle1;
    CRefPointer<BaseNode> node = std::move(object.node);
    node->setInternal(false);
    m_objects.eraseAtUnordered(uint32_t(index));
    spawnObjects(1, angle1);
    return node;
}
