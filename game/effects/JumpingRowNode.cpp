#include "game/effects/JumpingRowNode.h"

#include "engine/core/NameId.h"
#include "engine/core/String.h"
#include "engine/core/Vector3d.h"
#include "engine/ui/RangeProperty.h"

namespace {

const CVector2d kDefaultVelocityYRange(-100, -150);
const CVector2d kDefaultAccelYRange(10, 10);
const CVector2d kDefaultJumpTimeRange(5000, 1000);
const CVector2d kDefaultActionTimeRange(10000, 20000);

} // namespace

const PropertyTable& GJumpingRowNode::classPropertyTable() {
    static const PropertyTable table = extendPropertyTable(
        BaseNode::classPropertyTable(),
        {
            finiteProperty<&GJumpingRowNode::m_velocityYRange>("VelocityYRange"),
            finiteProperty<&GJumpingRowNode::m_accelYRange>("AccelYRange"),
            finiteProperty<&GJumpingRowNode::m_jumpTimeRange>("JumpTimeRange"),
            finiteProperty<&GJumpingRowNode::m_actionTimeRange>("ActionTimeRange"),
        });
    return table;
}

void GJumpingRowNode::saveProperties(CProperties& properties) const {
    BaseNode::saveProperties(properties);
    saveVector2d(properties, "VelocityYRange", m_velocityYRange, kDefaultVelocityYRange);
    saveVector2d(properties, "AccelYRange", m_accelYRange, kDefaultAccelYRange);
    saveVector2d(properties, "JumpTimeRange", m_jumpTimeRange, kDefaultJumpTimeRange);
    saveVector2d(properties, "ActionTimeRange", m_actionTimeRange, kDefaultActionTimeRange);
}

void GJumpingRowNode::loadProperties(const CProperties& properties) {
    BaseNode::loadProperties(properties);
    loadFiniteIfPresent(properties, "VelocityYRange", m_velocityYRange);
    loadFiniteIfPresent(properties, "AccelYRange", m_accelYRange);
    loadFiniteIfPresent(properties, "JumpTimeRange", m_jumpTimeRange);
    loadFiniteIfPresent(properties, "ActionTimeRange", m_actionTimeRange);
}

void GJumpingRowNode::cloneMembers(const BaseNode& source, SceneManager* sceneManager) {
    BaseNode::cloneMembers(source, sceneManager);
    if (!source.isKindOf(kTypeId))
        return;
    const auto& other = static_cast<const GJumpingRowNode&>(source);
    m_velocityYRange = other.m_velocityYRange;
    m_accelYRange = other.m_accelYRange;
    m_jumpTimeRange = other.m_jumpTimeRange;
    m_actionTimeRange = other.m_actionTimeRange;
}

void GJumpingRowNode::OnLoaded() {
    m_jumpers.clear();
    for (uint32_t i = 0; i < getChildCount(); ++i) {
        Jumper jumper;
        jumper.node = CRefPointer<BaseNode>::share(getChild(i));
        jumper.jumpTimer = truncateToInt(drawRange(m_jumpTimeRange));
        jumper.actionTimer = truncateToInt(drawRange(m_actionTimeRange));
        m_jumpers.append(jumper);
    }
}

bool GJumpingRowNode::OnUpdate(uint32_t elapsedMs) {
    static const CNameId action(CString("Action"));
    const float seconds = elapsedSeconds(elapsedMs);
    for (uint32_t i = 0; i < m_jumpers.size();) {
        if (m_jumpers[i].node->getParent() != this) {
            m_jumpers.eraseAt(i);
            continue;
        }
        // Held for the tick: the figure's "Action" may take it out of the row.
        const CRefPointer<BaseNode> figure = m_jumpers[i].node;
        move(m_jumpers[i], elapsedMs, seconds);
        m_jumpers[i].actionTimer = countDown(m_jumpers[i].actionTimer, elapsedMs);
        if (m_jumpers[i].actionTimer < 1) {
            m_jumpers[i].actionTimer = truncateToInt(drawRange(m_actionTimeRange));
            figure->setChildrenState(action, nullptr);
        }
        ++i;
    }
    return true;
}

void GJumpingRowNode::move(Jumper& jumper, uint32_t elapsedMs, float seconds) {
    if (jumper.accelerationY == 0) {
        jumper.jumpTimer = countDown(jumper.jumpTimer, elapsedMs);
        if (jumper.jumpTimer < 1) {
            // It leaves the ground on the next tick.
            jumper.jumpTimer = -1;
            jumper.velocityY = drawRange(m_velocityYRange);
            jumper.accelerationY = drawRange(m_accelYRange);
        }
        return;
    }
    jumper.velocityY += jumper.accelerationY * seconds;
    const CVector3d at = jumper.node->getPosition();
    float y = at.y + jumper.velocityY * seconds;
    // Back on its line.
    if (y > 0) {
        y = 0;
        jumper.accelerationY = 0;
        jumper.jumpTimer = truncateToInt(drawRange(m_jumpTimeRange));
    }
    jumper.node->setPosition(CVector3d(at.x, y, at.z));
}
