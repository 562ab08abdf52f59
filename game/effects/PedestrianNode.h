#pragma once

#include <cstdint>

#include "engine/core/RefPointer.h"
#include "game/effects/EffectNode.h"
#include "game/effects/PathMovableNode.h"

// A figure walking a path of the map: it walks for 10 to 30 s, pauses for 4 to 6 s while its
// "Body" looks round every 1 to 3 s (one of the eight "…Stand" states), walks on facing its
// way again, and so on; the tick after its path has ended it stops its body and leaves its
// parent.
class GPedestrianNode : public GEffectNode<GPedestrianNode, GPathMovableNode> {
public:
    static constexpr uint32_t kTypeId = 1135;
    static constexpr const char16_t* kTypeName = u"GPedestrianNode";
    static constexpr uint32_t kIntervalMs = 30;

    enum Mode : int32_t { NotStarted = 0, Walking = 1, Standing = 2 };

    using GEffectNode::GEffectNode;

    // Binds the direct child "Body", when there is one.
    void OnLoaded() override;
    bool OnUpdate(uint32_t elapsedMs) override;

    Mode getMode() const { return m_mode; }
    int32_t getModeTimer() const { return m_modeTimer; }

protected:
    ~GPedestrianNode() override = default;

    // Walking, for a drawn time.
    bool OnStart() override;

private:
    void walk(uint32_t elapsedMs);
    void stand(uint32_t elapsedMs);

    CRefPointer<BaseNode> m_body;
    Mode m_mode = NotStarted;
    int32_t m_modeTimer = 0;
    int32_t m_turnTimer = 0;
};
