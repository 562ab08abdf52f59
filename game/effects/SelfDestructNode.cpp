#include "game/effects/SelfDestructNode.h"

#include "engine/core/RefPointer.h"
#include "engine/core/String.h"

bool GSelfDestructNode::OnChildrenStateFinished(CEventNodeChildrenStateFinished& event) {
    static const CNameId selfDestruct(CString("SelfDestruct"));
    if (event.getStateName() != selfDestruct)
        return false;
    const CRefPointer<BaseNode> self = CRefPointer<BaseNode>::share(this);
    setParent(nullptr);
    return true;
}
