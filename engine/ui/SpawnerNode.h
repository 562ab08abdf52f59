#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/NameId.h"
#include "engine/core/Properties.h"
#include "engine/core/RefPointer.h"
#include "engine/core/ScheduledObject.h"
#include "engine/core/String.h"
#include "engine/core/Vector2d.h"
#include "engine/scene/BaseNode.h"
#include "engine/scene/NodeClass.h"

class TemplateCollectionNode;

// Keeps creating nodes: on every tick of its scene's clock it turns the elapsed time into a
// number of objects at a drawn rate, clones one of its templates that many times as its own
// children, scatters them by drawn offsets and turns, sets the same property values on each
// and gives each a drawn "LifeTime". It never removes them: spawned objects remove themselves.
class SpawnerNode : public NodeClass<SpawnerNode, BaseNode>, public CScheduledObject {
public:
    static constexpr uint32_t kTypeId = 19;
    static constexpr const char16_t* kTypeName = u"SpawnerNode";

    SpawnerNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    static const PropertyTable& classPropertyTable();

    // Joins the scene clock when enabled, whether the spawner is visible or not.
    void collectDrawables(RenderList& list) override;
    void cloneMembers(const BaseNode& source, SceneManager* sceneManager) override;
    // Both take the templates from the collection; neither handles the event.
    bool OnSceneManagerAttached(CEventNodeAttached& event) override;
    bool OnTemplatesChanged(CEventNodeTemplatesChanged& event) override;
    void saveProperties(CProperties& properties) const override;
    // Restarts the start delay, whether the set has one or not.
    void loadProperties(const CProperties& properties) override;
    // Spawns what the elapsed time is worth at a rate drawn on each tick, at most 1000 objects;
    // always true.
    bool OnUpdate(uint32_t elapsedMs) override;

    // Template names separated by ';' (blanks around them and empty pieces are dropped); found
    // at once when the node has a scene manager.
    void setObjTemplate(const CString& text);
    // The names joined by ';'.
    CStringW getObjTemplate() const;
    // Takes the templates of the names from the collection, skipping names it lacks; none
    // changes nothing.
    void resolveTemplates(TemplateCollectionNode* collection);
    // On: the start delay is drawn anew and the node joins its scene clock. Off: the timer is
    // cleared and the node leaves its clock; spawned objects stay.
    void setEnabled(bool enabled);
    bool isEnabled() const { return m_enabled; }
    // Clones one template, drawn once for the call, count times.
    void spawn(uint32_t count);

    uint32_t getTemplateCount() const { return m_templates.size(); }
    float getTimer() const { return m_timer; }
    void setGhost(bool ghost) { m_ghost = ghost; }
    void setStartDelayRange(CVector2d range) { m_startDelayRange = range; }
    void setPerSecRange(CVector2d range) { m_perSecRange = range; }
    void setLifeTimeRange(CVector2d range) { m_lifeTimeRange = range; }
    void setXDeltaRange(CVector2d range) { m_xDeltaRange = range; }
    void setYDeltaRange(CVector2d range) { m_yDeltaRange = range; }
    void setRotationDeltaRange(CVector2d range) { m_rotationDeltaRange = range; }
    // Applied by name to every spawned node; shared, not copied.
    void setObjectsProperties(CProperties* properties);

protected:
    ~SpawnerNode() override = default;

private:
    void restartDelay();
    // The scene manager's collection, none without a manager.
    TemplateCollectionNode* sceneTemplates() const;

    CArray<CNameId> m_templateNames;
    CArray<CRefPointer<BaseNode>> m_templates;
    // Negative while the start delay runs.
    float m_timer = 0;
    bool m_enabled = true;
    bool m_ghost = true;
    CVector2d m_startDelayRange;
    CVector2d m_perSecRange{1, 1};
    CVector2d m_lifeTimeRange{1000, 1000};
    CVector2d m_xDeltaRange;
    CVector2d m_yDeltaRange;
    CVector2d m_rotationDeltaRange;
    CRefPointer<CProperties> m_objectsProperties;
};
