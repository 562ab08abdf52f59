// The application's event map: drawing, the music fade, the window's focus and the developer
// mode's code word and keys.
#include <cstring>

#include "engine/audio/SoundPack.h"
#include "engine/audio/SoundPlayer.h"
#include "engine/core/DeviceDriverEvents.h"
#include "engine/core/Engine.h"
#include "engine/core/EventSystemFlowRender.h"
#include "engine/core/Properties.h"
#include "engine/io/ContentManager.h"
#include "engine/io/IVirtualFileSystem.h"
#include "engine/platform/InputEvents.h"
#include "engine/platform/SystemFlowEvents.h"
#include "engine/scene/SceneManager.h"
#include "engine/scene/SceneNode.h"
#include "engine/video/IRenderDriver.h"
#include "engine/video/QuadBatcher.h"
#include "engine/video/SoftwareImage.h"
#include "game/app/GameApplication.h"

namespace {

constexpr char kCodeWord[8] = {'q', 'u', 'i', 'l', 'l', 'b', 'o', 'x'};
constexpr uint32_t kMapSceneType = 1108;
constexpr int32_t kPausedOutsideMapGroup = 3;
constexpr uint32_t kBarColor = 0xFF000000u;

} // namespace

bool GGameApplication::OnEvent(CEvent& event) {
    return dispatchThroughEventMap(getEventMap(), event);
}

// Every handler answers false, so later receivers see the event too.
const EventMap& GGameApplication::getEventMap() {
    static const EventMapEntry own[] = {
        {CEventVideoDriverCreated::Id,
         &eventHandler<GGameApplication, &GGameApplication::OnVideoDriverCreated>},
        {CEventSystemFlowUpdate::Id, &eventHandler<GGameApplication, &GGameApplication::OnUpdate>},
        {CEventSystemFlowRender::Id, &eventHandler<GGameApplication, &GGameApplication::OnRender>},
        {CEventSystemFlowActivate::Id,
         &eventHandler<GGameApplication, &GGameApplication::OnWindowFocus>},
        {CEventInputKeyDown::Id, &eventHandler<GGameApplication, &GGameApplication::OnKeyDown>},
        {CEventInputKeyUp::Id, &eventHandler<GGameApplication, &GGameApplication::OnKeyUp>},
    };
    static const EventMap map = buildEventMap(CEventReceiver::getEventMap(), own);
    return map;
}

// Textures keep no mip levels and let go of their source images.
bool GGameApplication::OnVideoDriverCreated(CEvent& event) {
    IRenderDriver* driver = static_cast<CEventVideoDriverCreated&>(event).getDriver().get();
    if (driver != nullptr) {
        driver->setTextureOption(TEXTURE_CREATE_MIP_MAPS, false);
        driver->setTextureOption(TEXTURE_RELEASE_SOURCE_IMAGE, true);
    }
    m_engine->setWindowCaption(m_engine->getGlobalProperties()->getStringW("TitleName"));
    fitScreen();
    return false;
}

bool GGameApplication::OnUpdate(CEvent& event) {
    const uint32_t elapsedMs = static_cast<CEventSystemFlowUpdate&>(event).getElapsedMs();
    m_lastUpdateMs = elapsedMs;
    CSoundPlayer* player = soundPlayer();
    if (m_musicFade.step(elapsedMs) && player != nullptr)
        player->setGroupVolume(m_musicFade.getVolume() * 0.01f, 1);
    return false;
}

// The only place a frame is drawn: the scenes, then the bars over whatever lies outside the
// logical screen.
bool GGameApplication::OnRender(CEvent&) {
    IRenderDriver* driver = m_engine->getVideoDriver();
    if (driver == nullptr || !driver->startFrame(true, true, CColor(0), nullptr, nullptr))
        return false;
    if (m_sceneManager)
        m_sceneManager->renderScenes(driver);
    if (CQuadBatcher* batch = driver->getQuadBatcher())
        batch->flush();
    driver->drawRect(CColor(kBarColor), m_screenFit.getFirstBar(), nullptr);
    driver->drawRect(CColor(kBarColor), m_screenFit.getSecondBar(), nullptr);
    driver->presentFrame();
    return false;
}

// The game's clock stands still and the sound is silent while the window is in the background.
bool GGameApplication::OnWindowFocus(CEvent& event) {
    CTimer& timer = *m_engine->getTimer();
    CSoundPlayer* player = soundPlayer();
    if (static_cast<CEventSystemFlowActivate&>(event).isActive()) {
        if (timer.isStopped())
            timer.start();
        if (player == nullptr)
            return false;
        player->setGroupVolume(1.0f, -1);
        SceneNode* scene = m_sceneManager ? m_sceneManager->getCurrentScene() : nullptr;
        if (scene == nullptr || !scene->isKindOf(kMapSceneType))
            player->setGroupPaused(true, kPausedOutsideMapGroup);
        return false;
    }
    if (!timer.isStopped())
        timer.stop();
    if (player != nullptr)
        player->setGroupVolume(0.0f, -1);
    return false;
}

bool GGameApplication::OnKeyDown(CEvent& event) {
    if (!developerMode)
        return false;
    const auto& key = static_cast<CEventInputKeyboard&>(event);
    const bool shiftAndControl = key.isShiftDown() && key.isControlDown();
    switch (key.getVirtualKey()) {
    case 'D':
        switchVideoDriver();
        break;
    case 'F':
        switchFullScreen();
        break;
    case 'S':
        if (shiftAndControl)
            takeScreenshot();
        break;
    case 'M':
        if (shiftAndControl)
            reloadSoundPack();
        break;
    default:
        break;
    }
    return false;
}

// Every release counts, in every scene; only the letters A to Z fold to lower case.
bool GGameApplication::OnKeyUp(CEvent& event) {
    char16_t character = static_cast<CEventInputKeyboard&>(event).getCharacter();
    if (character >= u'A' && character <= u'Z')
        character = char16_t(character - u'A' + u'a');
    std::memmove(m_codeWord, m_codeWord + 1, sizeof(m_codeWord) - 1);
    m_codeWord[sizeof(m_codeWord) - 1] = char(character & 0xFF);
    if (std::memcmp(m_codeWord, kCodeWord, sizeof(kCodeWord)) == 0) {
        developerMode = true;
        std::memset(m_codeWord, 0, sizeof(m_codeWord));
    }
    return false;
}

// Direct3D 8, Direct3D 9, OpenGL and round again; the driver-created event refits the screen.
void GGameApplication::switchVideoDriver() {
    const uint32_t type = m_deviceParameters.driverType;
    m_deviceParameters.driverType = type == 1 ? 2 : type == 2 ? 3 : 1;
    applyDeviceParameters();
}

void GGameApplication::switchFullScreen() {
    m_deviceParameters.fullScreen = !m_deviceParameters.fullScreen;
    m_deviceParameters.width = 1024;
    m_deviceParameters.height = 768;
    if (m_deviceParameters.fullScreen)
        m_deviceParameters.bits = 32;
    applyDeviceParameters();
}

void GGameApplication::applyDeviceParameters() {
    m_engine->setParameters(m_deviceParameters);
}

// "screenshot<N>.jpg" in the user data folder, N the first number whose file does not exist.
void GGameApplication::takeScreenshot() {
    IRenderDriver* driver = m_engine->getVideoDriver();
    if (driver == nullptr || !m_contentManager)
        return;
    const CRefPointer<CSoftwareImage> image = driver->captureScreen();
    IVirtualFileSystem& fileSystem = *m_engine->getFileSystem();
    const CStringW folder = fileSystem.getUserDataFolder();
    if (!image || folder.isEmpty())
        return;
    for (uint32_t number = 0; number < UINT32_MAX; ++number) {
        const CStringW name = folder + u"/screenshot" + CStringW(number) + u".jpg";
        if (!fileSystem.fileExists(name, false)) {
            m_contentManager->save(contentType("imag"), image.get(), name, 0);
            return;
        }
    }
}

// A pack that does not load leaves the player without cues.
void GGameApplication::reloadSoundPack() {
    CSoundPlayer* player = soundPlayer();
    if (player == nullptr || !m_contentManager)
        return;
    player->removeAllCues();
    const CRefPointer<CContent> pack =
        m_contentManager->load(SoundPack::kContentType, u"sounds/SoundPack.xml", true);
    if (pack)
        static_cast<SoundPack*>(pack.get())->addCuesTo(*player);
}
