#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/ui/ButtonNode.h"
#include "game/app/BaseSceneNode.h"
#include "game/screens/MapTraffic.h"

class CProfileParameters;
class GMapLocationButton;
class GMapSceneStateListener;
class GTutorialController;

// The map of levels, "scenes/MapScene.qscn". The act buttons turn the page to an act, whose
// level buttons stand for its eleven places: locked ones grayed out, the others with the star
// of the grade reached there, the current one in its own look. Resting the pointer on a level
// button opens a window with that level's goals; "PlayButton" opens the loading screen for the
// current level, "BackButton" goes back. Coming back from the results it turns the page to the
// act just unlocked, or lets the star earned fly onto the level's button. It runs the map's
// tutorial when one is due, and its streets, sea and sky live with traffic.
class GMapScene : public NodeClass<GMapScene, GBaseSceneNode> {
public:
    static constexpr uint32_t kTypeId = 1108;
    static constexpr const char16_t* kTypeName = u"GMapScene";
    static constexpr int32_t kLevelsPerAct = 11;
    static constexpr int32_t kInfoDelayMs = 500;

    GMapScene(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    void OnLoaded() override;
    bool OnUpdate(uint32_t elapsedMs) override;
    bool OnSceneSwitch(CEventSceneSwitchStarted& event) override;
    bool OnSceneSwitchDone(CEventSceneSwitchFinished& event) override;
    bool OnButtonPressed(CEventControlClicked& event) override;
    bool OnNodeHovered(CEventControlHovered& event) override;
    bool OnNodeUnhovered(CEventControlUnhovered& event) override;
    bool OnKeyUp(CEventInputKeyUp& event) override;
    bool OnMessageBoxResult(CEventMessageBoxResult& event) override;

    // Chooses the shown act and the current level from the player's settings and brings every
    // level button up to date. What it writes is saved with the next save.
    void refreshLevelButtons();
    // The goals of the level over the button of the slot.
    void showLevelInfo(int32_t levelIndex, int32_t slot);
    void hideLevelInfo();
    // The results' star flies onto the button of the level passed last.
    void flyStarToLevelButton(BaseNode* star);
    void releaseTutorial();

    int32_t getSelectedAct() const { return m_selectedAct; }
    GMapLocationButton* getCurrentLevelButton() const { return m_currentLevelButton; }
    const CArray<GMapLocationButton*>& getLevelButtons() const { return m_levelButtons; }
    const CArray<ButtonNode*>& getActButtons() const { return m_actButtons; }
    BaseNode* getInfoWindow() const { return m_infoWindow; }
    GTutorialController* getTutorial() const { return m_tutorial.get(); }
    GMapTraffic& getTraffic() { return m_traffic; }

protected:
    ~GMapScene() override;

private:
    void arriveFromResults(SceneNode& results);
    void turnPageTo(int32_t act);
    void updateLevelButton(uint32_t slot, int32_t current, int32_t maxUnlocked);
    int32_t starTypeOf(int32_t levelIndex) const;
    void fillLevelInfo(int32_t levelIndex, int32_t slot);
    void startTutorialIfDue();
    bool pressActButton(BaseNode& button);
    bool pressLevelButton(BaseNode& button);
    bool isCurrentScene() const;
    bool isSelectedActValid() const;
    int32_t slotOf(const BaseNode* button) const;
    static CString slotKey(int32_t act);

    CRefPointer<GTutorialController> m_tutorial;
    BaseNode* m_levelButtonsNode = nullptr;
    CArray<GMapLocationButton*> m_levelButtons;
    BaseNode* m_actButtonsNode = nullptr;
    CArray<ButtonNode*> m_actButtons;
    int32_t m_selectedAct = -1;
    GMapLocationButton* m_currentLevelButton = nullptr;
    BaseNode* m_infoWindow = nullptr;
    int32_t m_hoverCountdownMs = 0;
    int32_t m_hoveredSlot = -1;
    BaseNode* m_effects = nullptr;
    CRefPointer<GMapSceneStateListener> m_stateListener;
    GMapTraffic m_traffic;
};
