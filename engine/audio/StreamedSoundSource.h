#pragma once

#include <AL/al.h>
#include <cstdint>

#include "engine/audio/SoundDecoder.h"
#include "engine/audio/SoundSource.h"
#include "engine/core/RefPointer.h"

class COpenALAudioDriver;

// A sound decoded while it plays: four pooled OpenAL buffers of samplesPerBuffer frames cycle
// through one OpenAL source, refilled by the driver's stream update. Looping rewinds the
// decoder. The content manager never caches it: every load makes a new one with its own
// decoder. Whatever a refill reads is changed only under the driver's active-stream lock.
class CStreamedSoundSource : public CSoundSource {
public:
    static constexpr uint32_t kBufferCount = 4;

    CStreamedSoundSource(const CContentKey& key, CRefPointer<COpenALAudioDriver> driver,
                         CRefPointer<CSoundDecoder> decoder, uint32_t samplesPerBuffer);

    // Loads the same name again through the content manager that loaded this one.
    CRefPointer<CContent> makeCopy() const override;
    int32_t getState() const override;
    // Starts from the first frame at the driver's next stream update.
    bool play() override;
    void stop() override;
    void setPaused(bool paused) override;
    float getVolume() const override { return m_volume; }
    void setVolume(float volume) override;
    bool isLooping() const override { return m_looping; }
    void setLooping(bool looping) override;

    // Called by the stream update with the active-stream lock held.
    bool isPlaying() const { return m_playing; }
    void refill();

private:
    ~CStreamedSoundSource() override;

    // With the active-stream lock held.
    void stopLocked();
    void startQueue();
    void requeueProcessed();
    // Fills the sample buffer; false when it stays empty.
    bool fill();
    bool queue(ALuint buffer);

    CRefPointer<COpenALAudioDriver> m_driver;
    bool m_registered = false;
    ALuint m_source = 0;
    ALenum m_format = 0;
    ALuint m_buffers[kBufferCount] = {};
    CRefPointer<CSoundDecoder> m_decoder;
    uint8_t* m_samples = nullptr;
    uint32_t m_sampleCount = 0;
    uint32_t m_samplesPerBuffer;
    float m_volume = 1.0f;
    bool m_looping = false;
    bool m_playing = false;
    bool m_paused = false;
    bool m_startPending = false;
};
