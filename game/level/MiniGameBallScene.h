#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/String.h"
#include "engine/scene/NodeClass.h"
#include "game/level/MiniGameScene.h"

class ButtonNode;

// The ball game: a set of ball buttons of which one carries the picture of the client's colour.
// A wrong ball vanishes when clicked; the right one closes the game, whose result stays 0.
//
// The balls are the buttons under "Scene/Balls"; a ball shows its picture on its sprite child
// "Image".
class GMiniGameBallScene : public NodeClass<GMiniGameBallScene, GMiniGameScene> {
public:
    static constexpr uint32_t kTypeId = 1143;
    static constexpr const char16_t* kTypeName = u"GMiniGameBallScene";

    using NodeClass::NodeClass;

    void OnLoaded() override;
    // Picks the right ball at random. With the configuration's record and its pictures, the
    // right ball shows the prefix followed by the client's colour name and ".png", the others
    // the pictures in turn by position; otherwise every ball keeps the scene file's picture.
    void start(const StartParameters& parameters) override;
    bool OnSceneSwitch(CEventSceneSwitchStarted& event) override;
    bool OnButtonPressed(CEventControlClicked& event) override;

    const CArray<ButtonNode*>& getBalls() const { return m_balls; }
    // None before start, or without balls.
    ButtonNode* getCorrectBall() const { return m_correctBall; }

protected:
    ~GMiniGameBallScene() override = default;

private:
    void showPicture(ButtonNode& ball, const CStringW& name) const;

    // Children of the scene, which outlive this use.
    CArray<ButtonNode*> m_balls;
    ButtonNode* m_correctBall = nullptr;
};
