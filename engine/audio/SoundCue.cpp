#include "engine/audio/SoundCue.h"

#include <cmath>

#include "engine/audio/SoundPlayer.h"
#include "engine/core/EngineServices.h"
#include "engine/core/Random.h"
#include "engine/io/ContentManager.h"

namespace {

constexpr uint32_t kCueCategory = 64;

// Holds the driver's streaming threshold at 0 (type 1, stream everything) or at 0xFFFFFFFF
// (type 2, upload everything) while a cue loads its sounds, and restores it however the
// cue's element ends.
class CStreamingOverride {
public:
    CStreamingOverride(IAudioDriver* driver, int32_t streamingType)
        : m_driver(streamingType == 1 || streamingType == 2 ? driver : nullptr) {
        if (!m_driver)
            return;
        m_saved = m_driver->getStreamingThreshold();
        m_driver->setStreamingThreshold(streamingType == 1 ? 0 : 0xFFFFFFFFu);
    }
    ~CStreamingOverride() {
        if (m_driver)
            m_driver->setStreamingThreshold(m_saved);
    }
    CStreamingOverride(const CStreamingOverride&) = delete;
    CStreamingOverride& operator=(const CStreamingOverride&) = delete;

private:
    IAudioDriver* m_driver;
    uint32_t m_saved = 0;
};

} // namespace

SoundCue::SoundCue(CNameId name) : m_name(name) {
    setCategoryMask(kCueCategory);
}

void SoundCue::readXml(CXmlTextReader& reader, CContentManager& manager, IAudioDriver* driver) {
    m_group = reader.getAttributeInt(u"GroupID", -1);
    m_volume = reader.getAttributeFloat(u"Vol", 1.0f);
    m_effectiveVolume = m_volume;
    m_loop = reader.getAttribute(u"Loop") == u"true";
    const CStreamingOverride streaming(driver, reader.getAttributeInt(u"StreamingType", 0));
    // A cue written as one tag has no sounds; reading on would take the next cue's.
    if (reader.isEmptyElement())
        return;
    while (reader.readNext()) {
        if (reader.nodeKind() == CXmlTextReader::kEndElement && reader.nodeName() == u"SoundCue")
            return;
        if (reader.nodeKind() != CXmlTextReader::kElement || reader.nodeName() != u"Sound")
            continue;
        const CRefPointer<CContent> content =
            manager.load(CSoundSource::kContentType, reader.getAttribute(u"Filename"), true);
        if (CSoundSource* source = dynamic_cast<CSoundSource*>(content.get()))
            m_sounds.append(CRefPointer<CSoundSource>::share(source));
    }
}

CRefPointer<SoundCue> SoundCue::play(int32_t fadeInMs) {
    if (!m_player || !m_player->canPlay(*this))
        return nullptr;
    CRefPointer<SoundCue> copy = clone(m_player);
    if (!copy->pickAndPlay(-1))
        return nullptr;
    if (fadeInMs > 0) {
        copy->m_fadeDuration = fadeInMs;
        copy->m_fadePosition = 0;
        copy->m_fadeState = kFadingIn;
        copy->setCurrentVolume(0.0f);
    }
    if (m_player->getGroupSettings(m_group).paused)
        copy->setPaused(true);
    m_player->addPlayingInstance(copy);
    return copy;
}

void SoundCue::stop(int32_t fadeOutMs) {
    CSoundSource* source = currentSource();
    if (!source)
        return;
    if (fadeOutMs > 0 && m_elapsedMs >= kMinPlayedBeforeFadeOutMs &&
        source->getState() != CSoundSource::kPaused) {
        if (m_fadeState == kNoFade) {
            m_fadePosition = fadeOutMs;
            m_fadeDuration = fadeOutMs;
        } else if (m_fadeState == kFadingIn) {
            // Fade out from the level the fade-in reached.
            const double ratio = m_fadeDuration > 0 ? double(m_fadePosition) / m_fadeDuration : 1.0;
            m_fadeDuration = fadeOutMs;
            m_fadePosition = int32_t(std::floor(fadeOutMs * ratio));
        }
        m_fadeState = kFadingOut;
        return;
    }
    clearCurrentSound();
    m_fadeState = kNoFade;
}

void SoundCue::setPaused(bool paused) {
    if (CSoundSource* source = currentSource())
        source->setPaused(paused);
}

int32_t SoundCue::getState() const {
    const CSoundSource* source = currentSource();
    if (!source)
        return 0;
    return source->getState() == CSoundSource::kPaused ? 1 : 2;
}

// A sound that ends during a fade is only noticed after the fade.
void SoundCue::update(uint32_t elapsedMs) {
    CSoundSource* source = currentSource();
    if (!source)
        return;
    m_elapsedMs += elapsedMs;
    switch (m_fadeState) {
    case kNoFade:
        if (source->getState() == CSoundSource::kStopped) {
            const int32_t ended = m_current;
            clearCurrentSound();
            if (m_loop)
                pickAndPlay(ended);
        }
        break;
    case kFadingIn:
        m_fadePosition += int32_t(elapsedMs);
        if (m_fadePosition < m_fadeDuration) {
            setCurrentVolume(fadedVolume());
        } else {
            setCurrentVolume(m_effectiveVolume);
            m_fadeState = kNoFade;
        }
        break;
    case kFadingOut:
        m_fadePosition -= int32_t(elapsedMs);
        if (m_fadePosition > 0) {
            setCurrentVolume(fadedVolume());
        } else {
            clearCurrentSound();
            m_fadeState = kNoFade;
        }
        break;
    }
}

void SoundCue::applyVolume() {
    float volume = m_volume;
    if (m_player) {
        volume *= m_player->getGroupVolume(-1);
        if (m_group != -1)
            volume *= m_player->getGroupVolume(m_group);
    }
    m_effectiveVolume = volume;
    // A sound in the middle of a fade keeps its place in the fade.
    for (uint32_t i = 0; i < m_sounds.size(); ++i)
        m_sounds[i]->setVolume(int32_t(i) == m_current && m_fadeState != kNoFade ? fadedVolume()
                                                                                 : volume);
}

float SoundCue::fadedVolume() const {
    return m_effectiveVolume * float(m_fadePosition) / float(m_fadeDuration);
}

CRefPointer<SoundCue> SoundCue::clone(CSoundPlayer* player) const {
    CRefPointer<SoundCue> copy(new SoundCue(m_name));
    copy->m_player = player;
    copy->m_group = m_group;
    copy->m_volume = m_volume;
    copy->m_loop = m_loop;
    for (const CRefPointer<CSoundSource>& sound : m_sounds) {
        const CRefPointer<CContent> content = sound->makeCopy();
        if (CSoundSource* source = dynamic_cast<CSoundSource*>(content.get()))
            copy->m_sounds.append(CRefPointer<CSoundSource>::share(source));
    }
    copy->applyVolume();
    return copy;
}

CSoundSource* SoundCue::currentSource() const {
    return m_current >= 0 ? m_sounds[uint32_t(m_current)].get() : nullptr;
}

bool SoundCue::pickAndPlay(int32_t ended) {
    const uint32_t count = m_sounds.size();
    if (count == 0)
        return false;
    uint32_t index = 0;
    if (count == 1) {
        m_sounds[0]->setLooping(m_loop);
    } else {
        CRandom& random = *CEngineServices::instance()->getRandom();
        if (ended >= 0) {
            index = random.next() % (count - 1);
            if (index == uint32_t(ended))
                index = count - 1;
        } else {
            index = random.next() % count;
        }
    }
    if (!m_sounds[index]->play())
        return false;
    m_current = int32_t(index);
    return true;
}

// The source goes back to the driver's pool with it.
void SoundCue::clearCurrentSound() {
    if (CSoundSource* source = currentSource())
        source->stop();
    m_current = -1;
}

void SoundCue::setCurrentVolume(float volume) {
    if (CSoundSource* source = currentSource())
        source->setVolume(volume);
}
