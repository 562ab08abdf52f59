#pragma once

#include <cstdint>

#include "engine/core/NameId.h"
#include "engine/core/RefPointer.h"
#include "game/effects/EffectNode.h"
#include "game/effects/EllipseOrbit.h"

// A bird flying loops round the node's origin on an ellipse orbit. The bird is a clone of the
// "Body" of the template named BirdTemplateID, kept as an internal child (not listed, not
// saved, not cloned); it plays the direction state of the second ellipse's heading ("Right",
// "RightUp" ...) and, every 4 to 7 s, the same name followed by "_Flap". A flap whose
// direction changes goes on in the new direction's flap. Each start (the first drawing pass,
// and the one after the template name, the scene manager or the template collection changed)
// makes a fresh bird at drawn angles.
class GCircularBirdNode : public GEffectNode<GCircularBirdNode> {
public:
    static constexpr uint32_t kTypeId = 1130;
    static constexpr const char16_t* kTypeName = u"GCircularBirdNode";
    static constexpr uint32_t kIntervalMs = 30;

    using GEffectNode::GEffectNode;

    static const PropertyTable& classPropertyTable();
    void saveProperties(CProperties& properties) const override;
    void loadProperties(const CProperties& properties) override;
    void cloneMembers(const BaseNode& source, SceneManager* sceneManager) override;
    // Both find the template again; neither handles the event.
    bool OnSceneManagerAttached(CEventNodeAttached& event) override;
    bool OnTemplatesChanged(CEventNodeTemplatesChanged& event) override;
    void collectDrawables(RenderList& list) override;
    void updateAbsoluteTransform() override;
    void updateAbsoluteColor() override;
    bool OnUpdate(uint32_t elapsedMs) override;

    // Finds the template's "Body" in the scene manager's collection (none when either is
    // missing) and makes the next drawing pass start a fresh bird.
    void setBirdTemplate(CNameId name);
    CNameId getBirdTemplate() const { return m_birdTemplateName; }
    BaseNode* getBird() const { return m_bird; }
    CNameId getDirection() const { return m_direction; }
    const GEllipseOrbit& getOrbit() const { return m_orbit; }

protected:
    ~GCircularBirdNode() override;

    // Makes the bird; without a template body the node stays idle.
    bool OnStart() override;

private:
    void releaseBird();
    void turnBird(CNameId direction);

    CNameId m_birdTemplateName;
    CRefPointer<BaseNode> m_templateBody;
    // Held by its attachment to this node, released by releaseBird.
    BaseNode* m_bird = nullptr;
    uint32_t m_flapTimer = 0;
    CNameId m_direction;
    GEllipseOrbit m_orbit;
};
