#include "engine/platform/host/HostWindowSystemSdl.h"

#include <cstring>

#include "engine/core/Logger.h"
#include "engine/core/Utf.h"

namespace {

constexpr int kDisplay = 0;

void logSdlError(const char* what) {
    CLogger::instance()->logNarrow(CString(what).append(SDL_GetError()), CLogger::LevelError);
}

// Windows counts 32 bits for modes whose pixels take four bytes, padding included.
int32_t bitsPerPixelOf(uint32_t format) {
    if (format == SDL_PIXELFORMAT_UNKNOWN || SDL_BYTESPERPIXEL(format) == 4) {
        return 32;
    }
    return int32_t(SDL_BITSPERPIXEL(format));
}

HostDisplayMode hostModeOf(const SDL_DisplayMode& mode) {
    return {mode.w, mode.h, bitsPerPixelOf(mode.format), mode.refresh_rate};
}

// Without a display SDL falls back to a driver that draws nowhere; a program would then run
// unseen. Only a driver named in SDL_VIDEODRIVER (as the tests name one) runs headless.
bool isHeadlessByAccident() {
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    const bool headless =
        driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
    return headless && !(asked && asked[0] != 0);
}

} // namespace

CHostWindowSystemSdl::CHostWindowSystemSdl() {
    // SIGINT and SIGTERM stay with the engine's own handlers.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    m_ready = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
    if (!m_ready) {
        logSdlError("Could not start SDL video: ");
        return;
    }
    if (isHeadlessByAccident()) {
        CLogger::instance()->logChars(
            "No display found: neither DISPLAY nor WAYLAND_DISPLAY names one. Start the game on "
            "a desktop (SDL_VIDEODRIVER=offscreen runs it without a display on purpose).",
            CLogger::LevelError);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        m_ready = false;
        return;
    }
    m_wakeEvent = SDL_RegisterEvents(1);
    SDL_StartTextInput();
}

CHostWindowSystemSdl::~CHostWindowSystemSdl() {
    m_gl.deleteAllContexts();
    destroyAllWindows();
    for (auto it = m_cursors.begin(); it != m_cursors.end(); ++it) {
        SDL_FreeCursor(it->value);
    }
    if (m_ready) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
}

SDL_Window* CHostWindowSystemSdl::sdlWindow(HostWindow window) const {
    auto found = m_windows.find(window);
    return found == m_windows.end() ? nullptr : found->value.sdl;
}

HostWindow CHostWindowSystemSdl::windowOf(uint32_t sdlWindowId) const {
    for (auto it = m_windows.begin(); it != m_windows.end(); ++it) {
        if (SDL_GetWindowID(it->value.sdl) == sdlWindowId) {
            return it->key;
        }
    }
    // Keyboard events carry no window while no window has the focus.
    return sdlWindowId == 0 ? firstWindow() : kNoHostWindow;
}

bool CHostWindowSystemSdl::openWindow(HostWindow window, const HostWindowDesc& desc) {
    if (!m_ready) {
        return false;
    }
    const uint32_t flags =
        SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN | (desc.fullScreen ? SDL_WINDOW_BORDERLESS : 0);
    SDL_Window* sdl =
        SDL_CreateWindow(desc.title.c_str(), desc.x, desc.y, desc.width, desc.height, flags);
    if (!sdl) {
        logSdlError("Could not create window: ");
        return false;
    }
    Window record;
    record.sdl = sdl;
    record.fullScreen = desc.fullScreen;
    m_windows.insert(window, record);
    return true;
}

bool CHostWindowSystemSdl::reopenWindow(HostWindow window) {
    auto found = m_windows.find(window);
    if (found == m_windows.end())
        return false;
    SDL_Window* old = found->value.sdl;
    const uint32_t kept = SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN | SDL_WINDOW_SHOWN |
                          SDL_WINDOW_MINIMIZED | SDL_WINDOW_MAXIMIZED;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    SDL_GetWindowPosition(old, &x, &y);
    SDL_GetWindowSize(old, &width, &height);
    SDL_Window* sdl = SDL_CreateWindow(SDL_GetWindowTitle(old), x, y, width, height,
                                       SDL_WINDOW_OPENGL | (SDL_GetWindowFlags(old) & kept));
    if (!sdl) {
        logSdlError("Could not create window: ");
        return false;
    }
    SDL_DisplayMode mode;
    if ((SDL_GetWindowFlags(old) & SDL_WINDOW_FULLSCREEN) &&
        SDL_GetWindowDisplayMode(old, &mode) == 0) {
        SDL_SetWindowDisplayMode(sdl, &mode);
        SDL_SetWindowFullscreen(sdl, SDL_WINDOW_FULLSCREEN);
    }
    found->value.sdl = sdl;
    SDL_DestroyWindow(old);
    return true;
}

void CHostWindowSystemSdl::closeWindow(HostWindow window) {
    if (m_capture == window) {
        releaseCapture();
    }
    SDL_DestroyWindow(sdlWindow(window));
    m_windows.erase(window);
}

void CHostWindowSystemSdl::setWindowStyle(HostWindow window, bool fullScreen) {
    auto found = m_windows.find(window);
    if (found != m_windows.end()) {
        found->value.fullScreen = fullScreen;
        SDL_SetWindowBordered(found->value.sdl, fullScreen ? SDL_FALSE : SDL_TRUE);
    }
}

void CHostWindowSystemSdl::adjustWindowRect(HostRect&, bool) const {}

bool CHostWindowSystemSdl::moveWindow(HostWindow window, const HostRect& windowRect) {
    SDL_Window* sdl = sdlWindow(window);
    if (!sdl) {
        return false;
    }
    // A window in a full-screen display mode covers the display at the mode's size.
    if ((SDL_GetWindowFlags(sdl) & SDL_WINDOW_FULLSCREEN) == 0) {
        SDL_SetWindowSize(sdl, windowRect.width(), windowRect.height());
        SDL_SetWindowPosition(sdl, windowRect.left, windowRect.top);
    }
    return true;
}

void CHostWindowSystemSdl::showWindow(HostWindow window, int32_t showCommand) {
    SDL_Window* sdl = sdlWindow(window);
    if (!sdl) {
        return;
    }
    switch (showCommand) {
    case SW_HIDE:
        SDL_HideWindow(sdl);
        break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
        SDL_MinimizeWindow(sdl);
        break;
    case SW_SHOWMAXIMIZED:
        SDL_MaximizeWindow(sdl);
        break;
    case SW_RESTORE:
        SDL_RestoreWindow(sdl);
        break;
    default:
        SDL_ShowWindow(sdl);
        break;
    }
}

void CHostWindowSystemSdl::activateWindow(HostWindow window) {
    if (SDL_Window* sdl = sdlWindow(window)) {
        SDL_RaiseWindow(sdl);
    }
}

bool CHostWindowSystemSdl::getShowCommand(HostWindow window, int32_t& showCommand) const {
    SDL_Window* sdl = sdlWindow(window);
    if (!sdl) {
        return false;
    }
    const uint32_t flags = SDL_GetWindowFlags(sdl);
    showCommand = (flags & SDL_WINDOW_MINIMIZED)   ? SW_SHOWMINIMIZED
                  : (flags & SDL_WINDOW_HIDDEN)    ? SW_HIDE
                  : (flags & SDL_WINDOW_MAXIMIZED) ? SW_SHOWMAXIMIZED
                                                   : SW_SHOWNORMAL;
    return true;
}

bool CHostWindowSystemSdl::getWindowRect(HostWindow window, HostRect& rect) const {
    SDL_Window* sdl = sdlWindow(window);
    if (!sdl) {
        return false;
    }
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    SDL_GetWindowPosition(sdl, &x, &y);
    SDL_GetWindowSize(sdl, &width, &height);
    rect = {x, y, x + width, y + height};
    return true;
}

bool CHostWindowSystemSdl::getClientRect(HostWindow window, HostRect& rect) const {
    if (!getWindowRect(window, rect)) {
        return false;
    }
    rect = {0, 0, rect.width(), rect.height()};
    return true;
}

bool CHostWindowSystemSdl::clientToScreen(HostWindow window, HostPoint& point) const {
    HostRect rect;
    if (!getWindowRect(window, rect)) {
        return false;
    }
    point.x += rect.left;
    point.y += rect.top;
    return true;
}

bool CHostWindowSystemSdl::setWindowTitle(HostWindow window, const CStringW& title) {
    SDL_Window* sdl = sdlWindow(window);
    if (!sdl) {
        return false;
    }
    SDL_SetWindowTitle(sdl, utf16ToUtf8(title.c_str()).c_str());
    return true;
}

void CHostWindowSystemSdl::translate(const SDL_Event& event) {
    if (event.type == m_wakeEvent) {
        HostMessage wake;
        wake.message = WM_NULL;
        postMessage(wake);
        return;
    }
    const HostWindow window = windowOf(CSdlEventTranslator::windowIdOf(event));
    if (window == kNoHostWindow) {
        return;
    }
    HostPoint origin;
    clientToScreen(window, origin);
    m_translator.translate(event, window, origin, m_queue);
}

bool CHostWindowSystemSdl::takeMessage(HostMessage& message) {
    if (m_queue.size() == 0) {
        return false;
    }
    const SdlQueuedMessage queued = m_queue[0];
    m_queue.eraseAt(0);
    message = queued.message;
    if (message.message == WM_KEYDOWN || message.message == WM_KEYUP) {
        m_keys[message.wParam & 0xFF] = message.message == WM_KEYDOWN ? 0x80 : 0;
        m_keys[VK_SHIFT] = (queued.modifiers & KMOD_SHIFT) ? 0x80 : 0;
        m_keys[VK_CONTROL] = (queued.modifiers & KMOD_CTRL) ? 0x80 : 0;
        m_keys[VK_MENU] = (queued.modifiers & KMOD_ALT) ? 0x80 : 0;
    }
    return true;
}

bool CHostWindowSystemSdl::peekMessage(HostMessage& message) {
    // Not SDL_PollEvent: it ends a poll cycle at a marker, and an event queued behind that
    // marker would wait for the next pass.
    if (m_ready && m_queue.size() == 0) {
        SDL_PumpEvents();
    }
    SDL_Event event;
    while (m_ready && m_queue.size() == 0 &&
           SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1) {
        translate(event);
    }
    return takeMessage(message);
}

bool CHostWindowSystemSdl::getMessage(HostMessage& message) {
    SDL_Event event;
    while (m_queue.size() == 0) {
        if (!m_ready || !SDL_WaitEvent(&event)) {
            logSdlError("Could not wait for events: ");
            return false;
        }
        translate(event);
    }
    return takeMessage(message);
}

void CHostWindowSystemSdl::postMessage(const HostMessage& message) {
    SdlQueuedMessage queued;
    queued.message = message;
    m_queue.append(queued);
}

void CHostWindowSystemSdl::postQuitMessage(int32_t exitCode) {
    HostMessage quit;
    quit.message = WM_QUIT;
    quit.wParam = uint64_t(int64_t(exitCode));
    postMessage(quit);
}

// SDL's queue takes events from any thread and wakes a thread that waits on it.
void CHostWindowSystemSdl::wakeMessageWait() {
    if (m_wakeEvent == uint32_t(-1))
        return;
    SDL_Event event{};
    event.type = m_wakeEvent;
    SDL_PushEvent(&event);
}

bool CHostWindowSystemSdl::getDisplayMode(uint32_t index, HostDisplayMode& mode) const {
    // Some drivers list modes without a size; they are left out.
    const int count = m_ready ? SDL_GetNumDisplayModes(kDisplay) : 0;
    uint32_t listed = 0;
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode sdlMode;
        if (SDL_GetDisplayMode(kDisplay, i, &sdlMode) != 0 || sdlMode.w <= 0 || sdlMode.h <= 0) {
            continue;
        }
        if (listed++ == index) {
            mode = hostModeOf(sdlMode);
            return true;
        }
    }
    return false;
}

bool CHostWindowSystemSdl::getDesktopDisplayMode(HostDisplayMode& mode) const {
    SDL_DisplayMode sdlMode;
    if (!m_ready || SDL_GetDesktopDisplayMode(kDisplay, &sdlMode) != 0) {
        return false;
    }
    mode = hostModeOf(sdlMode);
    return true;
}

int32_t CHostWindowSystemSdl::changeDisplayMode(const HostDisplayMode* mode) {
    // SDL changes the display mode through a full-screen window: the one with the full-screen
    // style, else the first.
    HostWindow target = firstWindow();
    for (auto it = m_windows.begin(); it != m_windows.end(); ++it) {
        if (!mode) {
            SDL_SetWindowFullscreen(it->value.sdl, 0);
        } else if (it->value.fullScreen) {
            target = it->key;
        }
    }
    if (!mode) {
        return DISP_CHANGE_SUCCESSFUL;
    }
    SDL_DisplayMode wanted{SDL_PIXELFORMAT_UNKNOWN, mode->width, mode->height, mode->frequency,
                           nullptr};
    SDL_DisplayMode closest;
    if (!m_ready || !SDL_GetClosestDisplayMode(kDisplay, &wanted, &closest) ||
        closest.w != mode->width || closest.h != mode->height) {
        return DISP_CHANGE_BADMODE;
    }
    SDL_Window* sdl = sdlWindow(target);
    if (!sdl || SDL_SetWindowDisplayMode(sdl, &closest) != 0 ||
        SDL_SetWindowFullscreen(sdl, SDL_WINDOW_FULLSCREEN) != 0) {
        return DISP_CHANGE_FAILED;
    }
    return DISP_CHANGE_SUCCESSFUL;
}

HostCursor CHostWindowSystemSdl::createCursor(const uint32_t* argbPixels, int32_t width,
                                              int32_t height, int32_t hotSpotX, int32_t hotSpotY) {
    if (!m_ready || !argbPixels || width <= 0 || height <= 0) {
        return kSystemArrowCursor;
    }
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<uint32_t*>(argbPixels), width, height, 32, width * 4, SDL_PIXELFORMAT_ARGB8888);
    SDL_Cursor* cursor = surface ? SDL_CreateColorCursor(surface, hotSpotX, hotSpotY) : nullptr;
    SDL_FreeSurface(surface);
    if (!cursor) {
        logSdlError("Could not create cursor: ");
        return kSystemArrowCursor;
    }
    m_cursors.insert(m_nextCursor, cursor);
    return m_nextCursor++;
}

void CHostWindowSystemSdl::destroyCursor(HostCursor cursor) {
    auto found = m_cursors.find(cursor);
    if (found == m_cursors.end()) {
        return;
    }
    for (auto it = m_windows.begin(); it != m_windows.end(); ++it) {
        if (it->value.cursor == cursor) {
            it->value.cursor = kSystemArrowCursor;
            applyCursor(kSystemArrowCursor);
        }
    }
    SDL_FreeCursor(found->value);
    m_cursors.erase(cursor);
}

void CHostWindowSystemSdl::setWindowCursor(HostWindow window, HostCursor cursor) {
    auto found = m_windows.find(window);
    if (found != m_windows.end()) {
        found->value.cursor = cursor;
        applyCursor(cursor);
    }
}

// SDL has one pointer shape for all its windows; the game has one window.
void CHostWindowSystemSdl::applyCursor(HostCursor cursor) {
    auto found = m_cursors.find(cursor);
    SDL_SetCursor(found == m_cursors.end() ? SDL_GetDefaultCursor() : found->value);
}

int32_t CHostWindowSystemSdl::showCursor(bool show) {
    m_cursorCount += show ? 1 : -1;
    if (m_ready) {
        SDL_ShowCursor(m_cursorCount >= 0 ? SDL_ENABLE : SDL_DISABLE);
    }
    return m_cursorCount;
}

bool CHostWindowSystemSdl::getCursorPosition(HostPoint& point) const {
    if (!m_ready) {
        return false;
    }
    SDL_GetGlobalMouseState(&point.x, &point.y);
    return true;
}

bool CHostWindowSystemSdl::setCursorPosition(const HostPoint& point) {
    if (!m_ready) {
        return false;
    }
    if (SDL_WarpMouseGlobal(point.x, point.y) == 0) {
        return true;
    }
    // Drivers without a global pointer can still move it within a window.
    const HostWindow window = firstWindow();
    HostPoint origin;
    if (!clientToScreen(window, origin)) {
        return false;
    }
    SDL_WarpMouseInWindow(sdlWindow(window), point.x - origin.x, point.y - origin.y);
    return true;
}

void CHostWindowSystemSdl::setCapture(HostWindow window) {
    if (!isWindow(window)) {
        return;
    }
    m_capture = window;
    // Drivers that cannot capture still keep the record, as Windows would.
    SDL_CaptureMouse(SDL_TRUE);
}

void CHostWindowSystemSdl::releaseCapture() {
    if (m_capture != kNoHostWindow) {
        SDL_CaptureMouse(SDL_FALSE);
    }
    m_capture = kNoHostWindow;
}

void CHostWindowSystemSdl::getKeyboardState(uint8_t state[256]) const {
    std::memcpy(state, m_keys, sizeof(m_keys));
}

bool CHostWindowSystemSdl::setGammaRamp(HostWindow window, const HostGammaRamp& ramp) {
    SDL_Window* sdl = sdlWindow(window);
    return sdl && SDL_SetWindowGammaRamp(sdl, ramp.red, ramp.green, ramp.blue) == 0;
}

bool CHostWindowSystemSdl::getGammaRamp(HostWindow window, HostGammaRamp& ramp) const {
    SDL_Window* sdl = sdlWindow(window);
    return sdl && SDL_GetWindowGammaRamp(sdl, ramp.red, ramp.green, ramp.blue) == 0;
}

bool CHostWindowSystemSdl::openUrl(const CString& url) {
    return m_ready && SDL_OpenURL(url.c_str()) == 0;
}

void CHostWindowSystemSdl::sleep(uint32_t milliseconds) {
    SDL_Delay(milliseconds);
}
