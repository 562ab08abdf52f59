#include "game/level/CharacterNode.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numbers>

#include "engine/core/Logger.h"
#include "engine/core/Properties.h"
#include "engine/scene/PropertyBindings.h"
#include "engine/scene/SceneNode.h"
#include "game/level/GameLevelScene.h"

namespace {

// The upper bounds of the sectors, in degrees counter-clockwise from the right.
constexpr float kSectorBounds[] = {22.5f,  67.5f,  112.5f, 157.5f, 202.5f,
                                   247.5f, 292.5f, 337.5f, 360.0f};
} // namespace

// Interned once: every walking character asks at every corner.
CNameId GCharacterNode::moveAnimation(int32_t sector) {
    static const CNameId names[] = {
        nameOf("MoveRight"),  nameOf("MoveRightUp"),   nameOf("MoveUp"),
        nameOf("MoveLeftUp"), nameOf("MoveLeft"),      nameOf("MoveLeftDown"),
        nameOf("MoveDown"),   nameOf("MoveRightDown"), nameOf("MoveRight")};
    return names[sector];
}

GCharacterNode::GCharacterNode(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager)
    : NodeClass(key, parent, sceneManager) {
    setInterval(kTickMs);
}

const PropertyTable& GCharacterNode::classPropertyTable() {
    static const PropertyTable table = extendPropertyTable(
        GObjectNode::classPropertyTable(),
        {accessorProperty<&GCharacterNode::getVelocity, &GCharacterNode::setVelocity>("Velocity")});
    return table;
}

int32_t GCharacterNode::directionSector(const CVector2d& direction) {
    if (direction.x == 0 && direction.y == 0)
        return 0;
    // The screen's y grows downward.
    float angle = std::atan2(-direction.y, direction.x);
    if (angle < 0)
        angle += 2 * std::numbers::pi_v<float>;
    const float degrees = std::clamp(angle * 180 / std::numbers::pi_v<float>, 0.0f, 360.0f);
    for (int32_t sector = 0; sector < int32_t(std::size(kSectorBounds)); ++sector) {
        if (kSectorBounds[sector] > degrees)
            return sector;
    }
    return -1;
}

void GCharacterNode::cloneMembers(const BaseNode& source, SceneManager* sceneManager) {
    GObjectNode::cloneMembers(source, sceneManager);
    if (source.isKindOf(kTypeId))
        m_velocity = static_cast<const GCharacterNode&>(source).m_velocity;
}

void GCharacterNode::saveProperties(CProperties& properties) const {
    GObjectNode::saveProperties(properties);
    if (m_velocity != kDefaultVelocity)
        properties.addFloat("Velocity", m_velocity);
}

// A value of another type reads 0, as every float property does.
void GCharacterNode::loadProperties(const CProperties& properties) {
    GObjectNode::loadProperties(properties);
    const int32_t index = properties.indexOf("Velocity");
    if (index >= 0)
        setVelocity(PropertyTraits<float>::read(properties.getValueAt(index).get()));
}

void GCharacterNode::setVelocity(float velocity) {
    if (std::isfinite(velocity) && velocity >= 0) {
        m_velocity = velocity;
        return;
    }
    CStringW line(u"Velocity refused, not a speed: ");
    line.append(velocity).append(u" for ").append(CStringW(getName().toString().c_str()));
    CLogger::instance()->log(line, CLogger::LevelWarning);
}

void GCharacterNode::setLevel(GGameLevelScene* level) {
    GObjectNode::setLevel(level);
    SceneNode* owner = getScene();
    setScheduler(owner != nullptr ? owner->getClock() : nullptr);
    stopWalk();
    const CVector3d& position = getPosition();
    placeAt({position.x, position.y});
}

void GCharacterNode::setDirection(const CVector2d& direction) {
    const int32_t sector = directionSector(direction);
    if (sector < 0)
        return;
    const CNameId name = moveAnimation(sector);
    if (name != m_currentAnimation)
        playAnimation(name);
}

void GCharacterNode::playAnimation(CNameId name) {
    m_currentAnimation = name;
    setChildrenState(name, nullptr);
}

bool GCharacterNode::walkTo(const CVector2d& from, const CVector2d& to, bool smooth) {
    CArray<CVector2d> path;
    if (GGameLevelScene* level = getLevel())
        level->getWalkGrid().findPath(from, to, path, smooth);
    return startWalk(path, true);
}

bool GCharacterNode::startWalk(const CArray<CVector2d>& points, bool keepOrder) {
    m_currentAnimation = CNameId();
    if (points.size() < 2) {
        onWalkStarted();
        onWalkFinished();
        return true;
    }
    m_path = points;
    if (!keepOrder)
        std::reverse(m_path.begin(), m_path.end());
    m_progress = 0;
    const uint32_t last = m_path.size() - 1;
    placeAt(m_path[last]);
    setChildrenState(nameOf("Start"), nullptr);
    setDirection(m_path[last - 1] - m_path[last]);
    onWalkStarted();
    return true;
}

void GCharacterNode::stopWalk() {
    m_path.clear();
    playAnimation(nameOf("Stand"));
    onWalkFinished();
}

bool GCharacterNode::OnUpdate(uint32_t elapsedMs) {
    if (getParent() == nullptr || getScene() == nullptr)
        return false;
    if (m_path.size() < 2)
        return true;
    m_progress += m_velocity * float(elapsedMs) * 0.001f;
    if (!passCorners())
        return true;
    const CVector2d& from = m_path[m_path.size() - 1];
    const CVector2d step = m_path[m_path.size() - 2] - from;
    const float length = step.getLength();
    placeAt(from + CVector2d(step.x / length, step.y / length) * m_progress);
    return true;
}

// Arriving exactly on a point passes it.
bool GCharacterNode::passCorners() {
    float length = (m_path[m_path.size() - 2] - m_path[m_path.size() - 1]).getLength();
    while (m_progress >= length) {
        m_progress -= length;
        m_path.eraseAt(m_path.size() - 1);
        if (m_path.size() < 2) {
            placeAt(m_path[0]);
            stopWalk();
            return false;
        }
        const CVector2d step = m_path[m_path.size() - 2] - m_path[m_path.size() - 1];
        length = step.getLength();
        setDirection(step);
    }
    return true;
}

void GCharacterNode::placeAt(const CVector2d& point) {
    setPosition({point.x, point.y, point.y + 0.1f * point.x});
}
