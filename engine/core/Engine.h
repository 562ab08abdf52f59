#pragma once

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/CreationParameters.h"
#include "engine/core/EventReceiver.h"
#include "engine/core/ICursorControl.h"
#include "engine/core/MonotonicClock.h"
#include "engine/core/RefPointer.h"
#include "engine/core/Scheduler.h"
#include "engine/core/ServiceReference.h"
#include "engine/core/String.h"
#include "engine/core/Timer.h"

class CContentManager;
class CContentProcessorsManager;
class CProfileManager;
class CProperties;
class CSoundPlayer;
class CVideoModeList;
class IAudioDriver;
class IRenderDriver;
class ISystemInfo;
class IVirtualFileSystem;
class SceneManager;

struct ReceiverEntry {
    CEventReceiver* receiver;
    int32_t priority;
};

// The engine's root object and its one event source: the creation parameters, the timer, the
// services the device sets up, the receivers by priority and the frame step that turns elapsed
// time into update and render events. Abstract: the platform's device derives from it, creates
// the window and the drivers and runs the frame step from its main loop.
class CEngine : public CEventReceiver {
public:
    // The engine; the first call creates the device through the registered factory with default
    // parameters (null video driver, no window, null audio). None when no device can be made.
    static CEngine* instance();
    // Stores the singleton without taking a reference.
    static void setInstance(CEngine* engine);

    // Offers the event to the receivers in priority order (see the source for the rules).
    bool sendToChildren(int32_t mode, CEvent& event) override;

    virtual bool setParameters(const CreationParameters& parameters);
    virtual bool replaceAudioDriver(const AudioParameters& parameters);
    // One pass of the main loop; false ends the loop.
    virtual bool runOnce();
    virtual void closeDevice();
    // Keeps the list in ascending priority; false for null or a receiver already listed. The
    // engine takes no reference: owners remove their receivers before destroying them.
    virtual bool addReceiver(CEventReceiver* receiver, int32_t priority);
    // Does nothing for a receiver that is not listed.
    virtual void removeReceiver(CEventReceiver* receiver);
    // New objects for the caller; none is registered as a receiver here. The content and scene
    // managers come as service references, which the caller turns into CRefPointers.
    virtual CServiceReference<CContentManager> createContentManager();
    virtual CServiceReference<SceneManager> createSceneManager();
    virtual CRefPointer<CScheduler> createScheduler();
    virtual bool setWindowCaption(const CStringW& text);
    virtual bool isActive() const;
    virtual bool isMinimised() const;
    virtual bool isFullScreen() const;
    virtual bool setGammaRamp(float red, float green, float blue, float brightness, float contrast);
    virtual bool getGammaRamp(float& red, float& green, float& blue, float& brightness,
                              float& contrast);
    virtual bool openUrl(const CString& url);
    // Brings the window to the front and restores it when minimised, for a later start of the
    // program that found this one running. The base has no window and does nothing.
    virtual void raiseWindow();
    // False once the window is gone for good (the program is ending): frames then post no render
    // event, which would draw into nothing. The base has no window and always renders.
    virtual bool hasWindowToRender() const { return true; }
    // Makes the run loop's wait for a window message end, now or at its next wait, so that a
    // pass of the loop runs; the one operation any thread may call. The base does nothing.
    virtual void wakeMessageWait();

    // Milliseconds; 0 is stored as 1.
    void setMinUpdateInterval(uint32_t ms);
    void setMaxUpdateStep(uint32_t ms);
    uint32_t getMinUpdateInterval() const { return m_minUpdateInterval; }
    uint32_t getMaxUpdateStep() const { return m_maxUpdateStep; }

    // Called once by the device once its timer, file system and drivers exist: makes the profile
    // manager, the content processors manager (receiver at priority -1) and the sound player
    // (priority 1) and starts update timing from now.
    void createSubsystems();

    // One frame on the timer's virtual clock: drops lag beyond the cap, posts the due updates
    // (at most largeStep each, once minimumStep has passed), then a render event. A frame that
    // posted updates always renders; one without renders only when asked. Without an update
    // request the virtual clock stands still until one comes.
    void stepFrame(bool update, bool render, uint32_t minimumStep, uint32_t largeStep,
                   uint32_t lagCap);

    static constexpr uint32_t kGammaRampSize = 256;
    // Contrast 0 keeps the full range; the ramp is clamped to 0..65535.
    static void buildGammaRamp(uint16_t (&ramp)[kGammaRampSize], float gamma, float brightness,
                               float contrast);
    // The gamma that a ramp built with brightness 0 and contrast 0 approximates; 1 when the
    // ramp tells nothing.
    static void estimateGamma(float& gamma, const uint16_t (&ramp)[kGammaRampSize]);

    const CreationParameters& getCreationParameters() const { return m_parameters; }
    CProperties* getGlobalProperties() const { return m_globalProperties.get(); }
    IVirtualFileSystem* getFileSystem() const { return m_fileSystem.get(); }
    CTimer* getTimer() const { return m_timer.get(); }
    ICursorControl* getCursorControl() const { return m_cursorControl.get(); }
    ISystemInfo* getSystemInfo() const { return m_systemInfo.get(); }
    CContentProcessorsManager* getContentProcessorsManager() const {
        return m_contentProcessorsManager.get();
    }
    CVideoModeList* getDisplayModeList() const { return m_displayModeList.get(); }
    IRenderDriver* getVideoDriver() const { return m_videoDriver.get(); }
    // The references themselves, for services that keep their own.
    const CServiceReference<IRenderDriver>& getVideoDriverReference() const {
        return m_videoDriver;
    }
    const CServiceReference<IAudioDriver>& getAudioDriverReference() const { return m_audioDriver; }
    CSoundPlayer* getSoundPlayer() const { return m_soundPlayer.get(); }
    IAudioDriver* getAudioDriver() const { return m_audioDriver.get(); }
    CProfileManager* getProfileManager() const { return m_profileManager.get(); }
    bool isExternalWindow() const { return m_externalWindow; }

protected:
    // The timer reads the given clock, which must outlive the engine.
    explicit CEngine(const CreationParameters& parameters,
                     IClockSource& clock = CMonotonicClock::instance());
    ~CEngine() override;

    // Offers the event to the engine's own OnEvent, then to the receivers with routing mode 1;
    // true when someone handled it.
    bool postEvent(CEvent& event);

    // Set by the device, except the global properties and the timer, which the constructor
    // makes, and the content processors manager, sound player and profile manager, which
    // createSubsystems makes.
    CreationParameters m_parameters;
    CRefPointer<CProperties> m_globalProperties;
    CServiceReference<IVirtualFileSystem> m_fileSystem;
    CRefPointer<CTimer> m_timer;
    CRefPointer<ICursorControl> m_cursorControl;
    CServiceReference<ISystemInfo> m_systemInfo;
    CServiceReference<CContentProcessorsManager> m_contentProcessorsManager;
    CServiceReference<CVideoModeList> m_displayModeList;
    CServiceReference<IRenderDriver> m_videoDriver;
    CServiceReference<CSoundPlayer> m_soundPlayer;
    CServiceReference<IAudioDriver> m_audioDriver;
    CServiceReference<CProfileManager> m_profileManager;
    uint32_t m_minUpdateInterval = 5;
    uint32_t m_maxUpdateStep = 15;
    // On the timer's virtual clock.
    uint32_t m_lastUpdateTime = 0;
    // Set by the device when the parameters name an existing window.
    bool m_externalWindow = false;

private:
    bool isReceiverListed(const CEventReceiver* receiver) const;
    void postUpdates(uint32_t now, uint32_t largeStep);
    void postRender();
    void stopTimer();

    CArray<ReceiverEntry> m_receivers;
};
