#include "game/level/MiniGameRoulScene.h"

#include <cmath>

#include "engine/core/EngineServices.h"
#include "engine/core/Random.h"
#include "game/level/MiniGameConfigurations.h"

namespace {

constexpr int32_t kTurn = 360;

// A value of the engine's generator in [0, 1).
double nextUnit() {
    return double(CEngineServices::instance()->getRandom()->next()) * 0x1p-32;
}

template <typename Node>
CRefPointer<Node> childAs(BaseNode* node, uint32_t typeId) {
    return CRefPointer<Node>::share(
        node != nullptr && node->isKindOf(typeId) ? static_cast<Node*>(node) : nullptr);
}

} // namespace

void GMiniGameRoulScene::OnLoaded() {
    const BaseNode* scene = childNamed(this, "Scene");
    m_pointer = CRefPointer<BaseNode>::share(childNamed(scene, "Fg"));
    m_infoText = childAs<TextNode>(childNamed(scene, "InfoText"), TextNode::kTypeId);
    m_sectorNode = CRefPointer<BaseNode>::share(childNamed(scene, "sectorNode"));
    const char* names[] = {"c1", "c2", "c3"};
    for (int i = 0; i < 3; ++i)
        m_sectors[i] = childAs<GSectorSpriteNode>(childNamed(m_sectorNode.get(), names[i]),
                                                  GSectorSpriteNode::kTypeId);
}

void GMiniGameRoulScene::start(const StartParameters& parameters) {
    m_baseAngle = int32_t(std::trunc(nextUnit() * kTurn));
    m_angle = uint32_t(std::trunc(nextUnit() * kTurn + m_baseAngle));
    GMiniGameScene::start(parameters);
    const GMiniGameRoulConfig* config =
        GMiniGameConfigurations::shared().roul(parameters.configurationIndex);
    const int32_t angle1 = config != nullptr ? config->angle1 : 20;
    const int32_t angle2 = config != nullptr ? config->angle2 : 40;
    m_speed = config != nullptr ? config->speed : 10;
    paintSectors(angle1, angle2);
    m_winFrom = m_baseAngle + angle1;
    m_winTo = m_baseAngle + angle2;
    m_spinning = true;
    m_closeCountdown = kCloseDelayMs;
}

// Blue up to the first bound, green to the second, red for the rest of the turn.
void GMiniGameRoulScene::paintSectors(int32_t angle1, int32_t angle2) {
    if (m_sectorNode)
        m_sectorNode->setRotation({0, 0, float(m_baseAngle)});
    const float bounds[4] = {0, float(angle1), float(angle2), float(kTurn)};
    const uint32_t tints[3] = {0xFF0000FFu, 0xFF00FF00u, 0xFFFF0000u};
    for (int i = 0; i < 3; ++i) {
        GSectorSpriteNode* sector = m_sectors[i].get();
        if (sector == nullptr)
            continue;
        sector->setAngle1(bounds[i]);
        sector->setAngle2(bounds[i + 1]);
        sector->setTintColor(CColor(tints[i]));
    }
}

bool GMiniGameRoulScene::OnSceneSwitch(CEventSceneSwitchStarted& event) {
    GMiniGameScene::OnSceneSwitch(event);
    return event.getTo() == this;
}

bool GMiniGameRoulScene::OnMouseLeftDown(CEventInputMouseLeftDown&) {
    const int64_t angle = m_angle;
    const bool won = m_winFrom < angle && angle < m_winTo;
    setResult(won ? 1 : 0);
    if (m_infoText)
        m_infoText->setText(won ? u"YOU WIN!" : u"YOU LOSER!");
    m_spinning = false;
    return false;
}

bool GMiniGameRoulScene::tick(uint32_t elapsedMs) {
    if (m_spinning) {
        // Whole degrees a tick stay whole: 10 for 20 ms turn exactly 6.
        const double turned = double(m_speed) * double(elapsedMs) * 3.0 / 100.0;
        turnPointer(int64_t(std::trunc(turned + double(m_angle))));
        return true;
    }
    m_closeCountdown -= int32_t(elapsedMs);
    if (m_closeCountdown < 0)
        close();
    return true;
}

// Past a full turn the pointer starts again at the wheel's orientation; turning backwards, it
// comes round from the full turn.
void GMiniGameRoulScene::turnPointer(int64_t degrees) {
    const int64_t base = m_baseAngle;
    if (degrees > base + kTurn)
        degrees = base;
    else if (degrees < base)
        degrees = base + kTurn;
    m_angle = uint32_t(degrees);
    if (m_pointer)
        m_pointer->setRotation({0, 0, float(m_angle + kPointerTurn)});
}
