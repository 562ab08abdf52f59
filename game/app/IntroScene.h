#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/RefPointer.h"
#include "engine/io/Content.h"
#include "game/app/BaseSceneNode.h"

// The loading screen after the logos: it runs eleven weighted loading steps, one whenever more
// than 100 ms of its clock have passed since the last, so that the window stays responsive;
// the bar ("Fill" in "Progress" under "Scene") follows the finished weight by at most a
// fiftieth of the whole an update. Once the bar has caught up with the last step it opens
// "scenes/MainMenuScene.qscn". What a step cannot load it passes over with a warning.
class GIntroScene : public NodeClass<GIntroScene, GBaseSceneNode> {
public:
    static constexpr uint32_t kTypeId = 1102;
    static constexpr const char16_t* kTypeName = u"GIntroScene";
    static constexpr uint32_t kStepCount = 11;
    // The step clock must pass this before the next step.
    static constexpr uint32_t kStepGapMs = 100;

    GIntroScene(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    void OnLoaded() override;
    bool OnSceneSwitch(CEventSceneSwitchStarted& event) override;
    bool OnSceneSwitchDone(CEventSceneSwitchFinished& event) override;
    bool OnUpdate(uint32_t elapsedMs) override;

protected:
    ~GIntroScene() override = default;

private:
    using Step = void (GIntroScene::*)();
    struct WeightedStep {
        Step step;
        float weight;
    };
    static const WeightedStep kSteps[kStepCount];

    void registerClasses();
    void loadCharacterAtlases();
    void loadLocationAtlas();
    void loadMapAtlas();
    void loadMainMenuAtlas();
    void loadSoundPack();
    void loadDictionary();
    void loadLevelCollections();
    void loadMenuCollections();
    void loadObjectConfiguration();
    void loadLevelList();

    void loadAtlasCollection(const char16_t* name);
    // Kept by the application for the rest of the run.
    void loadParticleCollection(const char16_t* name);
    void loadTemplateCollection(const char16_t* name, SceneManager* manager);
    // A warning naming the running step and the file it could not load.
    void reportMissing(const CStringW& name) const;
    void updateBar();

    CRefPointer<BaseNode> m_progressBar;
    CRefPointer<BaseNode> m_fill;
    float m_shown = 0;
    float m_done = 0;
    float m_total = 0;
    uint32_t m_nextStep = 0;
    uint32_t m_stepClockMs = 0;
    CArray<CRefPointer<CContent>> m_atlasCollections;
};
