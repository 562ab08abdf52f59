#include "game/effects/PedestrianNode.h"

#include "engine/core/NameId.h"
#include "engine/core/String.h"

namespace {

const CVector2d kWalkTimeRange(10000, 30000);
const CVector2d kStandTimeRange(4000, 6000);
const CVector2d kTurnTimeRange(1000, 3000);

CNameId standName(uint32_t index) {
    static const CNameId names[8] = {
        CNameId(CString("RightStand")), CNameId(CString("RightUpStand")),
        CNameId(CString("UpStand")),    CNameId(CString("LeftUpStand")),
        CNameId(CString("LeftStand")),  CNameId(CString("LeftDownStand")),
        CNameId(CString("DownStand")),  CNameId(CString("RightDownStand")),
    };
    return names[index & 7];
}

} // namespace

void GPedestrianNode::OnLoaded() {
    m_body = CRefPointer<BaseNode>::share(findChild(CNameId(CString("Body")), 1));
}

bool GPedestrianNode::OnStart() {
    m_mode = Walking;
    m_modeTimer = truncateToInt(drawRange(kWalkTimeRange));
    return true;
}

bool GPedestrianNode::OnUpdate(uint32_t elapsedMs) {
    m_modeTimer = countDown(m_modeTimer, elapsedMs);
    if (m_mode == Walking) {
        walk(elapsedMs);
        // At the end of its path the figure goes.
        if (m_mode == Walking && getPath() == nullptr) {
            if (m_body)
                m_body->stopAllStates(true);
            return removeSelf();
        }
    } else if (m_mode == Standing) {
        stand(elapsedMs);
    }
    return true;
}

void GPedestrianNode::walk(uint32_t elapsedMs) {
    if (m_modeTimer > 0) {
        advance(elapsedMs);
        return;
    }
    m_modeTimer = truncateToInt(drawRange(kStandTimeRange));
    m_mode = Standing;
    m_turnTimer = 0;
}

void GPedestrianNode::stand(uint32_t elapsedMs) {
    if (m_modeTimer <= 0) {
        m_modeTimer = truncateToInt(drawRange(kWalkTimeRange));
        m_mode = Walking;
        if (getPath() != nullptr)
            setDirection(getHeading());
        return;
    }
    m_turnTimer = countDown(m_turnTimer, elapsedMs);
    if (m_turnTimer >= 0)
        return;
    m_turnTimer = truncateToInt(drawRange(kTurnTimeRange));
    if (m_body)
        m_body->setState(standName(engineRandom().nextMwc()), nullptr, CNameId());
}
