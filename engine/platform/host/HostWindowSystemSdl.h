#pragma once

#include <SDL.h>

#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/Map.h"
#include "engine/platform/host/HostGLSdl.h"
#include "engine/platform/host/HostWindowSystem.h"
#include "engine/platform/host/SdlEventTranslator.h"

// The window layer on SDL 2: OpenGL-capable windows, SDL's events as window messages, the
// display modes of the first display. The window manager draws the frames, so a window's
// rectangle is its client area. Signals are left to the engine.
class CHostWindowSystemSdl : public CHostWindowSystem {
public:
    // Starts SDL's video; when that fails, or when SDL finds no display and falls back to a
    // headless driver that SDL_VIDEODRIVER did not name, every call fails and a line is logged.
    CHostWindowSystemSdl();
    ~CHostWindowSystemSdl() override;

    CHostWindowSystemSdl(const CHostWindowSystemSdl&) = delete;
    CHostWindowSystemSdl& operator=(const CHostWindowSystemSdl&) = delete;

    bool isReady() const { return m_ready; }
    // The SDL window behind a handle; null for unknown handles.
    SDL_Window* sdlWindow(HostWindow window) const;
    // Opens the window's SDL window anew, in the same place, size and state, so that it takes
    // the GL attributes set now; the handle stays. False for unknown handles or when SDL
    // cannot open it (the old one then stays).
    bool reopenWindow(HostWindow window);

    IHostGL* getGL() override { return &m_gl; }

    void setWindowStyle(HostWindow window, bool fullScreen) override;
    void adjustWindowRect(HostRect& rect, bool fullScreen) const override;
    bool moveWindow(HostWindow window, const HostRect& windowRect) override;
    void showWindow(HostWindow window, int32_t showCommand) override;
    void activateWindow(HostWindow window) override;
    bool getShowCommand(HostWindow window, int32_t& showCommand) const override;
    bool getWindowRect(HostWindow window, HostRect& rect) const override;
    bool getClientRect(HostWindow window, HostRect& rect) const override;
    bool clientToScreen(HostWindow window, HostPoint& point) const override;
    bool setWindowTitle(HostWindow window, const CStringW& title) override;

    bool peekMessage(HostMessage& message) override;
    bool getMessage(HostMessage& message) override;
    void postMessage(const HostMessage& message) override;
    void postQuitMessage(int32_t exitCode) override;
    void wakeMessageWait() override;

    bool getDisplayMode(uint32_t index, HostDisplayMode& mode) const override;
    bool getDesktopDisplayMode(HostDisplayMode& mode) const override;
    int32_t changeDisplayMode(const HostDisplayMode* mode) override;

    HostCursor createCursor(const uint32_t* argbPixels, int32_t width, int32_t height,
                            int32_t hotSpotX, int32_t hotSpotY) override;
    void destroyCursor(HostCursor cursor) override;
    void setWindowCursor(HostWindow window, HostCursor cursor) override;
    int32_t showCursor(bool show) override;
    bool getCursorPosition(HostPoint& point) const override;
    bool setCursorPosition(const HostPoint& point) override;
    void setCapture(HostWindow window) override;
    void releaseCapture() override;
    HostWindow getCapture() const override { return m_capture; }

    void getKeyboardState(uint8_t state[256]) const override;

    bool setGammaRamp(HostWindow window, const HostGammaRamp& ramp) override;
    bool getGammaRamp(HostWindow window, HostGammaRamp& ramp) const override;

    bool openUrl(const CString& url) override;

    void sleep(uint32_t milliseconds) override;

protected:
    bool openWindow(HostWindow window, const HostWindowDesc& desc) override;
    void closeWindow(HostWindow window) override;

private:
    struct Window {
        SDL_Window* sdl = nullptr;
        bool fullScreen = false;
        HostCursor cursor = kSystemArrowCursor;
    };

    HostWindow windowOf(uint32_t sdlWindowId) const;
    void translate(const SDL_Event& event);
    bool takeMessage(HostMessage& message);
    void applyCursor(HostCursor cursor);

    bool m_ready = false;
    // SDL's event type for wakeMessageWait, registered at the start.
    uint32_t m_wakeEvent = uint32_t(-1);
    CMap<HostWindow, Window> m_windows;
    CMap<HostCursor, SDL_Cursor*> m_cursors;
    HostCursor m_nextCursor = 1;
    CArray<SdlQueuedMessage> m_queue;
    CSdlEventTranslator m_translator;
    HostWindow m_capture = kNoHostWindow;
    int32_t m_cursorCount = 0;
    uint8_t m_keys[256] = {};
    CHostGLSdl m_gl{*this};
};
