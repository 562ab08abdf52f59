#include "game/level/RecycleNode.h"

#include "game/level/GameLevelScene.h"

namespace {

// The component of the money that the trash can's penalties go to.
constexpr int32_t kPenaltyComponent = 4;

} // namespace

void GRecycleNode::setLevel(GGameLevelScene* level) {
    GLocationNode::setLevel(level);
    if (getConfig() == nullptr)
        return;
    setState(kStateReady);
    setChildrenState(nameOf("TrashOff"), nullptr);
}

bool GRecycleNode::takeItem(GCharacterNode*, const GResourceConfig* item) {
    GGameLevelScene* level = getLevel();
    if (level != nullptr) {
        // An item without a record costs nothing.
        const float penalty = item != nullptr ? item->recycleMoneyPenalty : 0;
        const CVector3d& at = getPosition();
        level->addMoney(-penalty, kPenaltyComponent, {at.x + 10, at.y - 50, at.z}, CStringW(u" "));
    }
    ++m_recycledCount;
    setChildrenState(CNameId(CString("Trash").append(m_recycledCount % 3)), nullptr);
    if (level != nullptr)
        level->playCue(nameOf("Trash"), false);
    return true;
}
