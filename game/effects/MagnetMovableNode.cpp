#include "game/effects/MagnetMovableNode.h"

#include <cmath>

#include "engine/core/String.h"
#include "game/app/GameApplication.h"
#include "game/level/ClientNode.h"

namespace {

CNameId selfDestructName() {
    static const CNameId name(CString("SelfDestruct"));
    return name;
}

// The launch velocity loses this much of its length every second.
constexpr float kLaunchDrag = 80;

} // namespace

void GMagnetMovableNode::setTarget(BaseNode* target, GClientNode* client) {
    m_target = CRefPointer<BaseNode>::share(target);
    m_client = client;
    m_hasClient = client != nullptr;
    m_start = getPosition();
    m_arrived = false;
    setScheduler(getSceneClock());
}

bool GMagnetMovableNode::OnChildrenStateFinished(CEventNodeChildrenStateFinished& event) {
    if (m_arrived && event.getStateName() == selfDestructName())
        m_target = nullptr;
    return false;
}

bool GMagnetMovableNode::OnUpdate(uint32_t elapsedMs) {
    // A target that left its scene, or a client that is gone, ends the flight as none does.
    if (m_target && m_target->getScene() == nullptr)
        m_target = nullptr;
    if (!m_target || (m_hasClient && !m_client)) {
        endFlight();
        return removeSelf();
    }
    if (m_arrived)
        return true;
    const float s = elapsedSeconds(elapsedMs);
    const float length = m_launchVelocity.getLength();
    if (length != 0) {
        const float loss = s * kLaunchDrag;
        m_launchVelocity =
            length < loss ? CVector2d() : m_launchVelocity * ((length - loss) / length);
    }
    m_pullSpeed += m_pullAcceleration * s;
    const CVector3d target = targetPoint();
    const CVector3d position = getPosition();
    CVector3d direction(target.x - position.x, target.y - position.y, 0);
    const float side = target.x - m_start.x < 0 ? -1.0f : 1.0f;
    if (side * direction.x < 0) {
        if (m_client)
            m_client->setHidden(false);
        m_arrived = true;
        setPosition(CVector3d(target.x, target.y, 10));
        setChildrenState(selfDestructName(), nullptr);
        return true;
    }
    direction = direction.normalize() * m_pullSpeed;
    setPosition(CVector3d(position.x + s * (m_launchVelocity.x + direction.x),
                          position.y + s * (m_launchVelocity.y + direction.y), position.z));
    return true;
}

CVector3d GMagnetMovableNode::targetPoint() {
    m_target->updateAbsoluteTransform();
    const CMatrix4& matrix = m_target->getAbsoluteMatrix();
    CVector3d point(matrix[12], matrix[13], matrix[14]);
    if (theApplication != nullptr)
        point = theApplication->screenToScene(point);
    const CVector2d offset = m_hasClient ? CVector2d(getBounds().x, 0) : CVector2d(23, 22);
    return CVector3d(point.x + offset.x, point.y + offset.y, point.z);
}

// The client's heart icons follow its hearts again.
void GMagnetMovableNode::endFlight() {
    m_target = nullptr;
    if (GClientNode* client = m_client.get()) {
        client->setKeepHeartsShown(false);
        client->updateHeartIcons();
    }
    m_client = nullptr;
}
