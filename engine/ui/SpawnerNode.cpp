#include "engine/ui/SpawnerNode.h"

#include <cmath>

#include "engine/core/PropertyDataProperties.h"
#include "engine/core/PropertyDataScalars.h"
#include "engine/core/PropertyDataStrings.h"
#include "engine/core/StringFunctions.h"
#include "engine/scene/PropertyBindings.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/TemplateCollectionNode.h"
#include "engine/ui/RangeDraw.h"
#include "engine/ui/RangeProperty.h"

namespace {

constexpr uint32_t kIntervalMs = 30;
// A rate beyond any use would make millions of nodes in one tick; the surplus is dropped, as an
// emitter drops the particles its array has no room for.
constexpr uint32_t kMaxObjectsPerTick = 1000;
const CVector2d kDefaultPerSecRange(1, 1);
const CVector2d kDefaultLifeTimeRange(1000, 1000);

// Truncated toward zero; what no int can hold is held at the int's ends, and no number is 0.
int32_t wholeMilliseconds(float ms) {
    if (!(ms > -2147483648.0f))
        return ms < 0 ? INT32_MIN : 0;
    return ms < 2147483648.0f ? int32_t(ms) : INT32_MAX;
}

void setPropertyByName(BaseNode& node, const CString& name,
                       const CRefPointer<CPropertyData>& value) {
    node.setPropertyByIndex(node.findProperty(name), value);
}

} // namespace

SpawnerNode::SpawnerNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {
    setInterval(kIntervalMs);
}

const PropertyTable& SpawnerNode::classPropertyTable() {
    static const PropertyTable table = extendPropertyTable(
        BaseNode::classPropertyTable(),
        {
            {CString("ObjTemplate"),
             [](CReflectedObject& object, const CRefPointer<CPropertyData>& value) {
                 static_cast<SpawnerNode&>(object).setObjTemplate(getPropertyText(value));
             },
             [](CRefPointer<CPropertyData>& out, const CReflectedObject& object) {
                 out =
                     makeStringWProperty(static_cast<const SpawnerNode&>(object).getObjTemplate());
             }},
            accessorProperty<&SpawnerNode::isEnabled, &SpawnerNode::setEnabled>("Enabled"),
            fieldProperty<&SpawnerNode::m_ghost>("IsSpawnedObjectGhost"),
            fieldProperty<&SpawnerNode::m_startDelayRange>("ObjectsSpawnStartDelayRange"),
            fieldProperty<&SpawnerNode::m_perSecRange>("ObjectsPerSecRange"),
            fieldProperty<&SpawnerNode::m_lifeTimeRange>("ObjectsLifeTimeRange"),
            fieldProperty<&SpawnerNode::m_xDeltaRange>("ObjectsXDeltaRange"),
            fieldProperty<&SpawnerNode::m_yDeltaRange>("ObjectsYDeltaRange"),
            fieldProperty<&SpawnerNode::m_rotationDeltaRange>("ObjectsRotationDeltaRange"),
        });
    return table;
}

// Templates

void SpawnerNode::setObjTemplate(const CString& text) {
    m_templateNames = splitNameIds(text.c_str(), true);
    resolveTemplates(sceneTemplates());
}

CStringW SpawnerNode::getObjTemplate() const {
    return joinNameIds(m_templateNames);
}

void SpawnerNode::resolveTemplates(TemplateCollectionNode* collection) {
    if (collection == nullptr)
        return;
    m_templates.clear();
    for (const CNameId name : m_templateNames) {
        if (BaseNode* found = collection->getTemplate(name))
            m_templates.append(CRefPointer<BaseNode>::share(found));
    }
}

TemplateCollectionNode* SpawnerNode::sceneTemplates() const {
    return getSceneManager() != nullptr ? getSceneManager()->getTemplateCollection() : nullptr;
}

bool SpawnerNode::OnSceneManagerAttached(CEventNodeAttached& event) {
    if (SceneManager* manager = event.getSceneManager())
        resolveTemplates(manager->getTemplateCollection());
    return false;
}

bool SpawnerNode::OnTemplatesChanged(CEventNodeTemplatesChanged& event) {
    resolveTemplates(event.getCollection());
    return false;
}

// Spawning

void SpawnerNode::setEnabled(bool enabled) {
    m_enabled = enabled;
    if (enabled) {
        restartDelay();
        setScheduler(getSceneClock());
    } else {
        m_timer = 0;
        setScheduler(nullptr);
    }
}

void SpawnerNode::restartDelay() {
    m_timer = -drawFromRange(engineRandom(), m_startDelayRange);
}

void SpawnerNode::collectDrawables(RenderList& list) {
    BaseNode::collectDrawables(list);
    if (m_enabled && getScheduler() == nullptr)
        setScheduler(getSceneClock());
}

bool SpawnerNode::OnUpdate(uint32_t elapsedMs) {
    m_timer += float(elapsedMs);
    if (!(m_timer > 0.0f))
        return true;
    const float interval = 1000.0f / drawFromRange(engineRandom(), m_perSecRange);
    // A rate of 0 or less, or none at all, spawns nothing.
    if (!(interval > 0.0f) || !std::isfinite(interval))
        return true;
    const float whole = std::trunc(m_timer / interval);
    if (!(whole >= 1.0f))
        return true;
    m_timer -= whole * interval;
    spawn(whole < float(kMaxObjectsPerTick) ? uint32_t(whole) : kMaxObjectsPerTick);
    return true;
}

void SpawnerNode::spawn(uint32_t count) {
    if (m_templates.size() == 0)
        return;
    CRandom& random = engineRandom();
    // Held for the call: a spawned node's setters may reach back into the spawner.
    const CRefPointer<BaseNode> source = m_templates[random.nextMwc() % m_templates.size()];
    for (uint32_t i = 0; i < count; ++i) {
        const CRefPointer<BaseNode> node = source->clone(this, nullptr);
        const float x = drawFromRange(random, m_xDeltaRange);
        const float y = drawFromRange(random, m_yDeltaRange);
        node->setPosition(CVector3d(x, y, node->getPosition().z));
        node->setRotation(CVector3d(0, 0, drawFromRange(random, m_rotationDeltaRange)));
        // Not written when the scene is saved; still drawn as a child.
        if (m_ghost)
            node->setInternal(true);
        node->setVisible(true);
        for (int32_t p = 0; m_objectsProperties && p < m_objectsProperties->getCount(); ++p)
            setPropertyByName(*node, m_objectsProperties->getNameAt(p),
                              m_objectsProperties->getValueAt(p));
        const int32_t lifetime = wholeMilliseconds(drawFromRange(random, m_lifeTimeRange));
        setPropertyByName(*node, "LifeTime", makeIntProperty(lifetime));
    }
}

// Copying and properties

void SpawnerNode::setObjectsProperties(CProperties* properties) {
    m_objectsProperties = CRefPointer<CProperties>::share(properties);
}

void SpawnerNode::cloneMembers(const BaseNode& source, SceneManager* sceneManager) {
    BaseNode::cloneMembers(source, sceneManager);
    if (!source.isKindOf(kTypeId))
        return;
    const auto& other = static_cast<const SpawnerNode&>(source);
    m_ghost = other.m_ghost;
    m_startDelayRange = other.m_startDelayRange;
    restartDelay();
    m_perSecRange = other.m_perSecRange;
    m_lifeTimeRange = other.m_lifeTimeRange;
    m_xDeltaRange = other.m_xDeltaRange;
    m_yDeltaRange = other.m_yDeltaRange;
    m_rotationDeltaRange = other.m_rotationDeltaRange;
    m_templateNames = other.m_templateNames;
    resolveTemplates(sceneTemplates());
    setEnabled(other.m_enabled);
    m_objectsProperties = other.m_objectsProperties;
}

void SpawnerNode::saveProperties(CProperties& properties) const {
    BaseNode::saveProperties(properties);
    if (m_templateNames.size() != 0)
        properties.addStringW("ObjTemplate", getObjTemplate());
    if (!m_enabled)
        properties.addBool("Enabled", false);
    if (!m_ghost)
        properties.addBool("IsSpawnedObjectGhost", false);
    saveVector2d(properties, "ObjectsSpawnStartDelayRange", m_startDelayRange, CVector2d());
    saveVector2d(properties, "ObjectsPerSecRange", m_perSecRange, kDefaultPerSecRange);
    saveVector2d(properties, "ObjectsLifeTimeRange", m_lifeTimeRange, kDefaultLifeTimeRange);
    saveVector2d(properties, "ObjectsXDeltaRange", m_xDeltaRange, CVector2d());
    saveVector2d(properties, "ObjectsYDeltaRange", m_yDeltaRange, CVector2d());
    saveVector2d(properties, "ObjectsRotationDeltaRange", m_rotationDeltaRange, CVector2d());
    if (m_objectsProperties)
        properties.add("ObjectsProperties", CRefPointer<CPropertyData>(
                                                new CPropertyDataProperties(m_objectsProperties)));
}

void SpawnerNode::loadProperties(const CProperties& properties) {
    BaseNode::loadProperties(properties);
    loadPropertyIfPresent(properties, "ObjectsSpawnStartDelayRange", m_startDelayRange);
    restartDelay();
    loadPropertyIfPresent(properties, "ObjectsPerSecRange", m_perSecRange);
    loadPropertyIfPresent(properties, "ObjectsLifeTimeRange", m_lifeTimeRange);
    loadPropertyIfPresent(properties, "ObjectsXDeltaRange", m_xDeltaRange);
    loadPropertyIfPresent(properties, "ObjectsYDeltaRange", m_yDeltaRange);
    loadPropertyIfPresent(properties, "ObjectsRotationDeltaRange", m_rotationDeltaRange);
    const int32_t set = properties.indexOf("ObjectsProperties");
    if (set >= 0) {
        const auto* value =
            castPropertyData<CPropertyDataProperties>(properties.getValueAt(set).get());
        setObjectsProperties(value != nullptr ? value->getProperties() : nullptr);
    }
    if (properties.indexOf("ObjTemplate") >= 0)
        setObjTemplate(getPropertyText(properties.get("ObjTemplate")));
    bool enabled = false;
    if (loadPropertyIfPresent(properties, "Enabled", enabled))
        setEnabled(enabled);
    loadPropertyIfPresent(properties, "IsSpawnedObjectGhost", m_ghost);
}
