#pragma once

#include <cstdint>

#include "engine/core/RefPointer.h"
#include "engine/scene/NodeClass.h"
#include "engine/scene/TextNode.h"
#include "game/level/MiniGameScene.h"
#include "game/screens/SectorSpriteNode.h"

// The roulette: a wheel of three coloured sectors at a random orientation and a pointer that
// turns until the player clicks. Stopping inside the green sector wins; the info text says so,
// and the game closes half a second after the stop.
//
// Under "Scene": the pointer "Fg", the text "InfoText" and "sectorNode" with the sectors "c1",
// "c2" and "c3". The origins of "Fg" and "sectorNode" lie on the wheel's centre: the wheel's
// orientation turns "sectorNode", so that each sector stays within one turn, which is all a
// sector sprite draws.
class GMiniGameRoulScene : public NodeClass<GMiniGameRoulScene, GMiniGameScene> {
public:
    // Shared with the drink game; the type names tell the two apart.
    static constexpr uint32_t kTypeId = 1145;
    static constexpr const char16_t* kTypeName = u"GMiniGameRoulScene";
    static constexpr int32_t kCloseDelayMs = 500;
    // The pointer's picture points this far before the angle it shows.
    static constexpr int32_t kPointerTurn = 225;

    using NodeClass::NodeClass;

    void OnLoaded() override;
    // A random orientation and pointer angle; the configuration's sectors and speed, or the
    // green sector from 20 to 40 degrees and speed 10.
    void start(const StartParameters& parameters) override;
    bool OnSceneSwitch(CEventSceneSwitchStarted& event) override;
    // Stops the pointer: a win strictly inside the green sector. Never consumed; a later click
    // judges the same angle again.
    bool OnMouseLeftDown(CEventInputMouseLeftDown& event) override;
    bool tick(uint32_t elapsedMs) override;

    // Degrees clockwise from the top, in the wheel's frame plus its orientation.
    uint32_t getAngle() const { return m_angle; }
    int32_t getBaseAngle() const { return m_baseAngle; }
    int32_t getWinFrom() const { return m_winFrom; }
    int32_t getWinTo() const { return m_winTo; }
    bool isSpinning() const { return m_spinning; }

protected:
    ~GMiniGameRoulScene() override = default;

private:
    void paintSectors(int32_t angle1, int32_t angle2);
    void turnPointer(int64_t degrees);

    CRefPointer<BaseNode> m_pointer;
    CRefPointer<BaseNode> m_sectorNode;
    CRefPointer<GSectorSpriteNode> m_sectors[3];
    CRefPointer<TextNode> m_infoText;
    uint32_t m_angle = 0;
    int32_t m_baseAngle = 0;
    int32_t m_winFrom = 0;
    int32_t m_winTo = 0;
    int32_t m_speed = 0;
    bool m_spinning = true;
    int32_t m_closeCountdown = kCloseDelayMs;
};
