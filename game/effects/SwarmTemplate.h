#pragma once

#include <cmath>
#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/NameId.h"
#include "engine/core/RefPointer.h"
#include "engine/core/Vector2d.h"
#include "engine/scene/BaseNode.h"

class TemplateCollectionNode;

// What the orbiting hearts share: the template their objects are cloned from, found by name in
// a template collection, and the size of a swarm. Each object record holds its node by
// reference (a member "node").
class GSwarmTemplate {
public:
    // A range in a scene file could ask for millions of clones.
    static constexpr uint32_t kMaxObjects = 256;

    // Stores the name and finds it in the collection of the owner's scene manager; none when
    // either is missing.
    void find(CNameId name, const BaseNode& owner);
    // Stores the name and finds it in that collection (none for none).
    void findIn(CNameId name, const TemplateCollectionNode* collection);
    CNameId getName() const { return m_name; }
    BaseNode* getNode() const { return m_node.get(); }

    // An object: a visible clone of the template under the owner, not written with the scene.
    CRefPointer<BaseNode> cloneUnder(BaseNode& owner) const;

    // A count drawn between the range's ends (truncated, either may be the larger, both
    // included); a negative one is 0.
    static uint32_t drawCount(CVector2d range);
    // The count held at kMaxObjects; the first time a node is held back it says so in the log.
    uint32_t capped(uint32_t count, const BaseNode& owner);

private:
    CNameId m_name;
    CRefPointer<BaseNode> m_node;
    bool m_warned = false;
};

// Takes every object out of the owner and forgets them.
template <typename Object>
void releaseSwarm(CArray<Object>& objects, const BaseNode& owner) {
    const CArray<Object> gone = std::move(objects);
    objects.clear();
    for (const Object& object : gone) {
        if (object.node->getParent() == &owner)
            object.node->setParent(nullptr);
    }
}

// The index of the object whose x lies nearest to x, the lower one on a tie; -1 for none.
template <typename Object>
int32_t nearestObjectIndex(const CArray<Object>& objects, float x) {
    int32_t nearest = -1;
    float nearestDistance = 0;
    for (uint32_t i = 0; i < objects.size(); ++i) {
        const float distance = std::fabs(objects[i].node->getPosition().x - x);
        if (nearest < 0 || distance < nearestDistance) {
            nearest = int32_t(i);
            nearestDistance = distance;
        }
    }
    return nearest;
}
