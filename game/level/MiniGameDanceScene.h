#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/NameId.h"
#include "engine/core/RefPointer.h"
#include "engine/scene/NodeClass.h"
#include "engine/scene/NodeEvents.h"
#include "engine/scene/SpriteNode.h"
#include "game/level/MiniGameConfigurations.h"
#include "game/level/MiniGameScene.h"

// The dance game: a track of blocks and gaps scrolls from right to left past a marker while a
// copy of the client stands on the stage. The player has one click: with the marker over a
// block the copy dances, otherwise it shows its disappointment. The game closes half a second
// after the copy's animation, or by itself once the whole track has passed.
//
// Under "Scene": "Blocks" holds the track's pieces, which appear at its bounds' right edge;
// the x of "Line" is the hit point and its bounds' width the length of track made at a time;
// the copy of the client stands under "Client".
class GMiniGameDanceScene : public NodeClass<GMiniGameDanceScene, GMiniGameScene> {
public:
    static constexpr uint32_t kTypeId = 1144;
    static constexpr const char16_t* kTypeName = u"GMiniGameDanceScene";
    static constexpr const char16_t* kBlockImage = u"levels/minigames/dance/block_c.png";
    static constexpr int32_t kCloseDelayMs = 500;

    using NodeClass::NodeClass;

    void OnLoaded() override;
    // The configuration's track and speed, or one block of 100 at the default speed; the
    // dancer is a copy of the template that the client's type names, in the client's colour.
    void start(const StartParameters& parameters) override;
    bool OnSceneSwitch(CEventSceneSwitchStarted& event) override;
    // The first press only: a hit when the marker lies over a block, edges included. Never
    // consumed, so the press also reaches the buttons.
    bool OnMouseLeftDown(CEventInputMouseLeftDown& event) override;
    // The end of the dancer's answer to the click starts the countdown to the close.
    bool OnChildrenStateFinished(CEventNodeChildrenStateFinished& event) override;
    bool tick(uint32_t elapsedMs) override;

    // The pieces on the track, oldest first; a block has an image, a gap none.
    const CArray<CRefPointer<SpriteNode>>& getBlocks() const { return m_blocks; }
    // What is left of the track to make, block and gap in turn.
    const CArray<float>& getWidths() const { return m_widths; }
    float getSpeed() const { return m_speed; }
    GClientNode* getDancer() const { return m_dancer.get(); }
    bool hasClicked() const { return m_tries != 0; }

protected:
    ~GMiniGameDanceScene() override;

private:
    void placeDancer(const GClientNode& client);
    void scroll(float distance);
    float rightEdgeOfTrack() const;
    // Makes a run of track as long as the marker, piece by piece across block and gap ends.
    void spawnRun();
    // A piece of at most the length at the offset past the right edge; the length still to
    // make beyond the current width.
    float spawnBlock(float offset, float length);
    void makePiece(float x, float length, bool textured);
    bool markerOverBlock() const;
    void attachToClientNode(BaseNode* clientNode);

    CArray<CRefPointer<SpriteNode>> m_blocks;
    CRefPointer<BaseNode> m_blocksNode;
    CRefPointer<BaseNode> m_lineNode;
    CRefPointer<BaseNode> m_clientNode;
    CRefPointer<GClientNode> m_dancer;
    CArray<float> m_widths;
    bool m_started = false;
    float m_speed = GMiniGameDanceConfig::kDefaultSpeed;
    bool m_textured = true;
    int32_t m_tries = 0;
    // What the dancer played when the click came; the end of anything else is its answer.
    CNameId m_standing;
    int32_t m_closeCountdown = -1;
};
