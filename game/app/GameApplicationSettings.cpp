// The player's settings as the application applies them: volumes and music, cursor and full
// screen, the music lowered under a level's sound, and the fit of the logical screen.
#include "engine/audio/SoundPlayer.h"
#include "engine/core/Engine.h"
#include "engine/core/NameId.h"
#include "engine/io/ContentManager.h"
#include "engine/io/ProfileParameters.h"
#include "engine/platform/VideoModeList.h"
#include "engine/scene/SceneManager.h"
#include "engine/video/IRenderDriver.h"
#include "engine/video/SoftwareImage.h"
#include "game/app/GameApplication.h"

namespace {

constexpr int32_t kMusicGroup = 1;
constexpr int32_t kSoundGroups[] = {0, 2, 3};
// A desktop must be this tall for a window of 768 pixels to fit with its frame.
constexpr int32_t kWindowedDesktopHeight = 768 + 20;

} // namespace

void GGameApplication::applySoundSettings() {
    CProfileParameters* profile = activeProfile();
    CSoundPlayer* player = soundPlayer();
    if (profile == nullptr || player == nullptr)
        return;
    const bool soundOn = profile->getBool("SoundOn");
    const bool musicOn = profile->getBool("MusicOn");
    const float soundVolume = soundOn ? profile->getFloat("SoundVolume") * 0.01f : 0.0f;
    for (int32_t group : kSoundGroups)
        player->setGroupVolume(soundVolume, group);
    player->setGroupVolume(musicOn ? profile->getFloat("MusicVolume") * 0.01f : 0.0f, kMusicGroup);
    if (musicOn) {
        if (m_sceneManager && m_sceneManager->getCurrentScene() != nullptr)
            player->playCue(CNameId(CString("MenuMusic")), true, 0);
    } else {
        player->stopGroup(kMusicGroup);
    }
    if (!soundOn) {
        for (int32_t group : kSoundGroups)
            player->stopGroup(group);
    }
}

// The cursor is set last, so that it holds on a device made again.
void GGameApplication::applyDisplaySettings() {
    CProfileParameters* profile = activeProfile();
    if (profile == nullptr)
        return;
    const bool fullScreen = profile->getBool("FullScreen");
    if (fullScreen != m_deviceParameters.fullScreen && (fullScreen || canShowWindow())) {
        m_deviceParameters.fullScreen = fullScreen;
        m_deviceParameters.width = 1024;
        m_deviceParameters.height = 768;
        applyDeviceParameters();
    }
    setCursorImage();
}

bool GGameApplication::canShowWindow() const {
    return m_engine &&
           m_engine->getDisplayModeList()->getDesktopMode().height >= kWindowedDesktopHeight;
}

// The game's own cursor image unless the player chose the system's; an image that does not
// load leaves the cursor as it was.
void GGameApplication::setCursorImage() {
    ICursorControl* cursor = m_engine->getCursorControl();
    if (cursor == nullptr)
        return;
    if (activeProfile()->getBool("WindowsCursor")) {
        cursor->setCursorImage(nullptr, 0, 0);
        return;
    }
    if (!m_contentManager)
        return;
    const CRefPointer<CContent> image =
        m_contentManager->load(contentType("imag"), u"scenes/images/Cursor.png", true);
    if (image)
        cursor->setCursorImage(static_cast<CSoftwareImage*>(image.get()), 3, 2);
}

// Only while the player hears both sound and music, and only when the lowered level (30
// points under the sound's) lies below the music.
void GGameApplication::duckMusic(bool restore) {
    CProfileParameters* profile = activeProfile();
    if (profile == nullptr || !profile->getBool("SoundOn") || !profile->getBool("MusicOn"))
        return;
    const float musicVolume = profile->getFloat("MusicVolume");
    const float soundVolume = profile->getFloat("SoundVolume");
    if (soundVolume < 10.0f || musicVolume + 30.0f < soundVolume)
        return;
    if (restore)
        m_musicFade.restore(musicVolume);
    else
        m_musicFade.lower(musicVolume, soundVolume - 30.0f);
}

// Before the first scene manager exists there is nothing to place.
void GGameApplication::fitScreen() {
    IRenderDriver* driver = m_engine ? m_engine->getVideoDriver() : nullptr;
    if (!m_sceneManager || driver == nullptr)
        return;
    const CPixelSize size = driver->getBackBufferSize();
    if (!m_screenFit.fit(int32_t(size.width), int32_t(size.height)))
        return;
    const CVector3d& offset = m_screenFit.getOffset();
    m_sceneManager->setPosition(CVector3d(offset.x, offset.y, 0));
    m_sceneManager->setScale(m_screenFit.getScale());
}
