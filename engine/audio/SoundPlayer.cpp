#include "engine/audio/SoundPlayer.h"

#include <utility>

#include "engine/core/DeviceDriverEvents.h"
#include "engine/core/Engine.h"

CSoundPlayer::CSoundPlayer(CRefPointer<IAudioDriver> driver) : m_driver(std::move(driver)) {
    setCategoryMask(CEvent::CategoryDevice | CEvent::CategorySystem);
}

CRefPointer<CSoundPlayer> CSoundPlayer::create(CEngine& engine) {
    return CRefPointer<CSoundPlayer>(
        new CSoundPlayer(CRefPointer<IAudioDriver>::share(engine.getAudioDriver())));
}

CSoundPlayer::~CSoundPlayer() {
    removeAllCues();
}

bool CSoundPlayer::OnEvent(CEvent& event) {
    return dispatchThroughEventMap(getEventMap(), event);
}

const EventMap& CSoundPlayer::getEventMap() {
    static const EventMapEntry own[] = {
        {CEventSystemFlowUpdate::Id, &eventHandler<CSoundPlayer, &CSoundPlayer::update>},
        {CEventAudioDriverRemoved::Id,
         &eventHandler<CSoundPlayer, &CSoundPlayer::onAudioDriverRemoved>},
        {CEventAudioDriverCreated::Id,
         &eventHandler<CSoundPlayer, &CSoundPlayer::onAudioDriverCreated>},
    };
    static const EventMap map = buildEventMap(CEventReceiver::getEventMap(), own);
    return map;
}

CRefPointer<SoundCue> CSoundPlayer::playCue(CNameId name, bool exclusive, int32_t fadeInMs) {
    if (exclusive && isCuePlaying(name))
        return nullptr;
    const auto found = m_cues.find(name);
    if (found == m_cues.end())
        return nullptr;
    SoundCue& cue = *found->value;
    if (fadeInMs == 0)
        fadeInMs = getGroupSettings(cue.getGroup()).fadeInMs;
    return cue.play(fadeInMs);
}

void CSoundPlayer::stopCue(CNameId name, int32_t fadeOutMs) {
    SoundCue* cue = findPlaying(name);
    if (!cue)
        return;
    cue->stop(fadeOutMs != 0 ? fadeOutMs : getGroupSettings(cue->getGroup()).fadeOutMs);
}

bool CSoundPlayer::isCuePlaying(CNameId name) const {
    return findPlaying(name) != nullptr;
}

SoundCue* CSoundPlayer::findPlaying(CNameId name) const {
    for (const CRefPointer<SoundCue>& instance : m_playing) {
        if (instance->getName() == name)
            return instance.get();
    }
    return nullptr;
}

template <typename Action>
void CSoundPlayer::forEachPlaying(int32_t group, Action action) {
    for (const CRefPointer<SoundCue>& instance : m_playing) {
        if (group == -1 || instance->getGroup() == group)
            action(*instance);
    }
}

void CSoundPlayer::stopGroup(int32_t group) {
    forEachPlaying(group, [](SoundCue& instance) { instance.stop(0); });
}

void CSoundPlayer::setGroupPaused(bool paused, int32_t group) {
    if (group != -1)
        getGroupSettings(group).paused = paused;
    forEachPlaying(group, [paused](SoundCue& instance) { instance.setPaused(paused); });
}

float CSoundPlayer::getGroupVolume(int32_t group) {
    return getGroupSettings(group).volume;
}

void CSoundPlayer::setGroupVolume(float volume, int32_t group) {
    getGroupSettings(group).volume = volume;
    for (const auto& entry : m_cues) {
        if (group == -1 || entry.value->getGroup() == group)
            entry.value->applyVolume();
    }
    forEachPlaying(group, [](SoundCue& instance) { instance.applyVolume(); });
}

SoundGroupSettings& CSoundPlayer::getGroupSettings(int32_t group) {
    return m_groups[group];
}

bool CSoundPlayer::addCue(CRefPointer<SoundCue> cue) {
    if (!cue || m_cues.find(cue->getName()) != m_cues.end())
        return false;
    cue->setPlayer(this);
    cue->applyVolume();
    const CNameId name = cue->getName();
    m_cues.insert(name, std::move(cue));
    return true;
}

// Copies that a caller still holds would otherwise play on with nobody to update them.
void CSoundPlayer::removeAllCues() {
    for (const auto& entry : m_cues)
        entry.value->setPlayer(nullptr);
    for (const CRefPointer<SoundCue>& instance : m_playing) {
        instance->stop(0);
        instance->setPlayer(nullptr);
    }
    m_cues.clear();
    m_playing.clear();
}

bool CSoundPlayer::canPlay(const SoundCue& cue) {
    const SoundGroupSettings& settings = getGroupSettings(cue.getGroup());
    if (settings.volume == 0.0f)
        return false;
    if (settings.maxPlaying == 0)
        return true;
    int32_t counted = 0;
    SoundCue* oldest = nullptr;
    for (const CRefPointer<SoundCue>& instance : m_playing) {
        if (instance->getGroup() != cue.getGroup() || !instance->hasCurrentSound() ||
            instance->getFadeState() == SoundCue::kFadingOut)
            continue;
        if (!oldest)
            oldest = instance.get();
        ++counted;
    }
    if (counted < settings.maxPlaying)
        return true;
    if (settings.overflowPolicy == SoundGroupSettings::kRefuseNew)
        return false;
    if (settings.overflowPolicy == SoundGroupSettings::kReplaceOldest && oldest)
        oldest->stop(settings.fadeOutMs);
    return true;
}

void CSoundPlayer::addPlayingInstance(CRefPointer<SoundCue> instance) {
    if (instance)
        m_playing.append(std::move(instance));
}

// Finished copies leave the list in place, so the later ones keep their order.
bool CSoundPlayer::update(CEvent& event) {
    const uint32_t elapsed = static_cast<CEventSystemFlowUpdate&>(event).getElapsedMs();
    for (uint32_t i = 0; i < m_playing.size();) {
        const CRefPointer<SoundCue> instance = m_playing[i];
        instance->update(elapsed);
        if (instance->hasCurrentSound()) {
            ++i;
        } else {
            instance->setPlayer(nullptr);
            m_playing.eraseAt(i);
        }
    }
    return false;
}

bool CSoundPlayer::onAudioDriverRemoved(CEvent&) {
    m_driver.reset();
    return false;
}

bool CSoundPlayer::onAudioDriverCreated(CEvent& event) {
    CServiceReference<IAudioDriver> driver =
        static_cast<CEventAudioDriverCreated&>(event).getDriver();
    m_driver = std::move(driver).toRefPointer();
    return false;
}
