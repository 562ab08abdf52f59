#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/NameId.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/core/Vector3d.h"
#include "engine/platform/InputEvents.h"
#include "game/app/BaseSceneNode.h"

class CEngine;
class CProfileParameters;
class GEllipseSectorNode;
class GGameLevelScene;
class GLevelConfig;
class GAwardEarnedEvent;
class GLevelClosedEvent;
class GLevelFinishedEvent;
class GMoneyChangedEvent;
class GMoneyEarnedEvent;
class GRankChangedEvent;
class GBonusCreditedEvent;
class GTutorialController;
class GTwoSpritesProgressBarNode;
class TextNode;
class UpgradeCatalog;

// The screen around a running level, "scenes/GamePlayScene.qscn". The level's scene manager
// hangs first under its "Scene", so the level is drawn in the screen's tree and takes its input
// through it. The screen starts the level (briefing and new-client pop-ups, tutorials, a fade to
// black for each restart), shows its money, goal, rank and clock on the HUD, flies the money
// the level earns and credits it once shown, and stops the level while another screen covers
// it.
class GGamePlayScene : public NodeClass<GGamePlayScene, GBaseSceneNode> {
public:
    static constexpr uint32_t kTypeId = 1114;
    static constexpr const char16_t* kTypeName = u"GGamePlayScene";

    GGamePlayScene(const CContentKey& key, BaseNode* parent, SceneManager* sceneManager);

    static const EventMap& getEventMap();

    void OnLoaded() override;
    // The level that the loading screen opened in the second scene manager, with its setting's
    // catalogue (may be none); its tutorial is read when the player wants tutorials. False,
    // keeping nothing, without a "Scene".
    bool setLevel(GGameLevelScene* level, UpgradeCatalog* catalog);

    // Leaving: the level stands still. Arriving: the music; forward, the level is attached and
    // prepared and the HUD filled.
    bool OnSceneSwitch(CEventSceneSwitchStarted& event) override;
    // Arrived: the start sequence goes on (pop-ups, then tutorials).
    bool OnSceneSwitchDone(CEventSceneSwitchFinished& event) override;
    bool OnUpdate(uint32_t elapsedMs) override;
    bool OnKeyUp(CEventInputKeyUp& event) override;
    bool OnWindowFocus(CEventSystemFlowActivate& event) override;
    bool OnButtonPressed(CEventControlClicked& event) override;
    bool OnNodeHovered(CEventControlHovered& event) override;
    // Silent, unlike other screens.
    bool OnListItemPressed(CEventNode&) override { return false; }
    bool OnListItemHovered(CEventNode&) override { return false; }

    // The level's reports (GamePlaySceneHud.cpp).
    bool OnRankChanged(GRankChangedEvent& event);
    bool OnLevelClosed(GLevelClosedEvent& event);
    bool OnMoneyChanged(GMoneyChangedEvent& event);
    bool OnBonusCredited(GBonusCreditedEvent& event);
    bool OnMoneyEarned(GMoneyEarnedEvent& event);

    // The level's end (GamePlaySceneEnd.cpp): the progress booked once, then the award pop-ups
    // one after another, then the results.
    bool OnLevelFinished(GLevelFinishedEvent& event);
    bool OnAwardEarned(GAwardEarnedEvent& event);
    bool finishLevel(bool passed);
    // False with no award waiting; true while one waits or its pop-up opened.
    bool showNextAwardPopup();
    bool openResults();
    bool isResultsDue() const;
    // An award pop-up or the results wait to be shown.
    bool isEndScreenDue() const;

    GGameLevelScene* getLevel() const { return m_level.get(); }
    const CArray<CRefPointer<GTutorialController>>& getTutorials() const { return m_tutorials; }
    bool isStartPending() const { return m_startPending; }
    bool isBriefingDone() const { return m_briefingDone; }
    bool isNewClientDone() const { return m_newClientDone; }

protected:
    ~GGamePlayScene() override;

private:
    GLevelConfig* levelConfig() const;
    // The loading screen hands the level over before the screen is in its manager: until then
    // the engine is the menus' manager's.
    CEngine* engine() const;
    CProfileParameters* player() const;
    // The level shown and played in this screen.
    void attachLevel();
    void setClockFraction(float fraction);
    void updateClock();
    bool isCurrentScene() const;
    // The level's clock and client generation, stopped while another screen covers this one.
    void setLevelRunning(bool running);
    void openInGameMenu();

    // The start sequence (GamePlaySceneStart.cpp).
    void startLevel();
    // The catalogue's purchases for this level, then the dance pads laid out.
    void applyUpgradesAndLayout();
    // The clients of the level's queue made afresh from the level's templates.
    void respawnQueuedClients();
    bool showNextStartPopup();
    void startTutorial();
    void finishTutorial(bool advance);
    bool queueObjectTutorials();
    // A controller over "Scene" with the script read from the file; none when it does not open.
    CRefPointer<GTutorialController> loadTutorial(const CStringW& file);
    void detachTutorial(GTutorialController& controller);

    // The HUD (GamePlaySceneHud.cpp).
    void initHud();
    void refreshMoney();
    void reportAward(int32_t award, int32_t value);
    void setStarRange(float minimum, float maximum);
    void showRankPopup(const char* templateName);
    void showMoneyEffect(const GMoneyEarnedEvent& event, BaseNode& effects,
                         const CVector3d& position, bool held);
    void flyMoney(const GMoneyEarnedEvent& event, const CVector3d& position);
    static void slideEffectHolder(BaseNode& effect, bool first, bool second);

    // The passed level's progress, stats line and award reports, saved once.
    void bookLevelEnd();

    // The developer keys (GamePlaySceneKeys.cpp).
    void onDeveloperKey(const CEventInputKeyUp& event);
    void addCheatMoney(float amount);
    // Where the developer's saved level lies.
    CStringW userDataFolder() const;
    // The level saved by Control+S, once Control+L has asked for it.
    void restoreSavedLevel();

    BaseNode* m_darkForeground = nullptr;
    bool m_startPending = false;
    BaseNode* m_popupsLayer = nullptr;
    BaseNode* m_gameMenu = nullptr;
    TextNode* m_moneyText = nullptr;
    TextNode* m_goalLabel = nullptr;
    TextNode* m_goalText = nullptr;
    TextNode* m_levelText = nullptr;
    GTwoSpritesProgressBarNode* m_rankStar = nullptr;
    BaseNode* m_timeClosedNode = nullptr;
    BaseNode* m_clockArrow = nullptr;
    GEllipseSectorNode* m_clockSector = nullptr;
    CRefPointer<GGameLevelScene> m_level;
    CRefPointer<UpgradeCatalog> m_upgrades;
    CNameId m_musicCue;
    CArray<CRefPointer<GTutorialController>> m_tutorials;
    bool m_hasLevelTutorial = true;
    BaseNode* m_skipTutorialButton = nullptr;
    bool m_tutorialStarted = false;
    bool m_briefingDone = false;
    bool m_newClientDone = false;
    // The level goes on from a saved state: its clients come as they were, not armed anew.
    bool m_restoredFromSave = false;
    bool m_levelEndDone = false;
    // Back over the level with an end screen due: the level stands still until it shows.
    bool m_levelHeld = false;
    CArray<int32_t> m_awardQueue;
};
