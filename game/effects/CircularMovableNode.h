#pragma once

#include <cstdint>

#include "engine/core/NameId.h"
#include "engine/core/RefPointer.h"
#include "game/effects/EffectNode.h"
#include "game/effects/EllipseOrbit.h"

// Moves its direct child named MovableName round its origin on an ellipse orbit, from drawn
// angles; idle while it has no such child (also once the child has left it).
class GCircularMovableNode : public GEffectNode<GCircularMovableNode> {
public:
    static constexpr uint32_t kTypeId = 1131;
    static constexpr const char16_t* kTypeName = u"GCircularMovableNode";
    static constexpr uint32_t kIntervalMs = 30;

    using GEffectNode::GEffectNode;

    static const PropertyTable& classPropertyTable();
    void saveProperties(CProperties& properties) const override;
    void loadProperties(const CProperties& properties) override;
    void cloneMembers(const BaseNode& source, SceneManager* sceneManager) override;
    // Binds the child: a scene file gives the name before the children.
    void OnLoaded() override;
    bool OnUpdate(uint32_t elapsedMs) override;

    // Stores the name and binds the direct child of that name, none when there is none.
    void setMovableName(CNameId name);
    CNameId getMovableName() const { return m_movableName; }
    BaseNode* getMovable() const { return m_movable.get(); }
    const GEllipseOrbit& getOrbit() const { return m_orbit; }

protected:
    ~GCircularMovableNode() override = default;

    bool OnStart() override;

private:
    CNameId m_movableName;
    CRefPointer<BaseNode> m_movable;
    GEllipseOrbit m_orbit;
};
