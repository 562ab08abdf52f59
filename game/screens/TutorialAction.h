#pragma once

#include <cstdint>

#include "engine/core/EventReceiver.h"

class CXmlTextReader;
class GGameLevelScene;
class GWishListOrders;

// One action of a tutorial hint: a trigger that waits for the player or the level (and filters
// the events the controller offers it while its hint is current), or a command that acts on the
// level when its hint is shown. The controller ends a hint at the first of its actions that is
// done, skipping that action's skip count of further hints.
class GTutorialAction : public CEventReceiver {
public:
    GTutorialAction() = default;

    // When the hint is shown; none when the tutorial runs without a level (the map).
    virtual void begin(GGameLevelScene* level) { m_level = level; }
    virtual void update(uint32_t elapsedMs) { (void)elapsedMs; }
    virtual bool isDone() const { return true; }
    // When any action of the hint has ended it.
    virtual void reset() {}
    // Reads the attributes of the "Action" element the reader stands on; an action that reads
    // elements inside its own stops after its end tag. The queues of one script take their
    // orders from the wish lists through one budget.
    virtual void load(CXmlTextReader& reader, GWishListOrders& wishListOrders);

    GGameLevelScene* getLevel() const { return m_level; }
    int32_t getSkipCount() const { return m_skipCount; }
    // A count below 0 counts as 0: the tutorial never goes back.
    void setSkipCount(int32_t count) { m_skipCount = count > 0 ? count : 0; }

protected:
    ~GTutorialAction() override = default;

    // Not owned: the level outlives the tutorial that runs in it.
    GGameLevelScene* m_level = nullptr;
    int32_t m_skipCount = 0;
};
