#pragma once

#include <atomic>
#include <cstdint>

#include "engine/core/Array.h"
#include "engine/core/Map.h"
#include "engine/core/String.h"
#include "engine/platform/host/HostWindowSystem.h"

// The window layer for tests: windows are records, the queue holds what the test posts, every
// call that changes something or waits is logged as a line of text, and failures are switched
// on by the test. Log lines: "createWindow <w>x<h> windowed|fullscreen", "destroyWindow <id>",
// "setWindowStyle <id> windowed|fullscreen", "moveWindow <id> <left>,<top> <w>x<h>",
// "showWindow <id> <cmd>", "activateWindow <id>", "setWindowTitle <id> <utf-8 title>",
// "peekMessage", "getMessage", "postQuitMessage <code>",
// "changeDisplayMode <w>x<h>x<bits>@<frequency>" or "changeDisplayMode desktop",
// "createCursor <w>x<h> hot <x>,<y>", "destroyCursor <id>", "setWindowCursor <id> <cursor>",
// "showCursor 1|0", "setCursorPosition <x>,<y>", "setCapture <id>", "releaseCapture",
// "setGammaRamp", "openUrl <url>", "sleep <ms>".
class FakeHostWindowSystem : public CHostWindowSystem {
public:
    struct Window {
        HostRect rect; // outer, screen pixels
        bool fullScreen = false;
        int32_t showCommand = SW_SHOWNORMAL;
        CStringW title;
        HostCursor cursor = kSystemArrowCursor;
    };

    struct Cursor {
        int32_t width = 0;
        int32_t height = 0;
        HostPoint hotSpot;
        CArray<uint32_t> pixels;
    };

    struct Failures {
        bool createWindow = false;
        bool moveWindow = false;
        bool showCommand = false;
        bool windowRect = false;
        bool createCursor = false;
        bool gammaRamp = false;
        bool openUrl = false;
        // Returned by every change to a mode (restoring the desktop always succeeds).
        int32_t changeDisplayMode = DISP_CHANGE_SUCCESSFUL;
    };

    FakeHostWindowSystem();
    ~FakeHostWindowSystem() override;

    Failures failures;
    // The windowed frame: borders left, right and bottom, and the caption above the top one.
    int32_t frameBorder = 3;
    int32_t frameCaption = 19;
    // Enumerated in this order.
    CArray<HostDisplayMode> displayModes;
    HostDisplayMode desktopMode{1920, 1080, 32, 60};
    // The mode last changed to, the desktop mode once restored.
    HostDisplayMode currentMode{1920, 1080, 32, 60};
    HostPoint cursorPosition;
    HostGammaRamp gammaRamp;
    // Milliseconds of fake time: sleep advances it, tests may too and can read it as a clock.
    uint32_t tickCount = 0;

    // The window's record; null for unknown handles.
    Window* window(HostWindow window);
    const Cursor* cursor(HostCursor cursor) const;
    int32_t cursorDisplayCount() const { return m_cursorCount; }
    void setKeyDown(uint32_t virtualKey, bool down);
    uint32_t queuedMessages() const { return m_queue.size(); }

    const CArray<CString>& calls() const { return m_calls; }
    void clearCalls() { m_calls.clear(); }
    // The index of the first logged line at or after `from` equal to the text, -1 when none.
    int32_t findCall(const char* text, uint32_t from = 0) const;
    uint32_t countCalls(const char* text) const;

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
    // Counted, not logged: another thread may call it. The queue's messages go first.
    void wakeMessageWait() override { m_wakes.fetch_add(1); }
    uint32_t wakeCount() const { return m_wakes.load(); }

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
    const Window* findWindow(HostWindow window) const;
    bool takeMessage(HostMessage& message);
    void log(const CString& line);

    CMap<HostWindow, Window> m_windows;
    CMap<HostCursor, Cursor> m_cursors;
    HostCursor m_nextCursor = 1;
    CArray<HostMessage> m_queue;
    std::atomic<uint32_t> m_wakes{0};
    uint32_t m_wakesTaken = 0;
    CArray<CString> m_calls;
    HostWindow m_capture = kNoHostWindow;
    int32_t m_cursorCount = 0;
    uint8_t m_keys[256] = {};
};
