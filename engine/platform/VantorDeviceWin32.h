#pragma once

#include <cstdint>

#include "engine/core/CreationParameters.h"
#include "engine/core/Engine.h"
#include "engine/core/MonotonicClock.h"
#include "engine/core/RefPointer.h"
#include "engine/platform/host/IHostWindowSystem.h"

class CMouseCursorWin32;
class IClipboard;

// The engine made real: it owns the main window (or adopts one the host names), pumps the
// window's messages, runs the timed frame step, switches between windowed and full screen,
// keeps the display modes and creates the video and audio drivers the parameters name. The
// window procedure turns the window's messages into engine events.
class CVantorDeviceWin32 : public CEngine, public IHostWindowProcedure {
public:
    // The window system, the clipboard (may be none) and the clock must outlive the device.
    CVantorDeviceWin32(const CreationParameters& parameters, IHostWindowSystem& host,
                       IClipboard* clipboard = nullptr,
                       IClockSource& clock = CMonotonicClock::instance());

    bool setParameters(const CreationParameters& parameters) override;
    bool replaceAudioDriver(const AudioParameters& parameters) override;
    bool runOnce() override;
    void closeDevice() override;
    bool setWindowCaption(const CStringW& text) override;
    bool isActive() const override { return m_active; }
    bool isMinimised() const override;
    bool setGammaRamp(float red, float green, float blue, float brightness,
                      float contrast) override;
    bool getGammaRamp(float& red, float& green, float& blue, float& brightness,
                      float& contrast) override;
    bool openUrl(const CString& url) override;
    void raiseWindow() override;
    void wakeMessageWait() override { m_host.wakeMessageWait(); }
    bool hasWindowToRender() const override { return !m_windowDestroyed; }
    // With pauseTimer the engine's clock stands still while the device sleeps.
    virtual void sleep(uint32_t milliseconds, bool pauseTimer);

    int64_t windowProc(const HostMessage& message) override;

    // kNoHostWindow before the window exists and once it is destroyed.
    HostWindow getWindow() const { return m_window; }

protected:
    ~CVantorDeviceWin32() override;

private:
    void fillDisplayModes();
    bool createWindow();
    bool adoptWindow();
    HostRect placement() const;
    void placeWindow();
    bool createVideoDriver();
    CRefPointer<IRenderDriver> makeVideoDriver();
    bool createAudioDriver();
    CRefPointer<IAudioDriver> makeAudioDriver();
    bool enterFullscreenMode(uint32_t width, uint32_t height, uint32_t bits);
    void restoreDesktopMode();
    void applyPendingResize();
    void destroyOwnWindow();

    // The window procedure's cases.
    int64_t onDestroy();
    void onSize(const HostMessage& message);
    void onActivateApp(const HostMessage& message);
    int64_t onSysCommand(const HostMessage& message);
    void onKey(const HostMessage& message);
    void onButton(const HostMessage& message);
    void onWheel(const HostMessage& message);
    bool post(CEvent* event);

    IHostWindowSystem& m_host;
    // The engine's cursor slot owns it.
    CMouseCursorWin32* m_cursor = nullptr;
    HostWindow m_window = kNoHostWindow;
    bool m_visible = false;
    // The own window went with WM_DESTROY; a window made later clears it.
    bool m_windowDestroyed = false;
    bool m_active = false;
    bool m_resizePending = false;
    // The keys as of the last key-down; a key-up reads its modifiers from here.
    uint8_t m_keyboardState[256] = {};
    // Mouse buttons held down over the window.
    int32_t m_captureCount = 0;
};
