#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/NameId.h"
#include "engine/core/RefPointer.h"
#include "engine/core/Vector2d.h"
#include "game/effects/EffectNode.h"
#include "game/effects/SwarmTemplate.h"

// Hearts circling a boombox: a swarm of clones of the template ObjTemplateID, each on its own
// ellipse round the node's origin (EllipseSize, each radius varied by up to EllipseDeviation
// of itself) at a drawn angular velocity. It starts at the first drawing pass with a known
// template; hiding the node takes the swarm away at its next tick. The level takes single
// hearts out of it to fly them to a client; the swarm shrinks by each.
class GBoomboxHeartsEffectNode : public GEffectNode<GBoomboxHeartsEffectNode> {
public:
    static constexpr uint32_t kTypeId = 1166;
    static constexpr const char16_t* kTypeName = u"GBoomboxHeartsEffectNode";
    static constexpr uint32_t kIntervalMs = 30;

    struct OrbitingObject {
        CRefPointer<BaseNode> node;
        float radiusA = 0;
        float radiusB = 0;
        // Degrees, and degrees per second.
        float angle = 0;
        float angularVelocity = 0;
    };

    using GEffectNode::GEffectNode;

    static const PropertyTable& classPropertyTable();
    void saveProperties(CProperties& properties) const override;
    void loadProperties(const CProperties& properties) override;
    void cloneMembers(const BaseNode& source, SceneManager* sceneManager) override;
    // Both find the template again, the second in the collection the event brings; neither
    // handles the event.
    bool OnSceneManagerAttached(CEventNodeAttached& event) override;
    bool OnTemplatesChanged(CEventNodeTemplatesChanged& event) override;
    bool OnUpdate(uint32_t elapsedMs) override;

    // Objects spawned from now on are clones of the template of that name.
    void setObjectTemplate(CNameId name);
    CNameId getObjectTemplate() const { return m_template.getName(); }
    // Adds count objects evenly round the ellipse from the start angle (degrees; drawn when not
    // given); nothing without a template.
    void spawnObjects(uint32_t count);
    void spawnObjects(uint32_t count, float startAngle);
    // Takes the object nearest to x out of the swarm and hands it over as a plain node (no
    // longer internal, so that a node it is moved to lists it), still under this node; none
    // from an empty swarm. The velocity is the heart's along its orbit, times 10; (0, 0) when
    // there is none.
    CRefPointer<BaseNode> detachNearestObject(float x, CVector2d& velocity);

    const CArray<OrbitingObject>& getObjects() const { return m_objects; }

protected:
    ~GBoomboxHeartsEffectNode() override = default;

    // A new swarm; idle without a template.
    bool OnStart() override;

private:
    GSwarmTemplate m_template;
    CArray<OrbitingObject> m_objects;
    CVector2d m_ellipseSize{50, 50};
    float m_ellipseDeviation = 0;
    CVector2d m_angularVelocityRange;
    CVector2d m_objectsCountRange;
};
