#include "engine/audio/StreamedSoundSource.h"

#include <mutex>
#include <utility>

#include "engine/audio/AlSoundBuffer.h"
#include "engine/audio/OpenALAudioDriver.h"
#include "engine/core/Logger.h"

CStreamedSoundSource::CStreamedSoundSource(const CContentKey& key,
                                           CRefPointer<COpenALAudioDriver> driver,
                                           CRefPointer<CSoundDecoder> decoder,
                                           uint32_t samplesPerBuffer)
    : CSoundSource(key), m_driver(std::move(driver)), m_decoder(std::move(decoder)),
      m_samplesPerBuffer(samplesPerBuffer) {
    setHandOutMode(kNeverCached);
    m_format = openALFormatOf(m_decoder->getSampleType());
    if (!m_driver->takeFreeBuffers(kBufferCount, m_buffers)) {
        for (ALuint& buffer : m_buffers)
            buffer = 0;
    }
}

// Out of the driver's lists first, so that no refill can reach the source any more.
CStreamedSoundSource::~CStreamedSoundSource() {
    if (m_registered)
        m_driver->removeStream(this);
    if (m_source != 0) {
        alSourceStop(m_source);
        alSourcei(m_source, AL_BUFFER, 0);
        m_driver->returnSource(m_source);
    }
    ALuint owned[kBufferCount];
    uint32_t count = 0;
    for (const ALuint buffer : m_buffers) {
        if (buffer != 0)
            owned[count++] = buffer;
    }
    m_driver->returnBuffers(count, owned);
    delete[] m_samples;
}

CRefPointer<CContent> CStreamedSoundSource::makeCopy() const {
    IPropertyContentSource* owner = getContentSource();
    if (!owner)
        return nullptr;
    const CRefPointer<IPropertyContent> loaded =
        owner->loadContent(kContentType, getContentName(), false);
    CRefPointer<CSoundSource> copy =
        CRefPointer<CSoundSource>::share(dynamic_cast<CSoundSource*>(loaded.get()));
    if (!copy)
        return nullptr;
    copy->setVolume(m_volume);
    copy->setLooping(m_looping);
    return copy;
}

int32_t CStreamedSoundSource::getState() const {
    const std::lock_guard<CMutex> lock(m_driver->getActiveStreamLock());
    if (m_source == 0)
        return kStopped;
    return m_paused ? kPaused : (m_playing ? kPlaying : kStopped);
}

bool CStreamedSoundSource::play() {
    if (!m_decoder || m_format == 0) {
        CLogger::instance()->logChars("Failed to play streamed sound", CLogger::LevelError);
        return false;
    }
    // The source is taken before the source is registered, so no refill sees it change.
    if (m_source == 0) {
        m_source = m_driver->takeFreeSource();
        if (m_source == 0)
            return false;
    }
    {
        const std::lock_guard<CMutex> lock(m_driver->getActiveStreamLock());
        stopLocked();
        alSourcef(m_source, AL_GAIN, m_volume);
        alSourcei(m_source, AL_LOOPING, AL_FALSE);
        if (!m_decoder->rewind())
            return false;
        m_playing = true;
        m_paused = false;
        m_startPending = true;
    }
    // Outside the active-stream lock: the pending lock is never taken inside it.
    if (!m_registered) {
        m_driver->addPendingStream(this);
        m_registered = true;
    }
    return true;
}

void CStreamedSoundSource::stop() {
    const std::lock_guard<CMutex> lock(m_driver->getActiveStreamLock());
    stopLocked();
}

void CStreamedSoundSource::stopLocked() {
    if (m_source == 0)
        return;
    m_playing = false;
    m_paused = false;
    alSourceStop(m_source);
    alSourcei(m_source, AL_BUFFER, 0);
}

void CStreamedSoundSource::setPaused(bool paused) {
    const std::lock_guard<CMutex> lock(m_driver->getActiveStreamLock());
    m_paused = paused;
    if (m_source == 0)
        return;
    if (paused)
        alSourcePause(m_source);
    else if (m_playing)
        alSourcePlay(m_source);
}

void CStreamedSoundSource::setVolume(float volume) {
    const std::lock_guard<CMutex> lock(m_driver->getActiveStreamLock());
    m_volume = volume;
    if (m_source != 0)
        alSourcef(m_source, AL_GAIN, volume);
}

void CStreamedSoundSource::setLooping(bool looping) {
    const std::lock_guard<CMutex> lock(m_driver->getActiveStreamLock());
    m_looping = looping;
}

void CStreamedSoundSource::refill() {
    if (m_startPending)
        startQueue();
    else
        requeueProcessed();
    ALint state = AL_STOPPED;
    ALint queued = 0;
    alGetSourcei(m_source, AL_SOURCE_STATE, &state);
    alGetSourcei(m_source, AL_BUFFERS_QUEUED, &queued);
    if (!m_playing && state == AL_STOPPED && queued == 0)
        stopLocked();
}

void CStreamedSoundSource::startQueue() {
    m_startPending = false;
    if (!m_samples)
        m_samples = new uint8_t[size_t(m_samplesPerBuffer) * m_decoder->getFrameBytes()];
    for (const ALuint buffer : m_buffers) {
        if (!queue(buffer))
            break;
    }
    if (!m_paused)
        alSourcePlay(m_source);
}

void CStreamedSoundSource::requeueProcessed() {
    ALint state = AL_STOPPED;
    ALint processed = 0;
    alGetSourcei(m_source, AL_SOURCE_STATE, &state);
    alGetSourcei(m_source, AL_BUFFERS_PROCESSED, &processed);
    bool requeued = false;
    for (ALint i = 0; i < processed; ++i) {
        ALuint buffer = 0;
        alSourceUnqueueBuffers(m_source, 1, &buffer);
        if (!queue(buffer) || requeued)
            continue;
        requeued = true;
        // The queue ran dry before this refill: start again.
        if (state == AL_STOPPED)
            alSourcePlay(m_source);
    }
    ALint queued = 0;
    alGetSourcei(m_source, AL_BUFFERS_QUEUED, &queued);
    if (!requeued && queued == 0)
        m_playing = false;
}

// A looping sound wraps inside the buffer; a read that gives nothing right after a rewind ends
// the fill, so an empty or broken decoder cannot hold the update thread.
bool CStreamedSoundSource::fill() {
    m_sampleCount = m_decoder->read(m_samples, m_samplesPerBuffer);
    const uint32_t frameBytes = m_decoder->getFrameBytes();
    while (m_sampleCount < m_samplesPerBuffer && m_looping) {
        if (!m_decoder->rewind())
            break;
        const uint32_t got = m_decoder->read(m_samples + size_t(m_sampleCount) * frameBytes,
                                             m_samplesPerBuffer - m_sampleCount);
        if (got == 0)
            break;
        m_sampleCount += got;
    }
    return m_sampleCount > 0;
}

bool CStreamedSoundSource::queue(ALuint buffer) {
    if (buffer == 0 || !fill())
        return false;
    clearAlErrors();
    alBufferData(buffer, m_format, m_samples,
                 ALsizei(size_t(m_sampleCount) * m_decoder->getFrameBytes()),
                 ALsizei(m_decoder->getFrequency()));
    // A buffer OpenAL refused would play what it held before.
    if (!checkAlUpload())
        return false;
    alSourceQueueBuffers(m_source, 1, &buffer);
    return true;
}
