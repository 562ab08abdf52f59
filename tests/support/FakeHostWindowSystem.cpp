#include "support/FakeHostWindowSystem.h"

#include <cstring>

#include "engine/core/Utf.h"

namespace {

const char* styleName(bool fullScreen) {
    return fullScreen ? " fullscreen" : " windowed";
}

CString withNumber(const char* text, int32_t number) {
    CString line(text);
    line.append(int(number));
    return line;
}

} // namespace

FakeHostWindowSystem::FakeHostWindowSystem() = default;

FakeHostWindowSystem::~FakeHostWindowSystem() {
    destroyAllWindows();
}

FakeHostWindowSystem::Window* FakeHostWindowSystem::window(HostWindow window) {
    auto found = m_windows.find(window);
    return found == m_windows.end() ? nullptr : &found->value;
}

const FakeHostWindowSystem::Window* FakeHostWindowSystem::findWindow(HostWindow window) const {
    auto found = m_windows.find(window);
    return found == m_windows.end() ? nullptr : &found->value;
}

const FakeHostWindowSystem::Cursor* FakeHostWindowSystem::cursor(HostCursor cursor) const {
    auto found = m_cursors.find(cursor);
    return found == m_cursors.end() ? nullptr : &found->value;
}

void FakeHostWindowSystem::setKeyDown(uint32_t virtualKey, bool down) {
    m_keys[virtualKey & 0xFF] = down ? 0x80 : 0;
}

int32_t FakeHostWindowSystem::findCall(const char* text, uint32_t from) const {
    for (uint32_t i = from; i < m_calls.size(); ++i) {
        if (m_calls[i] == text) {
            return int32_t(i);
        }
    }
    return -1;
}

uint32_t FakeHostWindowSystem::countCalls(const char* text) const {
    uint32_t count = 0;
    for (uint32_t i = 0; i < m_calls.size(); ++i) {
        count += m_calls[i] == text ? 1 : 0;
    }
    return count;
}

void FakeHostWindowSystem::log(const CString& line) {
    m_calls.append(line);
}

bool FakeHostWindowSystem::openWindow(HostWindow window, const HostWindowDesc& desc) {
    CString line("createWindow ");
    line.append(int(desc.width)).append("x").append(int(desc.height));
    log(line.append(styleName(desc.fullScreen)));
    if (failures.createWindow) {
        return false;
    }
    Window record;
    record.fullScreen = desc.fullScreen;
    record.title = utf8ToUtf16(desc.title.c_str());
    HostRect rect{0, 0, desc.width, desc.height};
    adjustWindowRect(rect, desc.fullScreen);
    record.rect = {desc.x, desc.y, desc.x + rect.width(), desc.y + rect.height()};
    m_windows.insert(window, record);
    return true;
}

void FakeHostWindowSystem::closeWindow(HostWindow window) {
    log(withNumber("destroyWindow ", int32_t(window)));
    if (m_capture == window) {
        m_capture = kNoHostWindow;
    }
    m_windows.erase(window);
}

void FakeHostWindowSystem::setWindowStyle(HostWindow window, bool fullScreen) {
    log(withNumber("setWindowStyle ", int32_t(window)).append(styleName(fullScreen)));
    if (Window* record = this->window(window)) {
        record->fullScreen = fullScreen;
    }
}

void FakeHostWindowSystem::adjustWindowRect(HostRect& rect, bool fullScreen) const {
    if (!fullScreen) {
        rect.left -= frameBorder;
        rect.right += frameBorder;
        rect.top -= frameBorder + frameCaption;
        rect.bottom += frameBorder;
    }
}

bool FakeHostWindowSystem::moveWindow(HostWindow window, const HostRect& windowRect) {
    CString line = withNumber("moveWindow ", int32_t(window));
    line.append(" ").append(int(windowRect.left)).append(",").append(int(windowRect.top));
    log(line.append(" ")
            .append(int(windowRect.width()))
            .append("x")
            .append(int(windowRect.height())));
    Window* record = this->window(window);
    if (!record || failures.moveWindow) {
        return false;
    }
    record->rect = windowRect;
    return true;
}

void FakeHostWindowSystem::showWindow(HostWindow window, int32_t showCommand) {
    log(withNumber("showWindow ", int32_t(window)).append(" ").append(int(showCommand)));
    if (Window* record = this->window(window)) {
        record->showCommand = showCommand == SW_MINIMIZE ? SW_SHOWMINIMIZED
                              : showCommand == SW_SHOW || showCommand == SW_RESTORE ? SW_SHOWNORMAL
                                                                                    : showCommand;
    }
}

void FakeHostWindowSystem::activateWindow(HostWindow window) {
    log(withNumber("activateWindow ", int32_t(window)));
}

bool FakeHostWindowSystem::getShowCommand(HostWindow window, int32_t& showCommand) const {
    const Window* record = findWindow(window);
    if (!record || failures.showCommand) {
        return false;
    }
    showCommand = record->showCommand;
    return true;
}

bool FakeHostWindowSystem::getWindowRect(HostWindow window, HostRect& rect) const {
    const Window* record = findWindow(window);
    if (!record || failures.windowRect) {
        return false;
    }
    rect = record->rect;
    return true;
}

bool FakeHostWindowSystem::getClientRect(HostWindow window, HostRect& rect) const {
    const Window* record = findWindow(window);
    if (!record || failures.windowRect) {
        return false;
    }
    HostRect frame{0, 0, 0, 0};
    adjustWindowRect(frame, record->fullScreen);
    rect = {0, 0, record->rect.width() - frame.width(), record->rect.height() - frame.height()};
    return true;
}

bool FakeHostWindowSystem::clientToScreen(HostWindow window, HostPoint& point) const {
    const Window* record = findWindow(window);
    if (!record) {
        return false;
    }
    HostRect frame{0, 0, 0, 0};
    adjustWindowRect(frame, record->fullScreen);
    point.x += record->rect.left - frame.left;
    point.y += record->rect.top - frame.top;
    return true;
}

bool FakeHostWindowSystem::setWindowTitle(HostWindow window, const CStringW& title) {
    log(withNumber("setWindowTitle ", int32_t(window))
            .append(" ")
            .append(utf16ToUtf8(title.c_str())));
    Window* record = this->window(window);
    if (!record) {
        return false;
    }
    record->title = title;
    return true;
}

bool FakeHostWindowSystem::takeMessage(HostMessage& message) {
    if (m_queue.size() == 0 && m_wakesTaken < m_wakes.load()) {
        ++m_wakesTaken;
        message = HostMessage();
        return true;
    }
    if (m_queue.size() == 0) {
        return false;
    }
    message = m_queue[0];
    m_queue.eraseAt(0);
    return true;
}

bool FakeHostWindowSystem::peekMessage(HostMessage& message) {
    log("peekMessage");
    return takeMessage(message);
}

bool FakeHostWindowSystem::getMessage(HostMessage& message) {
    log("getMessage");
    return takeMessage(message);
}

void FakeHostWindowSystem::postMessage(const HostMessage& message) {
    m_queue.append(message);
}

void FakeHostWindowSystem::postQuitMessage(int32_t exitCode) {
    log(withNumber("postQuitMessage ", exitCode));
    HostMessage quit;
    quit.message = WM_QUIT;
    quit.wParam = uint64_t(int64_t(exitCode));
    m_queue.append(quit);
}

bool FakeHostWindowSystem::getDisplayMode(uint32_t index, HostDisplayMode& mode) const {
    if (index >= displayModes.size()) {
        return false;
    }
    mode = displayModes[index];
    return true;
}

bool FakeHostWindowSystem::getDesktopDisplayMode(HostDisplayMode& mode) const {
    mode = desktopMode;
    return true;
}

int32_t FakeHostWindowSystem::changeDisplayMode(const HostDisplayMode* mode) {
    if (!mode) {
        log("changeDisplayMode desktop");
        currentMode = desktopMode;
        return DISP_CHANGE_SUCCESSFUL;
    }
    CString line("changeDisplayMode ");
    line.append(int(mode->width)).append("x").append(int(mode->height)).append("x");
    log(line.append(int(mode->bitsPerPixel)).append("@").append(int(mode->frequency)));
    if (failures.changeDisplayMode == DISP_CHANGE_SUCCESSFUL) {
        currentMode = *mode;
    }
    return failures.changeDisplayMode;
}

HostCursor FakeHostWindowSystem::createCursor(const uint32_t* argbPixels, int32_t width,
                                              int32_t height, int32_t hotSpotX, int32_t hotSpotY) {
    CString line("createCursor ");
    line.append(int(width)).append("x").append(int(height)).append(" hot ");
    log(line.append(int(hotSpotX)).append(",").append(int(hotSpotY)));
    if (failures.createCursor || !argbPixels || width <= 0 || height <= 0) {
        return kSystemArrowCursor;
    }
    Cursor record;
    record.width = width;
    record.height = height;
    record.hotSpot = {hotSpotX, hotSpotY};
    for (int32_t i = 0; i < width * height; ++i) {
        record.pixels.append(argbPixels[i]);
    }
    m_cursors.insert(m_nextCursor, record);
    return m_nextCursor++;
}

void FakeHostWindowSystem::destroyCursor(HostCursor cursor) {
    log(withNumber("destroyCursor ", int32_t(cursor)));
    m_cursors.erase(cursor);
}

void FakeHostWindowSystem::setWindowCursor(HostWindow window, HostCursor cursor) {
    log(withNumber("setWindowCursor ", int32_t(window)).append(" ").append(int(cursor)));
    if (Window* record = this->window(window)) {
        record->cursor = cursor;
    }
}

int32_t FakeHostWindowSystem::showCursor(bool show) {
    log(show ? "showCursor 1" : "showCursor 0");
    m_cursorCount += show ? 1 : -1;
    return m_cursorCount;
}

bool FakeHostWindowSystem::getCursorPosition(HostPoint& point) const {
    point = cursorPosition;
    return true;
}

bool FakeHostWindowSystem::setCursorPosition(const HostPoint& point) {
    log(withNumber("setCursorPosition ", point.x).append(",").append(int(point.y)));
    cursorPosition = point;
    return true;
}

void FakeHostWindowSystem::setCapture(HostWindow window) {
    log(withNumber("setCapture ", int32_t(window)));
    m_capture = isWindow(window) ? window : kNoHostWindow;
}

void FakeHostWindowSystem::releaseCapture() {
    log("releaseCapture");
    m_capture = kNoHostWindow;
}

void FakeHostWindowSystem::getKeyboardState(uint8_t state[256]) const {
    std::memcpy(state, m_keys, sizeof(m_keys));
}

bool FakeHostWindowSystem::setGammaRamp(HostWindow, const HostGammaRamp& ramp) {
    log("setGammaRamp");
    if (failures.gammaRamp) {
        return false;
    }
    gammaRamp = ramp;
    return true;
}

bool FakeHostWindowSystem::getGammaRamp(HostWindow, HostGammaRamp& ramp) const {
    if (failures.gammaRamp) {
        return false;
    }
    ramp = gammaRamp;
    return true;
}

bool FakeHostWindowSystem::openUrl(const CString& url) {
    log(CString("openUrl ").append(url));
    return !failures.openUrl;
}

void FakeHostWindowSystem::sleep(uint32_t milliseconds) {
    log(withNumber("sleep ", int32_t(milliseconds)));
    tickCount += milliseconds;
}
