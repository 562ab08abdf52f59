#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/RefPointer.h"
#include "engine/io/Content.h"
#include "game/app/BaseSceneNode.h"

class GGameLevelScene;
class GLevelConfig;
class TemplateCollectionNode;
class UpgradeCatalog;

// The screen between the choice of a level and its play, "scenes/LoadingLevelScene.qscn". It
// loads the player's "LevelIndex" in weighted steps, one whenever more than 100 ms of its clock
// have passed since the last, while the bar ("Fill" in "Progress" under "Scene") shows the
// weight done: the configuration and the upgrades bought so far, the setting's atlas and
// templates, the level scene with its walk grid, then the shop or the in-level screen, and at
// last it opens the level in the level's scene manager and switches to that screen. Reached
// again by going back (a restart), it reads the configuration again and reuses the level.
// A step that fails says why in the log and goes back to the screen that opened this one.
class GLoadingLevelScene : public NodeClass<GLoadingLevelScene, GBaseSceneNode> {
public:
    static constexpr uint32_t kTypeId = 1111;
    static constexpr const char16_t* kTypeName = u"GLoadingLevelScene";
    // The step clock must pass this before the next step.
    static constexpr uint32_t kStepGapMs = 100;
    // The progress that fills the bar, and the most the bar moves an update.
    static constexpr float kProgressScale = 100;

    GLoadingLevelScene(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    void OnLoaded() override;
    // Arriving forward runs every step; arriving by going back runs the restart's.
    bool OnSceneSwitch(CEventSceneSwitchStarted& event) override;
    bool OnUpdate(uint32_t elapsedMs) override;

protected:
    ~GLoadingLevelScene() override;

private:
    struct LoadingStep {
        bool (GLoadingLevelScene::*operation)();
        float weight;
    };
    static const LoadingStep kFullLoadingSteps[];
    static const LoadingStep kRestartLoadingSteps[];

    bool loadConfigurations();
    bool loadSettingAtlas();
    bool loadTemplateCollection();
    bool loadLevelScene();
    bool prepareShopScene();
    bool prepareGamePlayScene();
    bool openLevel();

    bool restarting() const { return m_steps == kRestartLoadingSteps; }
    // "levels/setting" + N + "/" + file of the level's setting.
    CStringW settingFile(const char16_t* file) const;
    // The node loaded from the file when it is of that kind; otherwise none and the warning.
    CRefPointer<BaseNode> loadNodeOfKind(const CStringW& file, uint32_t kind,
                                         const char16_t* kindName);
    // The level gets its record, the object configuration and the clients of its queue.
    void prepareLevel();
    // False, after a warning naming the running step, the file and what went wrong.
    bool fail(const CStringW& file, const CStringW& what) const;
    void updateDisplay();

    CRefPointer<BaseNode> m_progress;
    CRefPointer<BaseNode> m_fill;
    float m_shownProgress = 0;
    float m_progressDone = 0;
    const LoadingStep* m_steps = nullptr;
    uint32_t m_stepCount = 0;
    uint32_t m_nextStep = 0;
    uint32_t m_elapsedSinceStep = 0;
    CRefPointer<TemplateCollectionNode> m_templates;
    CRefPointer<GLevelConfig> m_config;
    CRefPointer<GGameLevelScene> m_level;
    CRefPointer<GBaseSceneNode> m_nextScreen;
    CArray<CRefPointer<CContent>> m_atlasCollections;
};
