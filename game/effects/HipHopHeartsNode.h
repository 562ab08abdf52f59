#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/NameId.h"
#include "engine/core/RefPointer.h"
#include "engine/core/Vector2d.h"
#include "game/effects/EffectNode.h"
#include "game/effects/SwarmTemplate.h"

// Hearts round a hip-hop dancer: a swarm of clones of the template ObjTemplateID, each on the
// sum of two ellipses (the second run either way round), evenly spaced in whole degrees on the
// first, optionally turned along it. It starts at the first drawing pass with a known
// template; hiding the node takes the swarm away at its next tick. A heart taken out of it is
// replaced at once by a new one at its place.
class GHipHopHeartsNode : public GEffectNode<GHipHopHeartsNode> {
public:
    static constexpr uint32_t kTypeId = 1162;
    static constexpr const char16_t* kTypeName = u"GHipHopHeartsNode";
    static constexpr uint32_t kIntervalMs = 30;

    struct DoubleOrbitingObject {
        CRefPointer<BaseNode> node;
        float radiusA1 = 0;
        float radiusB1 = 0;
        float radiusA2 = 0;
        float radiusB2 = 0;
        // Degrees, and degrees per second.
        float angle1 = 0;
        float angle2 = 0;
        float angularVelocity1 = 0;
        float angularVelocity2 = 0;
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
    // Adds count objects 360 / count whole degrees apart on the first ellipse from the start
    // angle (degrees; drawn when not given); nothing without a template.
    void spawnObjects(uint32_t count);
    void spawnObjects(uint32_t count, float startAngle);
    // Takes the object nearest to x out of the swarm and hands it over as a plain node (no
    // longer internal, so that a node it is moved to lists it), still under this node, and
    // puts a new one at its angle; none from an empty swarm. The velocity is the heart's along
    // its first ellipse, times 10; (0, 0) when there is none.
    CRefPointer<BaseNode> detachNearestObject(float x, CVector2d& velocity);

    const CArray<DoubleOrbitingObject>& getObjects() const { return m_objects; }

protected:
    ~GHipHopHeartsNode() override = default;

    // A new swarm; idle without a template.
    bool OnStart() override;

private:
    void place(const DoubleOrbitingObject& object, CVector2d size1, CVector2d size2) const;

    GSwarmTemplate m_template;
    CArray<DoubleOrbitingObject> m_objects;
    CVector2d m_ellipse1Size{50, 50};
    CVector2d m_ellipse2Size;
    float m_ellipse1Deviation = 0;
    float m_ellipse2Deviation = 0;
    CVector2d m_angularVelocity1Range;
    CVector2d m_angularVelocity2Range;
    CVector2d m_objectsCountRange;
    bool m_alignByTangent = false;
};
