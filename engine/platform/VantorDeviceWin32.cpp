#include "engine/platform/VantorDeviceWin32.h"

#include "engine/audio/IAudioDriver.h"
#include "engine/audio/NullAudioDriver.h"
#include "engine/core/DeviceDriverEvents.h"
#include "engine/core/EngineServices.h"
#include "engine/core/Logger.h"
#include "engine/core/Properties.h"
#include "engine/core/Utf.h"
#include "engine/io/SystemInfoLinux.h"
#include "engine/io/VirtualFileSystem.h"
#include "engine/platform/DriverFactories.h"
#include "engine/platform/MouseCursorWin32.h"
#include "engine/platform/VideoModeList.h"
#include "engine/video/NullRenderDriver.h"
#include "engine/video/d3d/D3DDriverFactories.h"

namespace {

constexpr uint32_t kLagCap = 200;
constexpr uint32_t kInactiveStep = 200;

// Width and height of -1 keep an adopted window's own size.
constexpr uint32_t kKeepSize = 0xFFFFFFFFu;

void logError(const char* text) {
    CLogger::instance()->logChars(text, CLogger::LevelError);
}

void logInfo(const CString& text) {
    CLogger::instance()->logNarrow(text, CLogger::LevelInformation);
}

CString sizeText(const char* text, int32_t width, int32_t height) {
    CString line(text);
    line.append(int(width)).append(" ").append(int(height)).append(")");
    return line;
}

} // namespace

CVantorDeviceWin32::CVantorDeviceWin32(const CreationParameters& parameters,
                                       IHostWindowSystem& host, IClipboard* clipboard,
                                       IClockSource& clock)
    : CEngine(parameters, clock), m_host(host) {
    m_systemInfo = CServiceReference<ISystemInfo>::adopt(new CSystemInfoLinux(clipboard));
    CLogger::instance()->log(m_systemInfo->getVersionText(), CLogger::LevelInformation);
    m_fileSystem = CServiceReference<IVirtualFileSystem>::adopt(new CVirtualFileSystem());
    m_displayModeList = CServiceReference<CVideoModeList>::adopt(new CVideoModeList());
    fillDisplayModes();
    createWindow();
    createAudioDriver();
    createVideoDriver();
    createSubsystems();
}

// The window goes before the engine releases the rest; the video driver first, as it may
// draw into the window. Everyone holding the driver lets go of it first, as at a driver change:
// the window takes GL with it, and a driver released after that would call into nothing.
CVantorDeviceWin32::~CVantorDeviceWin32() {
    if (m_window != kNoHostWindow)
        m_host.setWindowProcedure(m_window, nullptr);
    if (m_parameters.fullScreen)
        restoreDesktopMode();
    if (m_videoDriver.get() != nullptr)
        post(new CEventVideoDriverRemoved());
    m_videoDriver.reset();
    m_cursor = nullptr;
    m_cursorControl.reset();
    destroyOwnWindow();
}

void CVantorDeviceWin32::destroyOwnWindow() {
    if (m_window != kNoHostWindow && !m_externalWindow)
        m_host.destroyWindow(m_window);
    m_window = kNoHostWindow;
}

void CVantorDeviceWin32::fillDisplayModes() {
    CVideoModeList& list = *m_displayModeList.get();
    HostDisplayMode mode;
    for (uint32_t index = 0; m_host.getDisplayMode(index, mode); ++index)
        list.addMode({mode.width, mode.height, mode.bitsPerPixel});
    if (m_host.getDesktopDisplayMode(mode)) {
        list.setDesktopMode({mode.width, mode.height, mode.bitsPerPixel});
        list.setScreenMetrics({mode.width, mode.height, mode.bitsPerPixel});
    }
}

bool CVantorDeviceWin32::createWindow() {
    if (m_parameters.driverType == 0)
        return false;
    if (m_window != kNoHostWindow) {
        m_parameters.windowHandle = m_window;
        return true;
    }
    if (m_parameters.windowHandle != 0) {
        if (!adoptWindow())
            return false;
    } else {
        const HostRect rect = placement();
        HostWindowDesc desc;
        desc.title = utf16ToUtf8(m_globalProperties->getStringW("TitleCaption").c_str());
        desc.x = rect.left;
        desc.y = rect.top;
        desc.width = int32_t(m_parameters.width);
        desc.height = int32_t(m_parameters.height);
        desc.fullScreen = m_parameters.fullScreen;
        m_window = m_host.createWindow(desc);
        if (m_window == kNoHostWindow) {
            logError("Can't create window");
            return false;
        }
        m_parameters.windowHandle = m_window;
    }
    m_visible = true;
    m_active = true;
    m_windowDestroyed = false;
    m_host.setWindowProcedure(m_window, this);
    m_cursor = new CMouseCursorWin32(m_host, m_window);
    m_cursor->setFullScreen(m_parameters.fullScreen);
    m_cursorControl = CRefPointer<ICursorControl>(m_cursor);
    return true;
}

// The host pumps an adopted window's messages; the device only draws into it.
bool CVantorDeviceWin32::adoptWindow() {
    const HostWindow window = m_parameters.windowHandle;
    HostRect rect;
    if (!m_host.isWindow(window) || !m_host.getWindowRect(window, rect)) {
        logError("Can't create window");
        return false;
    }
    m_window = window;
    m_externalWindow = true;
    if (m_parameters.width != kKeepSize && m_parameters.height != kKeepSize) {
        m_host.moveWindow(window, {rect.left, rect.top, rect.left + int32_t(m_parameters.width),
                                   rect.top + int32_t(m_parameters.height)});
    } else {
        m_parameters.width = uint32_t(rect.width());
        m_parameters.height = uint32_t(rect.height());
        m_parameters.fullScreen = false;
    }
    return true;
}

// Full screen at the top-left corner; windowed centred on the desktop.
HostRect CVantorDeviceWin32::placement() const {
    HostRect rect{0, 0, int32_t(m_parameters.width), int32_t(m_parameters.height)};
    m_host.adjustWindowRect(rect, m_parameters.fullScreen);
    const int32_t width = rect.width();
    const int32_t height = rect.height();
    int32_t left = 0;
    int32_t top = 0;
    if (!m_parameters.fullScreen) {
        const CVideoMode& screen = m_displayModeList->getScreenMetrics();
        left = (screen.width - width) / 2;
        top = (screen.height - height) / 2;
    }
    return {left, top, left + width, top + height};
}

void CVantorDeviceWin32::placeWindow() {
    if (m_externalWindow || m_window == kNoHostWindow)
        return;
    m_host.moveWindow(m_window, placement());
    if (!m_parameters.fullScreen)
        m_host.showWindow(m_window, SW_SHOW);
}

bool CVantorDeviceWin32::createVideoDriver() {
    if (!m_externalWindow && m_window != kNoHostWindow)
        m_host.setWindowStyle(m_window, m_parameters.fullScreen);
    CRefPointer<IRenderDriver> driver = makeVideoDriver();
    if (!driver)
        return false;
    placeWindow();
    m_visible = true;
    m_active = true;
    m_videoDriver = CServiceReference<IRenderDriver>::adopt(driver.detach());
    post(new CEventVideoDriverCreated(m_videoDriver));
    return true;
}

CRefPointer<IRenderDriver> CVantorDeviceWin32::makeVideoDriver() {
    IVirtualFileSystem* fileSystem = m_fileSystem.get();
    CRefPointer<IRenderDriver> driver;
    switch (m_parameters.driverType) {
    case 0:
        return createNullRenderDriver(m_parameters, fileSystem, m_timer);
    case 1:
        driver = createD3D8Driver(m_parameters, fileSystem);
        if (!driver)
            logError("Could not create DIRECT3D8 Driver.");
        return driver;
    case 2:
        driver = createD3D9Driver(m_parameters, fileSystem);
        if (!driver)
            logError("Could not create DIRECT3D9 Driver.");
        return driver;
    case 3:
        if (m_parameters.fullScreen)
            enterFullscreenMode(m_parameters.width, m_parameters.height, m_parameters.bits);
        if (const OpenGLDriverFactory factory = openGLDriverFactory())
            driver = factory(m_parameters, fileSystem, m_timer, m_host);
        if (!driver)
            logError("Could not create OpenGL driver.");
        return driver;
    case 4:
        logError("OpenGLES1 driver was not compiled in.");
        return driver;
    default:
        logError("Unable to create video driver of unknown type.");
        return driver;
    }
}

bool CVantorDeviceWin32::createAudioDriver() {
    CRefPointer<IAudioDriver> driver = makeAudioDriver();
    if (!driver)
        return false;
    logInfo(CString("Using audio: ").append(driver->getName()));
    m_audioDriver = CServiceReference<IAudioDriver>::adopt(driver.detach());
    post(new CEventAudioDriverCreated(m_audioDriver));
    addReceiver(m_audioDriver.asReceiver(), 1);
    return true;
}

CRefPointer<IAudioDriver> CVantorDeviceWin32::makeAudioDriver() {
    CSoundLoaderManager* loaders = CEngineServices::instance()->getSoundLoaderManager();
    CRefPointer<IVirtualFileSystem> fileSystem =
        CRefPointer<IVirtualFileSystem>::share(m_fileSystem.get());
    CRefPointer<IAudioDriver> driver;
    switch (m_parameters.audio.driverType) {
    case 0:
        return CRefPointer<IAudioDriver>(
            new CNullAudioDriver(m_parameters.audio, fileSystem, loaders));
    case 1:
        if (const OpenALDriverFactory factory = openALDriverFactory())
            driver = factory(m_parameters.audio, fileSystem.get(), loaders);
        if (!driver)
            logError("Could not create OpenAL Audio Driver.");
        return driver;
    default:
        logError("Unable to create audio driver of unknown type.");
        return driver;
    }
}

bool CVantorDeviceWin32::replaceAudioDriver(const AudioParameters& parameters) {
    m_parameters.audio = parameters;
    if (m_audioDriver.get() != nullptr) {
        post(new CEventAudioDriverRemoved());
        removeReceiver(m_audioDriver.asReceiver());
        m_audioDriver.reset();
    }
    return createAudioDriver();
}

bool CVantorDeviceWin32::setParameters(const CreationParameters& parameters) {
    const bool wasFullScreen = m_parameters.fullScreen;
    const AudioParameters audio = m_parameters.audio;
    m_parameters = parameters;
    m_parameters.audio = audio;
    if (m_cursor != nullptr)
        m_cursor->setFullScreen(m_parameters.fullScreen);
    if (m_videoDriver.get() != nullptr) {
        post(new CEventVideoDriverRemoved());
        m_videoDriver.reset();
    }
    if (wasFullScreen && !m_parameters.fullScreen)
        restoreDesktopMode();
    if (m_parameters.fullScreen && m_parameters.useDesktopResolution) {
        const CVideoMode& desktop = m_displayModeList->getDesktopMode();
        m_parameters.width = uint32_t(desktop.width);
        m_parameters.height = uint32_t(desktop.height);
    }
    createWindow();
    const bool created = createVideoDriver();
    if (m_window != kNoHostWindow)
        m_host.activateWindow(m_window);
    return created;
}

bool CVantorDeviceWin32::enterFullscreenMode(uint32_t width, uint32_t height, uint32_t bits) {
    HostDisplayMode mode;
    m_host.getDesktopDisplayMode(mode);
    mode.width = int32_t(width);
    mode.height = int32_t(height);
    mode.bitsPerPixel = int32_t(bits);
    int32_t result = m_host.changeDisplayMode(&mode);
    if (result != DISP_CHANGE_SUCCESSFUL) {
        mode.frequency = 0;
        result = m_host.changeDisplayMode(&mode);
    }
    switch (result) {
    case DISP_CHANGE_SUCCESSFUL:
        m_parameters.fullScreen = true;
        return true;
    case DISP_CHANGE_RESTART:
        logError("Switch to fullscreen: The computer must be restarted in order for the graphics "
                 "mode to work.");
        return false;
    case DISP_CHANGE_FAILED:
        logError("Switch to fullscreen: The display driver failed the specified graphics mode.");
        return false;
    case DISP_CHANGE_BADMODE:
        logError("Switch to fullscreen: The graphics mode is not supported.");
        return false;
    case DISP_CHANGE_BADFLAGS:
        logError("Switch to fullscreen: An invalid set of flags was passed in.");
        return false;
    case DISP_CHANGE_BADPARAM:
        logError("Switch to fullscreen: An invalid parameter was passed in. This can include an "
                 "invalid flag or combination of flags.");
        return false;
    default:
        logError("An unknown error occured while changing to fullscreen.");
        return false;
    }
}

void CVantorDeviceWin32::restoreDesktopMode() {
    m_host.changeDisplayMode(nullptr);
}

void CVantorDeviceWin32::applyPendingResize() {
    if (!m_resizePending || m_videoDriver.get() == nullptr)
        return;
    m_resizePending = false;
    HostRect client;
    if (!m_host.getClientRect(m_window, client))
        client = HostRect();
    if (client.width() < 2 || client.height() < 2) {
        logInfo(sizeText("Ignoring resize operation to (", client.width(), client.height()));
        return;
    }
    CPixelSize size{uint32_t(client.width()), uint32_t(client.height())};
    if (m_parameters.fullScreen &&
        (size.width != m_parameters.width || size.height != m_parameters.height)) {
        placeWindow();
        size = {m_parameters.width, m_parameters.height};
    }
    logInfo(sizeText("Resizing window (", client.width(), client.height()));
    m_videoDriver->handleResize(size);
}

bool CVantorDeviceWin32::runOnce() {
    m_timer->tick();
    if (!m_externalWindow) {
        HostMessage message;
        const bool taken = m_visible ? m_host.peekMessage(message) : m_host.getMessage(message);
        if (taken) {
            if (message.message == WM_QUIT)
                return false;
            m_host.dispatchMessage(message);
            return true;
        }
    }
    applyPendingResize();
    bool update = m_externalWindow || m_visible;
    bool render = update && !m_active;
    if (!m_active && m_parameters.fullScreen) {
        update = false;
        render = false;
    }
    stepFrame(update, render, m_active ? m_minUpdateInterval : kInactiveStep,
              m_active ? m_maxUpdateStep : kInactiveStep, kLagCap);
    if (m_externalWindow)
        return true;
    if (!update || !m_active)
        sleep(20, false);
    else if (m_minUpdateInterval > 0)
        sleep(1, false);
    return true;
}

void CVantorDeviceWin32::sleep(uint32_t milliseconds, bool pauseTimer) {
    if (pauseTimer && !m_timer->isStopped()) {
        m_timer->stop();
        m_host.sleep(milliseconds);
        m_timer->start();
        return;
    }
    m_host.sleep(milliseconds);
}

void CVantorDeviceWin32::closeDevice() {
    CEngine::closeDevice();
    if (m_window == kNoHostWindow)
        return;
    HostMessage close;
    close.window = m_window;
    close.message = WM_CLOSE;
    m_host.sendMessage(close);
}

bool CVantorDeviceWin32::setWindowCaption(const CStringW& text) {
    return m_window != kNoHostWindow && m_host.setWindowTitle(m_window, text);
}

bool CVantorDeviceWin32::isMinimised() const {
    int32_t showCommand = SW_HIDE;
    return m_host.getShowCommand(m_window, showCommand) && showCommand == SW_SHOWMINIMIZED;
}

bool CVantorDeviceWin32::setGammaRamp(float red, float green, float blue, float brightness,
                                      float contrast) {
    HostGammaRamp ramp;
    buildGammaRamp(ramp.red, red, brightness, contrast);
    buildGammaRamp(ramp.green, green, brightness, contrast);
    buildGammaRamp(ramp.blue, blue, brightness, contrast);
    return m_host.setGammaRamp(m_window, ramp);
}

bool CVantorDeviceWin32::getGammaRamp(float& red, float& green, float& blue, float& brightness,
                                      float& contrast) {
    brightness = 0.0f;
    contrast = 0.0f;
    HostGammaRamp ramp;
    if (!m_host.getGammaRamp(m_window, ramp))
        return false;
    estimateGamma(red, ramp.red);
    estimateGamma(green, ramp.green);
    estimateGamma(blue, ramp.blue);
    return true;
}

bool CVantorDeviceWin32::openUrl(const CString& url) {
    if (m_host.openUrl(url))
        return true;
    CLogger::instance()->logNarrow(CString("Unable to open URL: ").append(url),
                                   CLogger::LevelWarning);
    return false;
}

// An adopted window belongs to its host, which decides where it stands.
void CVantorDeviceWin32::raiseWindow() {
    if (m_window == kNoHostWindow || m_externalWindow)
        return;
    m_host.activateWindow(m_window);
    if (isMinimised())
        m_host.showWindow(m_window, SW_RESTORE);
}

bool CVantorDeviceWin32::post(CEvent* event) {
    CRefPointer<CEvent> owner(event);
    return postEvent(*owner);
}
