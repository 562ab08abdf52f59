#include "engine/audio/StaticSoundSource.h"

#include <utility>

#include "engine/audio/OpenALAudioDriver.h"

CStaticSoundSource::CStaticSoundSource(const CContentKey& key,
                                       CRefPointer<COpenALAudioDriver> driver,
                                       CRefPointer<CAlSoundBuffer> buffer)
    : CSoundSource(key), m_driver(std::move(driver)), m_buffer(std::move(buffer)) {}

CStaticSoundSource::~CStaticSoundSource() {
    stop();
}

CRefPointer<CContent> CStaticSoundSource::makeCopy() const {
    CRefPointer<CStaticSoundSource> copy(
        new CStaticSoundSource(getContentKey(), m_driver, m_buffer));
    copy->m_volume = m_volume;
    copy->m_looping = m_looping;
    return copy;
}

int32_t CStaticSoundSource::getState() const {
    if (m_source == 0)
        return kStopped;
    ALint state = AL_STOPPED;
    alGetSourcei(m_source, AL_SOURCE_STATE, &state);
    return state == AL_PLAYING ? kPlaying : (state == AL_PAUSED ? kPaused : kStopped);
}

bool CStaticSoundSource::play() {
    if (m_buffer->getName() == 0)
        return false;
    if (m_source == 0) {
        m_source = m_driver->takeFreeSource();
        if (m_source == 0)
            return false;
        alSourcei(m_source, AL_BUFFER, ALint(m_buffer->getName()));
        alSourcef(m_source, AL_GAIN, m_volume);
        alSourcei(m_source, AL_LOOPING, m_looping ? AL_TRUE : AL_FALSE);
        alSourcefv(m_source, AL_POSITION, m_position);
    }
    alSourcePlay(m_source);
    return true;
}

void CStaticSoundSource::stop() {
    if (m_source == 0)
        return;
    alSourceStop(m_source);
    alSourcei(m_source, AL_BUFFER, 0);
    m_driver->returnSource(std::exchange(m_source, 0));
}

void CStaticSoundSource::setPaused(bool paused) {
    if (m_source == 0)
        return;
    if (paused)
        alSourcePause(m_source);
    else
        alSourcePlay(m_source);
}

void CStaticSoundSource::setVolume(float volume) {
    m_volume = volume;
    if (m_source != 0)
        alSourcef(m_source, AL_GAIN, volume);
}

void CStaticSoundSource::setLooping(bool looping) {
    m_looping = looping;
    if (m_source != 0)
        alSourcei(m_source, AL_LOOPING, looping ? AL_TRUE : AL_FALSE);
}
