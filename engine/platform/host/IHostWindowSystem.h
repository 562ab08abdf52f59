#pragma once

#include <cstdint>

#include "engine/core/String.h"
#include "engine/platform/host/HostMessages.h"

class IHostGL;

// Receives the messages of the windows it is attached to.
class IHostWindowProcedure {
public:
    virtual ~IHostWindowProcedure() = default;
    virtual int64_t windowProc(const HostMessage& message) = 0;
};

// What a new window looks like. The size is the client area's; x and y place the window's
// outer top-left corner on the screen.
struct HostWindowDesc {
    CString title;
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    bool fullScreen = false;
};

// The window services the device needs, in place of the Windows ones: windows that OpenGL can
// draw into, their message queue and procedures, display modes, the pointer, gamma, URLs and
// sleeping. Everything runs on the main thread.
class IHostWindowSystem {
public:
    virtual ~IHostWindowSystem() = default;

    // Windows. A new window is shown and gets no procedure: until one is attached its messages
    // go to the default procedure. Creation fails with kNoHostWindow.
    virtual HostWindow createWindow(const HostWindowDesc& desc) = 0;
    // Delivers WM_DESTROY to the window's procedure before the window goes; unknown windows
    // are ignored.
    virtual void destroyWindow(HostWindow window) = 0;
    virtual bool isWindow(HostWindow window) const = 0;
    // The procedure is not owned and must outlive its window, or be detached with nullptr.
    virtual void setWindowProcedure(HostWindow window, IHostWindowProcedure* procedure) = 0;

    // Windowed: caption and frame. Full screen: no frame; the whole window is client area.
    virtual void setWindowStyle(HostWindow window, bool fullScreen) = 0;
    // Grows a client rectangle by the frame of the style.
    virtual void adjustWindowRect(HostRect& rect, bool fullScreen) const = 0;
    // Places the window by its outer rectangle, in screen pixels.
    virtual bool moveWindow(HostWindow window, const HostRect& windowRect) = 0;
    virtual void showWindow(HostWindow window, int32_t showCommand) = 0;
    // Makes the window the active one and raises it.
    virtual void activateWindow(HostWindow window) = 0;
    // The show command of the window's placement: SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED,
    // SW_SHOWNORMAL or SW_HIDE. False when the placement cannot be read.
    virtual bool getShowCommand(HostWindow window, int32_t& showCommand) const = 0;
    virtual bool getWindowRect(HostWindow window, HostRect& rect) const = 0;
    // Left and top are 0.
    virtual bool getClientRect(HostWindow window, HostRect& rect) const = 0;
    virtual bool clientToScreen(HostWindow window, HostPoint& point) const = 0;
    virtual bool setWindowTitle(HostWindow window, const CStringW& title) = 0;

    // The message queue, shared by all windows. peekMessage takes a message when there is one;
    // getMessage waits for one and is false only when none can come (an empty script of the
    // fake, a broken event queue).
    virtual bool peekMessage(HostMessage& message) = 0;
    virtual bool getMessage(HostMessage& message) = 0;
    virtual void postMessage(const HostMessage& message) = 0;
    // Queues WM_QUIT with the exit code in wParam.
    virtual void postQuitMessage(int32_t exitCode) = 0;
    // The one call that any thread may make: a getMessage that waits, or else the next
    // getMessage or peekMessage, takes a WM_NULL message for no window.
    virtual void wakeMessageWait() = 0;
    // Hands a message to its window's procedure (the default one when it has none) and returns
    // the result; sendMessage does the same for a message made by the caller.
    virtual int64_t dispatchMessage(const HostMessage& message) = 0;
    virtual int64_t sendMessage(const HostMessage& message) = 0;
    // The default procedure: SC_CLOSE closes the window, WM_CLOSE destroys it (WM_DESTROY
    // reaches the procedure before this returns); everything else gives 0.
    virtual int64_t defWindowProc(const HostMessage& message) = 0;

    // Display modes. Enumeration is false past the last mode. A null mode restores the desktop
    // mode. Results are the DISP_CHANGE_ values.
    virtual bool getDisplayMode(uint32_t index, HostDisplayMode& mode) const = 0;
    virtual bool getDesktopDisplayMode(HostDisplayMode& mode) const = 0;
    virtual int32_t changeDisplayMode(const HostDisplayMode* mode) = 0;

    // The pointer. Cursor images are 32-bit 0xAARRGGBB pixels, rows top-down; a window shows
    // its cursor whenever the pointer is over it. showCursor raises or lowers the display
    // count and returns it; the pointer shows while the count is 0 or more.
    virtual HostCursor createCursor(const uint32_t* argbPixels, int32_t width, int32_t height,
                                    int32_t hotSpotX, int32_t hotSpotY) = 0;
    virtual void destroyCursor(HostCursor cursor) = 0;
    virtual void setWindowCursor(HostWindow window, HostCursor cursor) = 0;
    virtual int32_t showCursor(bool show) = 0;
    // Screen pixels.
    virtual bool getCursorPosition(HostPoint& point) const = 0;
    virtual bool setCursorPosition(const HostPoint& point) = 0;
    // While a window holds the capture, it gets the mouse messages even outside its area.
    virtual void setCapture(HostWindow window) = 0;
    virtual void releaseCapture() = 0;
    virtual HostWindow getCapture() const = 0;

    // The keyboard as of the last key message taken from the queue: 256 bytes by virtual key,
    // the top bit set while the key is down.
    virtual void getKeyboardState(uint8_t state[256]) const = 0;

    // The screen's gamma ramp, through the given window.
    virtual bool setGammaRamp(HostWindow window, const HostGammaRamp& ramp) = 0;
    virtual bool getGammaRamp(HostWindow window, HostGammaRamp& ramp) const = 0;

    // Hands the URL, as one argument, to the desktop's opener.
    virtual bool openUrl(const CString& url) = 0;

    virtual void sleep(uint32_t milliseconds) = 0;

    // The OpenGL facet for drawing into this system's windows; none when it has none.
    virtual IHostGL* getGL() { return nullptr; }
};
