// The device's window procedure: window messages become engine events.
#include "engine/core/EventSystemFlowRender.h"
#include "engine/core/Logger.h"
#include "engine/platform/InputEvents.h"
#include "engine/platform/SystemFlowEvents.h"
#include "engine/platform/VantorDeviceWin32.h"
#include "engine/video/IRenderDriver.h"

namespace {

void logInfo(const char* text) {
    CLogger::instance()->logChars(text, CLogger::LevelInformation);
}

bool isOpenGL(IRenderDriver* driver) {
    return driver != nullptr && driver->getDriverKind() == DRIVER_KIND_OPENGL;
}

} // namespace

int64_t CVantorDeviceWin32::windowProc(const HostMessage& message) {
    // A capture lost to another window ends the count of held buttons.
    if (m_captureCount > 0 && m_host.getCapture() != message.window)
        m_captureCount = 0;
    switch (message.message) {
    case WM_DESTROY:
        return onDestroy();
    case WM_SIZE:
        onSize(message);
        return 0;
    case WM_ACTIVATE: {
        const bool active = loWord(message.wParam) != WA_INACTIVE && hiWord(message.wParam) == 0;
        post(new CEventSystemFlowActivate(active));
        break;
    }
    case WM_PAINT:
        if (!m_parameters.fullScreen && m_videoDriver.get() != nullptr && !m_active)
            post(new CEventSystemFlowRender());
        break;
    case WM_ERASEBKGND:
        return 0;
    case WM_ACTIVATEAPP:
        onActivateApp(message);
        break;
    case WM_NCHITTEST:
        if (m_parameters.fullScreen)
            return HTCLIENT;
        break;
    case WM_KEYDOWN:
    case WM_KEYUP:
        onKey(message);
        return 0;
    case WM_SYSCOMMAND:
        return onSysCommand(message);
    case WM_MOUSEMOVE:
        if (m_visible)
            post(new CEventInputMouseMove(message.x, message.y));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        onButton(message);
        return 0;
    case WM_MOUSEWHEEL:
        if (m_active)
            onWheel(message);
        break;
    default:
        break;
    }
    return m_host.defWindowProc(message);
}

// The window is gone: its handle names nothing any more, and the quit message ends the loop.
int64_t CVantorDeviceWin32::onDestroy() {
    logInfo("WM_DESTROY command received");
    post(new CEventSystemFlowDestroy());
    m_host.postQuitMessage(0);
    m_window = kNoHostWindow;
    m_windowDestroyed = true;
    return 0;
}

void CVantorDeviceWin32::onSize(const HostMessage& message) {
    if (message.wParam == SIZE_MINIMIZED || message.wParam == SIZE_MAXHIDE) {
        m_visible = false;
        m_active = false;
        return;
    }
    m_visible = true;
    m_active = true;
    m_resizePending = true;
}

// The Direct3D drivers switch their display modes themselves; OpenGL needs the device to.
void CVantorDeviceWin32::onActivateApp(const HostMessage& message) {
    IRenderDriver* driver = m_videoDriver.get();
    if (message.wParam != 0) {
        m_active = true;
        if (m_parameters.fullScreen && isOpenGL(driver)) {
            const CPixelSize size = driver->getBackBufferSize();
            enterFullscreenMode(size.width, size.height, driver->getColorDepth());
        }
        post(new CEventSystemFlowAppActivate(true));
        logInfo("Application activated.");
        return;
    }
    if (!m_active)
        return;
    m_active = false;
    if (m_parameters.fullScreen && isOpenGL(driver))
        restoreDesktopMode();
    post(new CEventSystemFlowAppActivate(false));
    logInfo("Application deactivated.");
}

int64_t CVantorDeviceWin32::onSysCommand(const HostMessage& message) {
    const uint32_t command = uint32_t(message.wParam) & 0xFFF0u;
    switch (command) {
    case SC_SCREENSAVE:
    case SC_MONITORPOWER:
        logInfo("SC_SCREENSAVE or SC_MONITORPOWER command received");
        return 0;
    case SC_CLOSE:
        logInfo("SC_CLOSE command received");
        // A receiver that handles the request refuses the close.
        if (post(new CEventSystemFlowCloseRequest()))
            return 0;
        return m_host.defWindowProc(message);
    case SC_MOVE:
        logInfo("SC_MOVE command received");
        if (!m_timer->isStopped())
            m_timer->stop();
        [[fallthrough]];
    case SC_SIZE:
    case SC_MAXIMIZE:
    case SC_KEYMENU:
        if (m_parameters.fullScreen)
            return 1;
        return m_host.defWindowProc(message);
    default:
        return m_host.defWindowProc(message);
    }
}

// The layer gives the key's character (a key-up repeats its key-down's); the modifiers come
// from the keyboard state of the last key-down.
void CVantorDeviceWin32::onKey(const HostMessage& message) {
    const bool down = message.message == WM_KEYDOWN;
    if (down)
        m_host.getKeyboardState(m_keyboardState);
    const uint32_t virtualKey = uint32_t(message.wParam);
    const bool shift = (m_keyboardState[VK_SHIFT] & 0x80) != 0;
    const bool control = (m_keyboardState[VK_CONTROL] & 0x80) != 0;
    if (down)
        post(new CEventInputKeyDown(message.character, virtualKey, shift, control));
    else
        post(new CEventInputKeyUp(message.character, virtualKey, shift, control));
}

void CVantorDeviceWin32::onButton(const HostMessage& message) {
    const int32_t x = message.x;
    const int32_t y = message.y;
    switch (message.message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        ++m_captureCount;
        m_host.setCapture(message.window);
        break;
    default:
        if (--m_captureCount < 1) {
            m_captureCount = 0;
            m_host.releaseCapture();
        }
        break;
    }
    switch (message.message) {
    case WM_LBUTTONDOWN:
        post(new CEventInputMouseLeftDown(x, y));
        break;
    case WM_RBUTTONDOWN:
        post(new CEventInputMouseRightDown(x, y));
        break;
    case WM_MBUTTONDOWN:
        post(new CEventInputMouseMiddleDown(x, y));
        break;
    case WM_LBUTTONUP:
        post(new CEventInputMouseLeftUp(x, y));
        break;
    case WM_RBUTTONUP:
        post(new CEventInputMouseRightUp(x, y));
        break;
    default:
        post(new CEventInputMouseMiddleUp(x, y));
        break;
    }
}

// The wheel message comes in screen pixels; receivers get client pixels like every other.
void CVantorDeviceWin32::onWheel(const HostMessage& message) {
    HostPoint origin;
    m_host.clientToScreen(message.window, origin);
    const float delta = float(int16_t(hiWord(message.wParam))) / float(WHEEL_DELTA);
    post(new CEventInputMouseWheel(message.x - origin.x, message.y - origin.y, delta));
}
