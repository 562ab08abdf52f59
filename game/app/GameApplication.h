#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/CreationParameters.h"
#include "engine/core/EventReceiver.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"
#include "engine/core/Vector3d.h"
#include "game/app/MusicFade.h"
#include "game/app/ScreenFit.h"

class CContentManager;
class CEngine;
class CEngineStartup;
class CProfileParameters;
class CScheduler;
class CSoundPlayer;
class GAwardTracker;
class GLogoList;
class LevelsConfiguration;
class ObjectConfigurations;
class SceneManager;
class UpgradeCatalog;

// The game's one application object. It brings the engine up in a fixed order, mounts the
// content, applies the player's settings and opens the first scene; it owns the game-wide
// models, the two schedulers and the two scene managers (the first for every full-screen scene,
// the second for the level inside the gameplay screen). As an engine receiver it draws every
// frame, fades the music, follows the window's focus and answers the developer keys. Other
// game code reaches it through theApplication.
class GGameApplication : public CEventReceiver {
public:
    // Touches no engine service.
    GGameApplication();
    GGameApplication(const GGameApplication&) = delete;
    GGameApplication& operator=(const GGameApplication&) = delete;

    // The start-up sequence, on the engine the start-up makes; true once the first scene is
    // open. On false the caller releases the application, which takes down what was built.
    bool initialize(const CStringW& extraContentFolder, CEngineStartup& startup);
    // Keeps the object alive as long as the application; null is ignored.
    void keepReference(CRefCounted* object);

    bool OnEvent(CEvent& event) override;
    static const EventMap& getEventMap();
    bool OnVideoDriverCreated(CEvent& event);
    bool OnUpdate(CEvent& event);
    bool OnRender(CEvent& event);
    bool OnWindowFocus(CEvent& event);
    bool OnKeyDown(CEvent& event);
    bool OnKeyUp(CEvent& event);

    // The active player's volumes and music; nothing without an active player.
    void applySoundSettings();
    // The active player's full screen and cursor; nothing without an active player.
    void applyDisplaySettings();
    // Whether the desktop is tall enough for the game's window with its frame.
    bool canShowWindow() const;
    // Lowers the music under a level's sound (false) or brings it back (true).
    void duckMusic(bool restore);
    // Fits the logical screen into the back buffer and places the first scene manager there.
    void fitScreen();
    CVector3d screenToScene(const CVector3d& point) const {
        return m_screenFit.screenToScene(point);
    }
    // Milliseconds of the last update event; 0 before the first.
    uint32_t getLastUpdateMs() const { return m_lastUpdateMs; }

    SceneManager* getSceneManager() const { return m_sceneManager.get(); }
    SceneManager* getLevelSceneManager() const { return m_levelSceneManager.get(); }
    CContentManager* getContentManager() const { return m_contentManager.get(); }
    GLogoList* getLogoList() const { return m_logoList.get(); }
    GAwardTracker* getAwardTracker() const { return m_awardTracker.get(); }
    LevelsConfiguration* getLevelList() const { return m_levelList.get(); }
    ObjectConfigurations* getObjectConfigurations() const { return m_objectConfigurations.get(); }
    // None when the index is outside the catalogues.
    UpgradeCatalog* getUpgradeCatalog(int32_t settingIndex) const;

protected:
    ~GGameApplication() override;

private:
    void loadProfiles();
    bool startDevice();
    void createManagers();
    bool mountContent(const CStringW& extraContentFolder);
    bool mountIfPresent(const CStringW& path, const char* password);
    void configureSoundGroups();
    void readLogos();
    bool openFirstScene();
    void unregister(CEventReceiver* receiver);

    CProfileParameters* activeProfile() const;
    CSoundPlayer* soundPlayer() const;
    void setCursorImage();

    void switchVideoDriver();
    void switchFullScreen();
    // Gives the device the parameters it was last given, changed: it makes its window and
    // video driver again.
    void applyDeviceParameters();
    void takeScreenshot();
    void reloadSoundPack();

    CreationParameters m_deviceParameters;
    CRefPointer<CEngine> m_engine;
    CRefPointer<CScheduler> m_scheduler;
    CRefPointer<CScheduler> m_levelScheduler;
    CRefPointer<SceneManager> m_sceneManager;
    CRefPointer<SceneManager> m_levelSceneManager;
    CRefPointer<CContentManager> m_contentManager;
    CRefPointer<GAwardTracker> m_awardTracker;
    CRefPointer<GLogoList> m_logoList;
    CRefPointer<LevelsConfiguration> m_levelList;
    CRefPointer<ObjectConfigurations> m_objectConfigurations;
    CArray<CRefPointer<UpgradeCatalog>> m_upgradeCatalogs;
    CArray<CRefPointer<CRefCounted>> m_keptReferences;
    // The low bytes of the last eight characters released, oldest first, for the developer
    // mode's code word; a key without a character counts as 0.
    char m_codeWord[8] = {};
    uint32_t m_lastUpdateMs = 0;
    GScreenFit m_screenFit;
    GMusicFade m_musicFade;
};

// The application from the start of its constructor to the end of its destructor.
extern GGameApplication* theApplication;
// Switched on for the rest of the run by typing the code word.
extern bool developerMode;
