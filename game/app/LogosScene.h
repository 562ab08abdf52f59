#pragma once

#include <cstdint>

#include "engine/core/RefPointer.h"
#include "engine/scene/SpriteNode.h"
#include "game/app/BaseSceneNode.h"

// Inserted every three digits by money and score displays: "," until the logos scene takes it
// from the dictionary's "ThousandsDelimiter" (a blank when that has no text).
extern char16_t thousandsDelimiter;

// The first scene: the logos of the application's logo list, one after another on two sprites
// that cross-fade ("Logo1" behind, "Logo2" in front, under the child "Scene"), a click cutting
// a skippable one short. On arrival it loads the dictionary, sets the window caption and the
// thousands delimiter and loads the active player's award state. After the last logo it opens
// "scenes/IntroScene.qscn".
class GLogosScene : public NodeClass<GLogosScene, GBaseSceneNode> {
public:
    static constexpr uint32_t kTypeId = 1101;
    static constexpr const char16_t* kTypeName = u"GLogosScene";

    GLogosScene(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    void OnLoaded() override;
    bool OnSceneSwitch(CEventSceneSwitchStarted& event) override;
    bool OnSceneSwitchDone(CEventSceneSwitchFinished& event) override;
    // The logo's time runs down; then the next logo, or the intro.
    bool OnUpdate(uint32_t elapsedMs) override;
    // A left click never reaches the children: it skips the logo when allowed.
    bool sendToChildren(int32_t mode, CEvent& event) override;

protected:
    ~GLogosScene() override = default;

private:
    void prepareTexts();
    void showNextLogo();
    // The back sprite fades out what the front sprite showed.
    void passFrontImageBack();
    bool skipLogo();

    bool m_skippable = false;
    int32_t m_remainingMs = 0;
    CRefPointer<SpriteNode> m_backSprite;
    CRefPointer<SpriteNode> m_frontSprite;
    bool m_finished = false;
};
