#pragma once

#include <cstdint>

#include "engine/core/NameId.h"
#include "engine/core/Vector2d.h"
#include "engine/scene/NodeClass.h"
#include "game/level/StaffNode.h"

// The player's character: a staff member whose tasks come from the player's clicks. It carries
// items in two hands, the first the right ("R"), the second the left ("L"), and shows them in
// its moves and stands ("MoveDownR", "StandLR"; no suffix with both empty). It numbers the
// locations of its queued tasks with queue marks in queue order, serves at the staff's place of
// a location that has no staff member, steps back to its own place there after a service that
// nothing follows, and never walks home. It plays "HeroSteps" as it sets off and
// "HeroLocationsQueueBroken" when its queue is cleared.
class GHeroNode : public NodeClass<GHeroNode, GStaffNode> {
public:
    static constexpr uint32_t kTypeId = 1149;
    static constexpr const char16_t* kTypeName = u"GHeroNode";

    GHeroNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    void setDirection(const CVector2d& direction) override;
    void onWalkFinished() override;
    // The locations know their hero apart from their staff member.
    void setLocation(GLocationNode* location) override;
    void dropLastTask() override;
    void clearTasks() override;
    // The client's location goes to the front of the queue.
    void onClientResumed(GClientNode& client) override;
    // A client that starts wanting an item ends the hero's part of its service at once.
    void showStand(GClientNode& client) override;
    // Stepping back, the task ends on arrival instead.
    void finishServing(GClientNode& client) override;
    void onServingFinished(GClientNode& client) override;
    void startNextTask() override;
    void onTaskDone(GLocationNode* location) override;
    void playIdleAnimation() override;

    bool isSteppingBack() const { return m_steppingBack; }
    // "", "L", "R" or "LR" by what the hands hold; a hand the template lacks is empty.
    const char* handsSuffix() const;

protected:
    ~GHeroNode() override = default;

private:
    // Bit 0 the first hand holds something, bit 1 the second.
    int32_t heldHands() const;
    // After a service that no other task follows.
    bool stepsBackAfterServing() const;
    void playHeroCue(const char* name, bool exclusive) const;

    bool m_steppingBack = false;
};

// The node when it is the hero, else none.
GHeroNode* asGHeroNode(BaseNode* node);
