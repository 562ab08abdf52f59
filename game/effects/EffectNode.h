#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/core/Properties.h"
#include "engine/core/RefPointer.h"
#include "engine/core/ScheduledObject.h"
#include "engine/core/Vector2d.h"
#include "engine/core/Vector3d.h"
#include "engine/scene/BaseNode.h"
#include "engine/scene/NodeClass.h"
#include "engine/scene/PropertyBindings.h"
#include "game/effects/EffectMath.h"

class CSoundPlayer;

// The shape of the effect nodes that move by themselves (balloons, bursts, birds, map traffic
// and the rest): written once here, so that each class keeps only what differs.
//
//     class GBaloonNode : public GEffectNode<GBaloonNode> {
//     public:
//         static constexpr uint32_t kTypeId = 1137;
//         static constexpr const char16_t* kTypeName = u"GBaloonNode";
//         static constexpr uint32_t kIntervalMs = 30;
//         using GEffectNode::GEffectNode;
//         bool OnUpdate(uint32_t elapsedMs) override;   // the tick
//     protected:
//         bool OnStart() override;                      // the start values
//     };
//
// - Identity, cloning and the property table come from NodeClass (kTypeId, kTypeName and the
//   class's classPropertyTable); the second template argument is the node class built on
//   (BaseNode by default, GPathMovableNode for the path movers).
// - Lazy start: a node runs on the clock of the scene that owns it from the first drawing pass
//   it takes part in (drawing visits every child, visible or not). Then OnStart draws the
//   node's random start values and tells whether the node can run; if so it joins the scene's
//   clock and OnUpdate ticks it every kIntervalMs. A node whose update has returned false
//   starts again, with new values, at the next drawing pass while it is still in a drawn tree.
//   A class that must start before its children are gathered overrides collectDrawables and
//   calls startOnSceneClock first.
// - A tick that ends the node's life calls removeSelf, which takes the node out of its parent
//   (destroying it when nothing else holds it) and answers false, so the scheduler drops it.
// - fadeOut lowers the tint's alpha over the last milliseconds of a life.
// - Properties: ranges are CVector2d (x and y the two ends, either may be the larger), saved
//   only when they differ from their defaults (saveVector2d, saveInt, saveFloat); the bindings
//   below turn what a scene file gives that is not a finite number into 0, so no effect puts
//   NaN or infinite positions into a scene.
// - The destructor leaves the scheduler (CScheduledObject's).
template <typename Derived, typename Parent = BaseNode>
class GEffectNode : public NodeClass<Derived, Parent>, public CScheduledObject {
public:
    GEffectNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager)
        : NodeClass<Derived, Parent>(key, parent, sceneManager) {
        setInterval(Derived::kIntervalMs);
    }

    void collectDrawables(RenderList& list) override {
        Parent::collectDrawables(list);
        startOnSceneClock();
    }

protected:
    ~GEffectNode() override = default;

    // The start values of a run; false keeps the node idle (it is asked again at the next
    // drawing pass).
    virtual bool OnStart() { return true; }

    // Joins the owning scene's clock when idle and OnStart agrees; a node without a scene
    // stays idle.
    void startOnSceneClock() {
        if (getScheduler() != nullptr)
            return;
        IScheduler* clock = this->getSceneClock();
        if (clock != nullptr && OnStart())
            setScheduler(clock);
    }

    // Leaves the parent; nothing may touch the node after the tick that called this. False,
    // for the tick to answer.
    bool removeSelf() {
        const CRefPointer<BaseNode> self = CRefPointer<BaseNode>::share(this);
        this->setParent(nullptr);
        return false;
    }
};

// The sound player of the engine the node's scene manager belongs to; none without one.
CSoundPlayer* soundPlayerOf(const BaseNode& node);

// The tint's alpha byte becomes the given one; the colour channels stay.
void setTintAlpha(BaseNode& node, uint32_t alpha);

// While the remaining life is below the fade time (both ms, the fade time above 0), the tint's
// alpha falls with it, rounded; the colour channels stay.
void fadeOut(BaseNode& node, int32_t remainingMs, int32_t fadeMs);

// Property values of scene files that are not finite numbers count as 0.
template <typename T>
struct FinitePropertyTraits {
    static T read(const CPropertyData* value) { return finite(PropertyTraits<T>::read(value)); }
    static CRefPointer<CPropertyData> make(T value) { return PropertyTraits<T>::make(value); }
    static float finite(float value) { return finiteOrZero(value); }
    static CVector2d finite(CVector2d value) {
        return {finiteOrZero(value.x), finiteOrZero(value.y)};
    }
    static CVector3d finite(CVector3d value) {
        return {finiteOrZero(value.x), finiteOrZero(value.y), finiteOrZero(value.z)};
    }
};

// A table entry of a float or range field, whose setter keeps the value finite.
template <auto Field>
PropertyTableEntry finiteProperty(const char* name) {
    using Value = typename PropertyFieldOf<decltype(Field)>::Value;
    return fieldProperty<Field, FinitePropertyTraits<Value>>(name);
}

// loadPropertyIfPresent for such a field.
template <typename T, size_t N>
bool loadFiniteIfPresent(const CProperties& properties, const char (&name)[N], T& field) {
    if (!loadPropertyIfPresent(properties, name, field))
        return false;
    field = FinitePropertyTraits<T>::finite(field);
    return true;
}

inline void saveInt(CProperties& properties, const char* key, int32_t value, int32_t defaultValue) {
    if (value != defaultValue)
        properties.addInt(key, value);
}

inline void saveFloat(CProperties& properties, const char* key, float value, float defaultValue) {
    if (value != defaultValue)
        properties.addFloat(key, value);
}
